// The readers against the public conformance corpus beside the checkout: every manifest row goes
// through its reader; "load" rows must give the listed size and the reference pixels, "refuse"
// rows must fail, "any" rows just must not crash. Skipped when the corpus is absent.
#include "assets/BmpReader.h"
#include "assets/FileReader.h"
#include "assets/JpegReader.h"
#include "assets/Ms3dReader.h"
#include "assets/TgaReader.h"
#include "tests/support/GLTestContext.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {

// Manifest columns: path, format, expect, width, height, flipped, reference, note.
struct ManifestRow {
    std::string path, format, expect, width, height, flipped, reference, note;
};

// The rows of a tab-separated file after its header line, each with at least eight fields.
std::vector<std::vector<std::string>> readTsv(const std::string& file) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            fields.push_back(cell);
        }
        if (!fields.empty()) {
            fields.resize(std::max<std::size_t>(fields.size(), 8));
            rows.push_back(fields);
        }
    }
    return rows;
}

std::vector<ManifestRow> manifestRows(const std::string& dir, const std::string& format) {
    std::vector<ManifestRow> rows;
    for (const auto& f : readTsv(dir + "/manifest.tsv")) {
        if (f[1] == format) {
            rows.push_back({dir + "/" + f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
        }
    }
    return rows;
}

// A binary P6 PPM with 8-bit samples: width, height and the RGB bytes, top row first.
bool readPpm(const std::string& file, int& width, int& height, std::vector<std::uint8_t>& rgb) {
    const auto bytes = readFileBytes(file.c_str());
    if (!bytes) {
        return false;
    }
    std::istringstream in(std::string(bytes->begin(), bytes->end()));
    std::string magic;
    int maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || !in) {
        return false;
    }
    rgb.assign(bytes->begin() + static_cast<std::ptrdiff_t>(in.tellg()), bytes->end());
    return rgb.size() == static_cast<std::size_t>(width) * height * 3;
}

// The image checks shared by BMP, TGA and JPEG rows.
void checkImageRow(const std::string& dir, const ManifestRow& row,
                   const std::optional<PixelImage>& image, const std::string& message) {
    if (row.expect == "refuse" || !image) {
        EXPECT_TRUE(row.expect != "load" || image) << row.path << " must load: " << message;
        EXPECT_TRUE(row.expect != "refuse" || !image) << row.path << " must be refused";
        return;
    }
    ASSERT_EQ(image->pixels.size(),
              static_cast<std::size_t>(image->width) * image->height * image->channels)
        << row.path;
    if (!row.width.empty()) {
        EXPECT_EQ(std::to_string(image->width) + "x" + std::to_string(image->height),
                  row.width + "x" + row.height)
            << row.path;
    }
    if (row.reference.empty()) {
        return;
    }
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> reference;
    ASSERT_TRUE(readPpm(dir + "/" + row.reference, width, height, reference) &&
                width == image->width && height == image->height)
        << row.path << ": reference " << row.reference << " unreadable or other size";
    long differing = 0;
    for (int y = 0; y < height; ++y) {
        const int referenceRow = row.flipped == "yes" ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* got =
                image->pixels.data() + (static_cast<std::size_t>(y) * width + x) * image->channels;
            const std::uint8_t* want =
                reference.data() + (static_cast<std::size_t>(referenceRow) * width + x) * 3;
            differing += !std::equal(got, got + 3, want);
        }
    }
    EXPECT_EQ(differing, 0) << row.path << ": pixels differing from " << row.reference;
}

// Decodes every row of the format; decode gives the image and fills in the reader's message.
template <typename Decode> void runImageRows(const std::string& format, Decode decode) {
    const std::string dir = testsupport::corporaDir();
    if (dir.empty()) {
        GTEST_SKIP() << "conformance corpus not found beside the checkout";
    }
    for (const ManifestRow& row : manifestRows(dir, format)) {
        const auto bytes = readFileBytes(row.path.c_str());
        ASSERT_TRUE(bytes) << row.path;
        std::string message;
        checkImageRow(dir, row, decode(*bytes, message), message);
    }
}

} // namespace

TEST(CorpusConformance, BmpRows) {
    runImageRows("bmp", [](const std::vector<std::uint8_t>& bytes, std::string&) {
        return readBmp(bytes.data(), bytes.size());
    });
}

TEST(CorpusConformance, TgaRows) {
    runImageRows("tga", [](const std::vector<std::uint8_t>& bytes, std::string& message) {
        TgaReadResult result = readTga(bytes.data(), bytes.size());
        message = result.message;
        return std::move(result.image);
    });
}

TEST(CorpusConformance, JpegRows) {
    runImageRows("jpeg", [](const std::vector<std::uint8_t>& bytes, std::string& message) {
        JpegReadResult result = readJpeg(bytes.data(), bytes.size());
        message = result.message;
        return std::move(result.image);
    });
}

TEST(CorpusConformance, Ms3dRowsMatchTheirStoredCounts) {
    const std::string dir = testsupport::corporaDir();
    if (dir.empty()) {
        GTEST_SKIP() << "conformance corpus not found beside the checkout";
    }
    // Path, format, then the vertex, triangle, group and material counts.
    std::map<std::string, std::vector<std::string>> counts;
    for (const auto& fields : readTsv(dir + "/ms3d-counts.tsv")) {
        counts[dir + "/" + fields[0]] = fields;
    }
    for (const ManifestRow& row : manifestRows(dir, "ms3d")) {
        const auto bytes = readFileBytes(row.path.c_str());
        ASSERT_TRUE(bytes) << row.path;
        const auto contents = readMs3d(bytes->data(), bytes->size());
        EXPECT_TRUE(row.expect == "refuse" ? !contents : contents || row.expect != "load")
            << row.path << " (" << row.expect << "): " << row.note;
        if (contents && row.expect != "refuse" && counts.count(row.path) != 0) {
            const auto& c = counts[row.path];
            EXPECT_EQ(std::to_string(contents->vertices.size()) + " " +
                          std::to_string(contents->triangles.size()) + " " +
                          std::to_string(contents->groups.size()) + " " +
                          std::to_string(contents->materials.size()),
                      c[2] + " " + c[3] + " " + c[4] + " " + c[5])
                << row.path;
            for (const Group& group : contents->groups) {
                EXPECT_LT(group.materialIndex, static_cast<int>(contents->materials.size()));
            }
        }
    }
}
