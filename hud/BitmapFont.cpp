// BitmapFont: fontconfig picks the face, FreeType renders each glyph as a 1-bit bitmap, and each
// display list draws one glyph with glBitmap, which also advances the raster position.
#include "hud/BitmapFont.h"

#include "platform/Platform.h"

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

const char* const kFontFamily = "Courier New";
const char* const kFallbackFamily = "monospace";
const unsigned char kFirstChar = 32;
const unsigned char kLastChar = 127;
const int kGlyphCount = kLastChar - kFirstChar + 1;
const int kTextBufferSize = 256;    // bytes, terminating zero included
const int kDefaultPixelHeight = 16; // pixels, when the window is too small to give a size
const int kAtlasGap = 1;            // texels between glyphs in the glyph texture
const int kFloatsPerCorner = 9;     // s, t, r, g, b, a, x, y, z
const float kAtlasAlphaCut = 0.5f;  // texels are 0 or 1: the glyph's own bits pass
const float kRasterNudge = 0.0001f; // pixels

int powerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) {
        p *= 2;
    }
    return p;
}

// Asks fontconfig for the best bold face of the family; gives its file and whether it is
// monospaced (fontconfig always answers with some face, often a proportional one).
std::string matchBold(const char* family, bool* monospaced, std::string* matchedFamily) {
    *monospaced = false;
    std::string file;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match != nullptr) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
            file = reinterpret_cast<const char*>(path);
        }
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name != nullptr) {
            *matchedFamily = reinterpret_cast<const char*>(name);
        }
        int spacing = FC_PROPORTIONAL;
        if (FcPatternGetInteger(match, FC_SPACING, 0, &spacing) == FcResultMatch) {
            *monospaced = spacing == FC_MONO;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

// FreeType's mono bitmaps run top row first with a row pitch; glBitmap wants the bottom row
// first, each row packed into whole bytes, most significant bit leftmost.
std::vector<GLubyte> bottomUpRows(const FT_Bitmap& bitmap) {
    const int rowBytes = (static_cast<int>(bitmap.width) + 7) / 8;
    const int rows = static_cast<int>(bitmap.rows);
    std::vector<GLubyte> bits(static_cast<size_t>(rowBytes) * rows + 1, 0);
    for (int row = 0; row < rows; ++row) {
        const unsigned char* source = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        GLubyte* target = bits.data() + static_cast<size_t>(rows - 1 - row) * rowBytes;
        for (int i = 0; i < rowBytes; ++i) {
            target[i] = source[i];
        }
    }
    return bits;
}

} // namespace

BitmapFont::BitmapFont(float sizePercent, int windowHeight) : fSizePercent(sizePercent) {
    iWindowHeight = windowHeight;
    build();
}

BitmapFont::~BitmapFont() {
    if (iListBase != 0) {
        glDeleteLists(iListBase, kGlyphCount);
    }
    if (iAtlasTexture != 0) {
        glDeleteTextures(1, &iAtlasTexture);
    }
}

std::string BitmapFont::findFontFile(const char* family) {
    if (!FcInit()) {
        platform::debugOutput("BitmapFont::findFontFile(): fontconfig failed to start\n");
        return "";
    }
    bool monospaced = false;
    std::string matchedFamily;
    std::string file = matchBold(family, &monospaced, &matchedFamily);
    if (!file.empty() && monospaced) {
        return file;
    }
    // A proportional stand-in would break the columns of the debug lines.
    file = matchBold(kFallbackFamily, &monospaced, &matchedFamily);
    platform::debugPrintf("BitmapFont::findFontFile(): no %s, using %s\n", family,
                          file.empty() ? "nothing" : matchedFamily.c_str());
    return file;
}

void BitmapFont::build() {
    iPixelHeight = static_cast<int>(iWindowHeight * fSizePercent / 100.0f);
    iListBase = glGenLists(kGlyphCount);
    if (iListBase == 0) {
        // No GL context yet (a resize while the window is being made): nothing to build into.
        return;
    }

    FT_Library library = nullptr;
    FT_Face face = nullptr;
    const std::string file = findFontFile(kFontFamily);
    if (FT_Init_FreeType(&library) != 0) {
        platform::debugOutput("BitmapFont::build(): FreeType failed to start\n");
        library = nullptr;
    } else if (file.empty() || FT_New_Face(library, file.c_str(), 0, &face) != 0) {
        platform::debugPrintf("BitmapFont::build(): cannot open font \"%s\"\n", file.c_str());
        face = nullptr;
    } else {
        // A character height, as the game always asked for: the em square, not the line cell.
        const int height = iPixelHeight > 0 ? iPixelHeight : kDefaultPixelHeight;
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(height));
    }

    // glBitmap copies the bits into the list when it is compiled, under the unpack modes of the
    // moment; rows here are tightly packed bytes.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glyphs.assign(kGlyphCount, Glyph());
    std::vector<std::vector<GLubyte>> glyphBits(kGlyphCount);
    int atlasX = 0;
    int atlasRows = 0;
    for (int i = 0; i < kGlyphCount; ++i) {
        glNewList(iListBase + i, GL_COMPILE);
        if (face != nullptr &&
            FT_Load_Char(face, kFirstChar + i, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0 &&
            face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            const FT_GlyphSlot slot = face->glyph;
            Glyph& glyph = glyphs[i];
            glyphBits[i] = bottomUpRows(slot->bitmap);
            glyph.drawn = true;
            glyph.width = static_cast<int>(slot->bitmap.width);
            glyph.rows = static_cast<int>(slot->bitmap.rows);
            glyph.xorig = static_cast<float>(-slot->bitmap_left);
            glyph.yorig = static_cast<float>(glyph.rows - slot->bitmap_top);
            glyph.advance = static_cast<float>((slot->advance.x + 32) >> 6);
            glyph.atlasX = atlasX;
            atlasX += glyph.width + kAtlasGap;
            atlasRows = std::max(atlasRows, glyph.rows);
            glBitmap(glyph.width, glyph.rows, glyph.xorig, glyph.yorig, glyph.advance, 0.0f,
                     glyphBits[i].data());
        }
        glEndList();
    }
    glPopClientAttrib();

    // The same bits side by side in one alpha texture, bottom row first as glBitmap has them.
    iAtlasWidth = powerOfTwoAtLeast(std::max(atlasX, 1));
    iAtlasHeight = powerOfTwoAtLeast(std::max(atlasRows, 1));
    atlasTexels.assign(static_cast<std::size_t>(iAtlasWidth) * iAtlasHeight, 0);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& glyph = glyphs[i];
        const int rowBytes = (glyph.width + 7) / 8;
        for (int row = 0; row < glyph.rows; ++row) {
            for (int x = 0; x < glyph.width; ++x) {
                const GLubyte byte = glyphBits[i][static_cast<std::size_t>(row) * rowBytes + x / 8];
                if ((byte & (0x80 >> (x % 8))) != 0) {
                    atlasTexels[static_cast<std::size_t>(row) * iAtlasWidth + glyph.atlasX + x] =
                        255;
                }
            }
        }
    }

    if (face != nullptr) {
        FT_Done_Face(face);
    }
    if (library != nullptr) {
        FT_Done_FreeType(library);
    }
}

