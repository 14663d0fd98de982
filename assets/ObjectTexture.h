// Turns BMP, TGA and JPEG files into GL textures with one of three filter modes, and holds the
// texture of one file for the sky, the effects and the cockpit overlays.
#pragma once

#include "assets/PixelImage.h"

#include <optional>
#include <string>
#include <vector>

// Filter modes as the container holds them in iTextureFilter; any other value means point.
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
    // Creates, binds (and leaves bound) and fills one texture object; format is GL_RGB or
    // GL_RGBA, rows bottom row first and tightly packed.
    static unsigned CreateGLTexture(int filterMode, unsigned format, int width, int height,
                                    const unsigned char* pixels);
    // Binds the texture and reads back its level-0 alpha as GL holds it, bottom row first and
    // tightly packed, with its size; empty for a texture without texels.
    static std::vector<unsigned char> ReadAlpha(unsigned texture, int& width, int& height);

    // Reads a BMP file to RGB, logging the attempt; nothing if it cannot be read.
    static std::optional<PixelImage> LoadBMP(const char* fileName);
    static unsigned LoadBMPTexture(const char* fileName, int filterMode);
    // TGA problems are shown in message boxes; the game goes on with texture 0.
    static unsigned LoadTGATexture(const char* fileName, int filterMode);
    static unsigned LoadJPEGTexture(const char* fileName, int filterMode);
    // Stores the texture made from the file in textures[index]; leaves it alone on failure.
    static void CreateJPEGTexture(unsigned* textures, const char* fileName, int index,
                                  int filterMode);
    // A missing file shows a message box, an undecodable one a debug line; nothing in both.
    static std::optional<PixelImage> ReadJPEGFile(const char* fileName);

private:
    unsigned texture = 0;
    std::string fileName;
};
