// Test fixture with a real GL context: an off-screen 1024 x 768 RGBA pbuffer with a 16-bit depth
// buffer on Mesa's software rasteriser. One context serves the whole test executable.
#pragma once

#include "platform/Platform.h"

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
    static void gameCamera();

protected:
    // Makes the shared context current and resets the GL state tests commonly touch.
    void SetUp() override;
    void TearDown() override;

    // Reads the colour buffer back, bottom row first, 4 bytes (RGBA) per pixel.
    std::vector<std::uint8_t> readPixels() const;
    // One pixel's RGBA at window coordinates from the bottom-left corner.
    std::uint32_t pixelAt(int x, int y) const;
};

// Directory of the conformance corpora beside the checkout, or "" when absent.
std::string corporaDir();

// Collects debug-channel output while alive.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    const std::string& text() const { return text_; }
    bool contains(const std::string& needle) const {
        return text_.find(needle) != std::string::npos;
    }
    // How often the text appears.
    int count(const std::string& needle) const;

private:
    std::string text_;
};

// Records every message box while alive, answering each with its default (Ok or Yes).
class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    std::vector<platform::MessageBoxRequest> boxes;

private:
    platform::MessageBoxHandler previous_;
};

// How many pixels of a read-back frame are not black.
int litPixels(const std::vector<std::uint8_t>& rgba);

} // namespace testsupport
