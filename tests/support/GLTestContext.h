// Test fixture with a real GL context: an off-screen 1024 x 768 RGBA pbuffer with a 16-bit depth
// buffer on Mesa's software rasteriser. One context serves the whole test executable.
#pragma once

#include "platform/HeadlessContext.h"
#include "platform/Platform.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class GLTest : public ::testing::Test {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;
    // The game's camera: 45-degree perspective to 12000 units, eye at the origin looking down -z.
    static void gameCamera() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, double(kWidth) / kHeight, 1.0, 12000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

protected:
    // Makes the shared context current and resets the GL state tests commonly touch.
    void SetUp() override {
        // Created once and kept for the life of the test process: llvmpipe contexts are slow.
        static platform::HeadlessContext* context = [] {
            auto* c = new platform::HeadlessContext();
            if (!c->create(kWidth, kHeight)) {
                ADD_FAILURE() << "headless GL context: " << c->error();
            }
            return c;
        }();
        ASSERT_TRUE(context->isValid()) << context->error();
        ASSERT_TRUE(context->makeCurrent());
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        for (GLenum capability :
             {GL_LIGHTING, GL_LIGHT0, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_CULL_FACE, GL_BLEND,
              GL_ALPHA_TEST, GL_SCISSOR_TEST, GL_POINT_SMOOTH}) {
            glDisable(capability);
        }
        glBlendFunc(GL_ONE, GL_ZERO);
        glAlphaFunc(GL_ALWAYS, 0.0f);
        glPointSize(1.0f);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void TearDown() override {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "a GL error was left behind";
    }

    // Reads the colour buffer back, bottom row first, 4 bytes (RGBA) per pixel.
    std::vector<std::uint8_t> readPixels() const {
        std::vector<std::uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    // One pixel's RGBA at window coordinates from the bottom-left corner.
    std::uint32_t pixelAt(int x, int y) const {
        std::uint8_t p[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) |
               (std::uint32_t(p[2]) << 8) | p[3];
    }
};

// Collects debug-channel output while alive.
class DebugCapture {
public:
    DebugCapture() {
        platform::setDebugObserver([this](const char* text) { text_ += text; });
    }
    ~DebugCapture() { platform::setDebugObserver(nullptr); }
    const std::string& text() const { return text_; }
    bool contains(const std::string& needle) const {
        return text_.find(needle) != std::string::npos;
    }
    // How often the text appears.
    int count(const std::string& needle) const {
        int n = 0;
        for (auto at = text_.find(needle); at != std::string::npos;
             at = text_.find(needle, at + 1)) {
            ++n;
        }
        return n;
    }

private:
    std::string text_;
};

// How many pixels of a read-back frame are not black.
inline int litPixels(const std::vector<std::uint8_t>& rgba) {
    int lit = 0;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        lit += (rgba[i] | rgba[i + 1] | rgba[i + 2]) != 0;
    }
    return lit;
}

} // namespace testsupport
