// Paints the two messages with the stroke font in window pixels (each half of the texture covers
// 1024 x 384 of them), with a dark outline so they read over stars and cockpit alike.
#include "tools/datagen/InfoTexture.h"

#include "tools/datagen/ByteSink.h"
#include "tools/datagen/Canvas.h"
#include "tools/datagen/StrokeFont.h"
#include "tools/datagen/TgaWriter.h"

#include <algorithm>
#include <vector>

namespace {

const int kWidth = 1024, kHeight = 512;
const float kAreaWidth = 1024.0f, kAreaHeight = 384.0f; // window pixels covered by one half

struct Message {
    std::vector<StrokeText> lines;
    float thickness; // stroke half-width, pixels
    Colour top, bottom;
    float minY, maxY; // vertical extent of the letters for the colour ramp
};

StrokeText centredLine(const std::string& text, float baseline, float height) {
    return StrokeText(text, (kAreaWidth - StrokeText::widthFor(text, height)) / 2, baseline,
                      height);
}

// Two words one above the other, as the level's and the campaign's ends say them.
Message twoLines(const std::string& upper, const std::string& lower, Colour top, Colour bottom) {
    Message message;
    message.lines.push_back(centredLine(upper, 214, 100));
    message.lines.push_back(centredLine(lower, 70, 100));
    message.thickness = 8.0f;
    message.top = top;
    message.bottom = bottom;
    message.minY = 70;
    message.maxY = 314;
    return message;
}

void paintHalf(Canvas& canvas, int firstRow, const Message& message) {
    const float outline = 4.0f;
    for (int row = 0; row < kHeight / 2; ++row) {
        float y = (static_cast<float>(row) + 0.5f) * kAreaHeight / (kHeight / 2);
        for (int col = 0; col < kWidth; ++col) {
            float x = (static_cast<float>(col) + 0.5f) * kAreaWidth / kWidth;
            float d = 1e30f;
            for (const StrokeText& line : message.lines) {
                d = std::min(d, line.distance(x, y));
            }
            if (d < message.thickness) {
                float t =
                    std::clamp((y - message.minY) / (message.maxY - message.minY), 0.0f, 1.0f);
                Colour c = mixColour(message.bottom, message.top, t);
                // A lighter centre line gives the strokes some body.
                c = c + Colour{0.25f, 0.25f, 0.25f} *
                            std::max(0.0f, 1.0f - d / (0.4f * message.thickness));
                c.a = 1;
                canvas.at(col, firstRow + row) = c;
            } else if (d < message.thickness + outline) {
                canvas.at(col, firstRow + row) = {0.03f, 0.03f, 0.05f, 1};
            }
        }
    }
}

// The HUD instruments are drawn after a message with its texture still bound, at the message's
// last texture coordinate: (0, 0.5) after the lower half (texel row h/2) and (0, 1) after the
// upper half (row 0 with repeat wrapping). Those texels are opaque white so the instruments keep
// their colours; the neighbours cover linear filtering.
void whiteCorners(Canvas& canvas) {
    for (int col : {0, kWidth - 1}) {
        for (int row : {0, kHeight / 2 - 1, kHeight / 2, kHeight - 1}) {
            canvas.at(col, row) = {1, 1, 1, 1};
        }
    }
}

} // namespace

bool writeCampaignTexture(const std::string& runDir) {
    Canvas canvas(kWidth, kHeight, {0, 0, 0, 0});
    paintHalf(canvas, 0,
              twoLines("CAMPAIGN", "COMPLETE", {1.0f, 0.9f, 0.45f}, {0.85f, 0.5f, 0.05f}));
    whiteCorners(canvas);
    return saveFile(runDir + "/" + kCampaignTexture, encodeTga(canvas.toImage(4), true));
}

bool writeInfoTexture(const std::string& runDir) {
    Canvas canvas(kWidth, kHeight, {0, 0, 0, 0});

    paintHalf(canvas, 0, twoLines("LEVEL", "COMPLETE", {0.55f, 1.0f, 0.65f}, {0.05f, 0.6f, 0.35f}));

    Message gameOver;
    gameOver.lines.push_back(centredLine("GAME OVER", 140, 100));
    gameOver.thickness = 10.0f;
    gameOver.top = {1.0f, 0.6f, 0.25f};
    gameOver.bottom = {0.75f, 0.05f, 0.05f};
    gameOver.minY = 140;
    gameOver.maxY = 240;
    paintHalf(canvas, kHeight / 2, gameOver);

    whiteCorners(canvas);
    return saveFile(runDir + "/" + kInfoTexture, encodeTga(canvas.toImage(4), true));
}
