// Bitmap-font text for the debug lines: a bold monospaced face rendered once into 96 display
// lists (character codes 32 to 127), printed at a raster position in the current colour.
#pragma once

#include <string>

class BitmapFont {
public:
    // Builds the glyph lists with the GL context current; the letters are sizePercent of the
    // window height tall.
    BitmapFont(float sizePercent, int windowHeight);
    ~BitmapFont();
    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    // printf-style text drawn from raster position (x, y). A null format draws nothing. Text
    // beyond 255 characters is cut; characters outside 32 to 127 are left out.
    void print(float x, float y, const char* format, ...) __attribute__((format(printf, 4, 5)));

    unsigned getListBase() const { return iListBase; }
    // Letter height in pixels the glyphs were rendered at (0 means the face's default size).
    int getPixelHeight() const { return iPixelHeight; }

    // The font file for a bold face of the family, or of any bold monospaced face when the
    // family is not installed (logged); "" when there is none at all.
    static std::string findFontFile(const char* family);

private:
    void build();

    unsigned iListBase = 0;
    int iWindowHeight = 0;
    float fSizePercent;
    int iPixelHeight = 0;
};
