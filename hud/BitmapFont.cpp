// BitmapFont: fontconfig picks the face, FreeType renders each glyph as a 1-bit bitmap, and each
// display list draws one glyph with glBitmap, which also advances the raster position.
#include "hud/BitmapFont.h"

#include "platform/Platform.h"

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

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
    for (int i = 0; i < kGlyphCount; ++i) {
        glNewList(iListBase + i, GL_COMPILE);
        if (face != nullptr &&
            FT_Load_Char(face, kFirstChar + i, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0 &&
            face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            const FT_GlyphSlot glyph = face->glyph;
            const std::vector<GLubyte> bits = bottomUpRows(glyph->bitmap);
            const float xorig = static_cast<float>(-glyph->bitmap_left);
            const float yorig =
                static_cast<float>(static_cast<int>(glyph->bitmap.rows) - glyph->bitmap_top);
            const float advance = static_cast<float>((glyph->advance.x + 32) >> 6);
            glBitmap(static_cast<GLsizei>(glyph->bitmap.width),
                     static_cast<GLsizei>(glyph->bitmap.rows), xorig, yorig, advance, 0.0f,
                     bits.data());
        }
        glEndList();
    }
    glPopClientAttrib();

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
    glPushAttrib(GL_LIST_BIT);
    glListBase(iListBase - kFirstChar);
    glCallLists(count, GL_UNSIGNED_BYTE, drawable);
    glPopAttrib();
}
