// The TGA reader on files built byte by byte: every refusal with the message the player would see.
// (Pixels, alpha, run-length packets and packets across rows are the conformance corpus's.)
#include "assets/TgaReader.h"
#include "tests/assets/TestFiles.h"

#include <gtest/gtest.h>

using assettest::Bytes;
using assettest::makeTga;

namespace {

const int kUncompressed = 2;
const int kRunLength = 10;

TgaReadResult decode(const Bytes& file) {
    return readTga(file.data(), file.size());
}

} // namespace

TEST(TgaReader, EveryRefusalGivesTheMessageThePlayerSees) {
    const Bytes plain = makeTga(kUncompressed, 2, 1, 24, {1, 2, 3, 4, 5, 6});
    auto withByte = [&](std::size_t offset, std::uint8_t value) {
        Bytes changed = plain;
        changed[offset] = value;
        return changed;
    };
    const char* const kWrongKind = "TGA file be type 2 or type 10 ";
    const struct {
        Bytes file;
        const char* message;
    } cases[] = {
        // Other kinds of TGA, told by the first twelve bytes.
        {withByte(0, 4), kWrongKind},  // an ID field
        {withByte(11, 1), kWrongKind}, // y origin
        // Headers without a usable image.
        {makeTga(kUncompressed, 1, 1, 16, {1, 2}), "Invalid texture information"},
        {makeTga(kUncompressed, 0, 1, 24, {}), "Invalid texture information"},
        {makeTga(kRunLength, 1, 0, 32, {}), "Invalid texture information"},
        {makeTga(kUncompressed, 16385, 1, 24, {}), "Invalid texture information"},
        // Short files, refused where they end.
        {{}, "Could not read file header"},
        {Bytes(plain.begin(), plain.begin() + 11), "Could not read file header"},
        {Bytes(plain.begin(), plain.begin() + 17), "Could not read info header"},
        {makeTga(kUncompressed, 2, 1, 24, {1, 2, 3, 4, 5}), "Could not read image data"},
        {makeTga(kRunLength, 2, 1, 24, {0x80, 1, 2, 3}), "Could not read RLE header"},
        {makeTga(kRunLength, 2, 1, 24, {0x01, 1, 2, 3, 4}), "Could not read image data"},
        {makeTga(kRunLength, 2, 1, 24, {0x81, 1, 2}), "Could not read from file"},
        // A last packet one pixel past the image.
        {makeTga(kRunLength, 2, 2, 24, {0x82, 1, 2, 3, 0x81, 1, 2, 3}), "Too many pixels read"},
        {makeTga(kRunLength, 2, 1, 24, {0x02, 1, 1, 1, 2, 2, 2, 3, 3, 3}), "Too many pixels read"},
    };
    for (const auto& c : cases) {
        const TgaReadResult result = decode(c.file);
        EXPECT_FALSE(result.image) << c.message;
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(result.caption, std::string(c.message) == kWrongKind ? "Invalid Image" : "ERROR");
    }
}
