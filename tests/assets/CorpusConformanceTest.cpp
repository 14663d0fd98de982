// The readers against the public conformance corpus beside the checkout: every manifest row goes
// through its reader; "load" rows must give the listed size and the reference pixels (MS3D: the
// stored counts), "refuse" rows must fail, "any" rows just must not crash. Skipped without it.
#include "assets/BmpReader.h"
#include "assets/FileReader.h"
#include "assets/JpegReader.h"
#include "assets/Ms3dReader.h"
#include "assets/TgaReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {

using Row = std::vector<std::string>;

// The rows of a tab-separated file after its header line, each with at least eight fields.
std::vector<Row> readTsv(const std::string& file) {
    std::vector<Row> rows;
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        Row fields;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            fields.push_back(cell);
        }
        fields.resize(std::max<std::size_t>(fields.size(), 8));
        rows.push_back(fields);
    }
    return rows;
}

// A binary P6 PPM with 8-bit samples, top row first: its RGB bytes, or nothing.
std::vector<std::uint8_t> readPpm(const std::string& file, int width, int height) {
    const auto bytes = readFileBytes(file.c_str());
    std::istringstream in(bytes ? std::string(bytes->begin(), bytes->end()) : "");
    std::string magic;
    int w = 0, h = 0, maxValue = 0;
    in >> magic >> w >> h >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || w != width || h != height || !in) {
        return {};
    }
    return {bytes->begin() + static_cast<std::ptrdiff_t>(in.tellg()), bytes->end()};
}

std::optional<PixelImage> decodeImage(const std::string& format,
                                      const std::vector<std::uint8_t>& b) {
    if (format == "bmp") {
        return readBmp(b.data(), b.size());
    }
    return format == "tga" ? readTga(b.data(), b.size()).image : readJpeg(b.data(), b.size()).image;
}

// Columns: path, format, expect, width, height, flipped, reference, note.
void checkImage(const std::string& dir, const Row& row, const std::optional<PixelImage>& image) {
    const std::string& path = row[0];
    EXPECT_TRUE(row[2] != "load" || image) << path << " must load";
    EXPECT_TRUE(row[2] != "refuse" || !image) << path << " must be refused";
    if (!image || row[2] == "refuse") {
        return;
    }
    ASSERT_EQ(image->pixels.size(), std::size_t(image->width) * image->height * image->channels);
    if (!row[3].empty()) {
        EXPECT_EQ(std::to_string(image->width) + "x" + std::to_string(image->height),
                  row[3] + "x" + row[4])
            << path;
    }
    if (row[6].empty()) {
        return;
    }
    const auto reference = readPpm(dir + "/" + row[6], image->width, image->height);
    ASSERT_FALSE(reference.empty()) << path << ": reference " << row[6] << " unreadable";
    long differing = 0;
    for (int y = 0; y < image->height; ++y) {
        const int referenceRow = row[5] == "yes" ? y : image->height - 1 - y;
        for (int x = 0; x < image->width; ++x) {
            const std::uint8_t* got =
                &image->pixels[(std::size_t(y) * image->width + x) * image->channels];
            const std::uint8_t* want =
                &reference[(std::size_t(referenceRow) * image->width + x) * 3];
            differing += !std::equal(got, got + 3, want);
        }
    }
    EXPECT_EQ(differing, 0) << path << ": pixels differing from " << row[6];
}

} // namespace

TEST(CorpusConformance, EveryRowOfTheManifest) {
    const std::string dir = OMBRELIX_CORPORA_DIR;
    if (!std::ifstream(dir + "/manifest.tsv")) {
        GTEST_SKIP() << "conformance corpus not found beside the checkout";
    }
    std::map<std::string, Row> counts; // vertex, triangle, group and material counts by path
    for (const Row& fields : readTsv(dir + "/ms3d-counts.tsv")) {
        counts[fields[0]] = fields;
    }
    for (const Row& row : readTsv(dir + "/manifest.tsv")) {
        SCOPED_TRACE(row[0]);
        const auto bytes = readFileBytes((dir + "/" + row[0]).c_str());
        ASSERT_TRUE(bytes);
        if (row[1] != "ms3d") {
            checkImage(dir, row, decodeImage(row[1], *bytes));
            continue;
        }
        const auto model = readMs3d(bytes->data(), bytes->size());
        EXPECT_TRUE(row[2] == "refuse" ? !model : model || row[2] != "load") << row[7];
        if (model && row[2] != "refuse" && counts.count(row[0]) != 0) {
            const Row& c = counts[row[0]];
            EXPECT_EQ(std::to_string(model->vertices.size()) + " " +
                          std::to_string(model->triangles.size()) + " " +
                          std::to_string(model->groups.size()) + " " +
                          std::to_string(model->materials.size()),
                      c[2] + " " + c[3] + " " + c[4] + " " + c[5]);
        }
    }
}
