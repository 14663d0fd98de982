// Bitmap-font text for the debug lines: a bold monospaced face rendered once into 96 display
// lists (character codes 32 to 127), printed at a raster position in the current colour.
#pragma once

#include <string>
#include <vector>

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

    // Batched, the letters are queued as quads from one glyph texture, placed and coloured
    // exactly as the glyph lists would draw them, until flush draws them all at once.
    void setBatched(bool batched) { bBatched = batched; }
    // Draws the queued letters (depth and alpha tests as the bitmaps meet them) and empties the
    // queue; leaves the GL state as it found it.
    void flush();

    // How far the text moves the raster position, in pixels (characters the font has no glyph
    // for move it nowhere), for lines placed by their width.
    float textWidth(const char* text) const;

    unsigned getListBase() const { return iListBase; }
    // Letter height in pixels the glyphs were rendered at (0 means the face's default size).
    int getPixelHeight() const { return iPixelHeight; }

    // The font file for a bold face of the family, or of any bold monospaced face when the
    // family is not installed (logged); "" when there is none at all.
    static std::string findFontFile(const char* family);

private:
    // Where a glyph lies in the texture and how glBitmap would place it.
    struct Glyph {
        bool drawn = false; // a glyph list was made (also an empty one that only advances)
        int width = 0;      // pixels
        int rows = 0;
        int atlasX = 0; // texels from the texture's left edge
        float xorig = 0.0f;
        float yorig = 0.0f;
        float advance = 0.0f;
    };

    void build();
    void queue(const unsigned char* codes, int count);

    std::vector<Glyph> glyphs;
    std::vector<unsigned char> atlasTexels; // alpha, one row of glyphs, bottom row first
    int iAtlasWidth = 0;
    int iAtlasHeight = 0;
    unsigned iAtlasTexture = 0; // made on the first flush
    bool bBatched = false;
    std::vector<float> quads; // s, t, r, g, b, a, x, y, z per corner (window pixels)

    unsigned iListBase = 0;
    int iWindowHeight = 0;
    float fSizePercent;
    int iPixelHeight = 0;
};
