// Turns BMP, TGA and JPEG files into GL textures with one of three filter modes, and holds the
// texture of one file for the sky, the effects and the cockpit overlays.
#pragma once

#include <memory>
#include <string>

// Filter modes as the container holds them in iTextureFilter.
const int kFilterPoint = 0;
const int kFilterBilinear = 1;
const int kFilterTrilinearMipmap = 2;

class ObjectTexture {
public:
    explicit ObjectTexture(const char* fileName);

    // Loads the file with the container's current filter; nonzero GL texture name on success.
    unsigned createTexture();
    unsigned getTextureId() const { return texture; }
    const std::string& getFileName() const { return fileName; }

    // Picks the loader by the extension after the last '.'; 0 on failure or no extension.
    static unsigned LoadTexture(const char* fileName, int filterMode);
    // Creates, binds and fills one texture object; format is GL_RGB or GL_RGBA.
    static unsigned CreateGLTexture(int filterMode, unsigned format, int width, int height,
                                    const unsigned char* pixels);
    static unsigned LoadBMPTexture(const char* fileName, int filterMode);
    static unsigned LoadTGATexture(const char* fileName, int filterMode);
    static unsigned LoadJPEGTexture(const char* fileName, int filterMode);

private:
    unsigned texture = 0;
    std::string fileName;
};