void BitmapFont::print(float x, float y, const char* format, ...) {
    if (format == nullptr) {
        return;
    }
    glRasterPos2f(x, y);

    char text[kTextBufferSize];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written < 0) {
        return;
    }

    // Only codes with a glyph list are called: any other byte would run a foreign display list.
    unsigned char drawable[kTextBufferSize];
    int count = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        const unsigned char code = static_cast<unsigned char>(*c);
        if (code >= kFirstChar && code <= kLastChar) {
            drawable[count++] = code;
        }
    }
    if (count == 0 || iListBase == 0) {
        return;
    }
    if (bBatched) {
        queue(drawable, count);
        return;
    }
    glPushAttrib(GL_LIST_BIT);
    glListBase(iListBase - kFirstChar);
    glCallLists(count, GL_UNSIGNED_BYTE, drawable);
    glPopAttrib();
}

float BitmapFont::textWidth(const char* text) const {
    float width = 0.0f;
    for (const char* c = text; *c != '\0'; ++c) {
        const unsigned char code = static_cast<unsigned char>(*c);
        if (code >= kFirstChar && code <= kLastChar && !glyphs.empty()) {
            width += glyphs[code - kFirstChar].advance;
        }
    }
    return width;
}

void BitmapFont::queue(const unsigned char* codes, int count) {
    GLint valid = GL_FALSE;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (valid != GL_TRUE) {
        return; // glBitmap draws nothing and moves nothing then
    }
    float raster[4];
    float colour[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    float x = raster[0];
    const float width = static_cast<float>(iAtlasWidth);
    const float height = static_cast<float>(iAtlasHeight);
    for (int i = 0; i < count; ++i) {
        const Glyph& glyph = glyphs[codes[i] - kFirstChar];
        if (!glyph.drawn) {
            continue;
        }
        if (glyph.width > 0 && glyph.rows > 0) {
            // glBitmap puts the glyph's lower left corner on these whole pixels (Mesa nudges
            // the raster position up by a hair first, so a position a rounding error short of a
            // pixel edge still counts as on it).
            const float left = std::floor(x + kRasterNudge - glyph.xorig);
            const float bottom = std::floor(raster[1] + kRasterNudge - glyph.yorig);
            const float s0 = static_cast<float>(glyph.atlasX) / width;
            const float s1 = static_cast<float>(glyph.atlasX + glyph.width) / width;
            const float t1 = static_cast<float>(glyph.rows) / height;
            const float corners[4][4] = {{s0, 0.0f, left, bottom},
                                         {s1, 0.0f, left + glyph.width, bottom},
                                         {s1, t1, left + glyph.width, bottom + glyph.rows},
                                         {s0, t1, left, bottom + glyph.rows}};
            for (const auto& corner : corners) {
                quads.insert(quads.end(), {corner[0], corner[1], colour[0], colour[1], colour[2],
                                           colour[3], corner[2], corner[3], raster[2]});
            }
        }
        x += glyph.advance;
    }
}

void BitmapFont::flush() {
    if (quads.empty()) {
        return;
    }
    if (iAtlasTexture == 0) {
        glGenTextures(1, &iAtlasTexture);
        glBindTexture(GL_TEXTURE_2D, iAtlasTexture);
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, iAtlasWidth, iAtlasHeight, 0, GL_ALPHA,
                     GL_UNSIGNED_BYTE, atlasTexels.data());
        glPopClientAttrib();
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_POLYGON_BIT |
                 GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Window pixels, and eye z straight onto window depth, so each letter meets the depth test
    // where its bitmap would.
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], 0.0,
            -1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, iAtlasTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, kAtlasAlphaCut);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_INDEX_ARRAY);
    glDisableClientState(GL_EDGE_FLAG_ARRAY);
    const GLsizei stride = kFloatsPerCorner * sizeof(float);
    glTexCoordPointer(2, GL_FLOAT, stride, quads.data());
    glColorPointer(4, GL_FLOAT, stride, quads.data() + 2);
    glVertexPointer(3, GL_FLOAT, stride, quads.data() + 6);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(quads.size() / kFloatsPerCorner));
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
    quads.clear();
}
