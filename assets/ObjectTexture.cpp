// Texture loading by file extension and the one upload routine every format goes through.
#include "assets/ObjectTexture.h"

#include "assets/BmpReader.h"
#include "assets/FileReader.h"
#include "assets/JpegReader.h"
#include "assets/TgaReader.h"
#include "platform/Platform.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cctype>
#include <cstring>

namespace {

// Case-insensitive comparison of a whole extension.
bool extensionIs(const char* extension, const char* wanted) {
    const std::size_t length = std::strlen(extension);
    if (length != std::strlen(wanted)) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (std::toupper(static_cast<unsigned char>(extension[i])) != wanted[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

ObjectTexture::ObjectTexture(const char* fileName) : fileName(fileName ? fileName : "") {}

unsigned ObjectTexture::createTexture() {
    texture = LoadTexture(fileName.c_str(), ElementContainer::getInstance()->iTextureFilter);
    return texture;
}

unsigned ObjectTexture::LoadTexture(const char* fileName, int filterMode) {
    if (fileName == nullptr) {
        return 0;
    }
    const char* dot = std::strrchr(fileName, '.');
    if (dot == nullptr) {
        return 0;
    }
    const char* extension = dot + 1;
    if (extensionIs(extension, "BMP")) {
        return LoadBMPTexture(fileName, filterMode);
    }
    if (extensionIs(extension, "TGA")) {
        return LoadTGATexture(fileName, filterMode);
    }
    if (extensionIs(extension, "JPG") || extensionIs(extension, "JPEG")) {
        return LoadJPEGTexture(fileName, filterMode);
    }
    return 0;
}

std::vector<unsigned char> ObjectTexture::ReadAlpha(unsigned texture, int& width, int& height) {
    GLint levelWidth = 0;
    GLint levelHeight = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &levelWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &levelHeight);
    width = levelWidth;
    height = levelHeight;
    std::vector<unsigned char> alpha(static_cast<std::size_t>(width) * height);
    if (!alpha.empty()) {
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glPixelStorei(GL_PACK_SKIP_ROWS, 0);
        glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
        glPopClientAttrib();
    }
    return alpha;
}

unsigned ObjectTexture::CreateGLTexture(int filterMode, unsigned format, int width, int height,
                                        const unsigned char* pixels) {
    if (pixels == nullptr || width <= 0 || height <= 0) {
        return 0;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);

    // Rows arrive tightly packed; an RGB row of odd width is no multiple of 4 bytes.
    GLint savedAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    switch (filterMode) {
    case kFilterTrilinearMipmap:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(format), width, height, format,
                          GL_UNSIGNED_BYTE, pixels);
        break;
    case kFilterBilinear:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                     GL_UNSIGNED_BYTE, pixels);
        break;
    default:
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                     GL_UNSIGNED_BYTE, pixels);
        break;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
    return name;
}

std::optional<PixelImage> ObjectTexture::LoadBMP(const char* fileName) {
    platform::debugOutput("ObjectTexture::LoadBMP(): trying to load BMP...\n");
    if (fileName == nullptr || fileName[0] == '\0') {
        return std::nullopt;
    }
    const auto bytes = readFileBytes(fileName);
    if (!bytes) {
        platform::debugOutput("ObjectTexture::LoadBMP(): loading BMP failed\n");
        return std::nullopt;
    }
    platform::debugOutput("ObjectTexture::LoadBMP(): loading BMP succeeded\n");
    return readBmp(bytes->data(), bytes->size());
}

unsigned ObjectTexture::LoadBMPTexture(const char* fileName, int filterMode) {
    const auto image = LoadBMP(fileName);
    if (!image || image->pixels.empty()) {
        return 0;
    }
    return CreateGLTexture(filterMode, GL_RGB, image->width, image->height, image->pixels.data());
}

unsigned ObjectTexture::LoadTGATexture(const char* fileName, int filterMode) {
    const auto bytes = readFileBytes(fileName);
    if (!bytes) {
        platform::messageBox("Could not open texture file", "ERROR", platform::Buttons::Ok,
                             platform::Icon::Error);
        return 0;
    }
    const TgaReadResult result = readTga(bytes->data(), bytes->size());
    if (!result.image) {
        platform::messageBox(result.message.c_str(), result.caption.c_str(), platform::Buttons::Ok,
                             platform::Icon::Error);
        return 0;
    }
    const PixelImage& image = *result.image;
    const unsigned format = image.channels == 4 ? GL_RGBA : GL_RGB;
    return CreateGLTexture(filterMode, format, image.width, image.height, image.pixels.data());
}

unsigned ObjectTexture::LoadJPEGTexture(const char* fileName, int filterMode) {
    unsigned texture = 0;
    CreateJPEGTexture(&texture, fileName, 0, filterMode);
    return texture;
}

void ObjectTexture::CreateJPEGTexture(unsigned* textures, const char* fileName, int index,
                                      int filterMode) {
    if (textures == nullptr || fileName == nullptr || fileName[0] == '\0') {
        return;
    }
    // A JPEG that cannot be read leaves the material untextured; play goes on.
    const auto image = ReadJPEGFile(fileName);
    if (!image) {
        return;
    }
    textures[index] =
        CreateGLTexture(filterMode, GL_RGB, image->width, image->height, image->pixels.data());
}

std::optional<PixelImage> ObjectTexture::ReadJPEGFile(const char* fileName) {
    const auto bytes = readFileBytes(fileName);
    if (!bytes) {
        platform::messageBox("Unable to load JPG File!", "Error", platform::Buttons::Ok,
                             platform::Icon::Error);
        return std::nullopt;
    }
    JpegReadResult result = readJpeg(bytes->data(), bytes->size());
    if (!result.image) {
        platform::debugPrintf("ObjectTexture::ReadJPEGFile(): cannot decode %s: %s\n", fileName,
                              result.message.c_str());
        return std::nullopt;
    }
    return std::move(result.image);
}
