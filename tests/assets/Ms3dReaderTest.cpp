// The MilkShape 3D reader on models built record by record: how each field is kept, and which
// files are refused. (Counts of real models are the conformance corpus's, indices far out of
// their arrays the fuzzer's.)
#include "assets/Ms3dReader.h"
#include "tests/assets/TestFiles.h"

#include <gtest/gtest.h>

using assettest::Bytes;
using assettest::Ms3dBuilder;

namespace {

std::optional<Ms3dContents> parse(const Ms3dBuilder& model) {
    const Bytes file = model.build();
    return readMs3d(file.data(), file.size());
}

} // namespace

TEST(Ms3dReader, AQuadKeepsEveryFieldWithTextureTUpsideDownAndAFullLengthTextureName) {
    Ms3dBuilder model = Ms3dBuilder::quad("abcdefgh");
    model.triangles[0].t = {0.0f, 0.25f, 1.0f};
    model.triangles[1].normals = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    model.materials[0].diffuse = {0.1f, 0.2f, 0.3f, 0.4f};
    model.materials[0].shininess = 12.5f;
    model.materials[0].fillName = true;       // 128 bytes of name, no NUL
    model.materials[0].alphaMap = "glow.bmp"; // right behind it
    model.trailing = Bytes(5000, 0xAB);       // as if joints and animation followed
    const auto contents = parse(model);
    ASSERT_TRUE(contents);
    EXPECT_FLOAT_EQ(contents->vertices[2].position[1], 1.0f);
    EXPECT_EQ(contents->triangles[1].vertexIndices[2], 3);
    EXPECT_FLOAT_EQ(contents->triangles[1].normals[1][1], 1.0f);
    EXPECT_FLOAT_EQ(contents->triangles[0].s[1], 1.0f);
    const float* t = contents->triangles[0].t;
    EXPECT_EQ(std::vector<float>(t, t + 3), (std::vector<float>{1.0f, 0.75f, 0.0f}));
    EXPECT_EQ(contents->groups[0].triangleIndices, (std::vector<int>{0, 1}));
    EXPECT_EQ(contents->groups[0].materialIndex, 0);
    EXPECT_FLOAT_EQ(contents->materials[0].diffuse[2], 0.3f);
    EXPECT_FLOAT_EQ(contents->materials[0].shininess, 12.5f);
    const std::string& name = contents->materials[0].textureFile;
    EXPECT_EQ(name.size(), 128u) << "cut at the field's end";
    EXPECT_EQ(name.substr(120), "abcdefgh");
}

TEST(Ms3dReader, MaterialBytesAreSignedAndIndicesFrom32768UpStayPositive) {
    Ms3dBuilder model = Ms3dBuilder::quad("");
    model.groups.push_back({{0}, 0x7F});
    model.groups.push_back({{1}, 0x80});
    auto contents = parse(model);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->groups[1].materialIndex, -1) << "127 with only one material";
    EXPECT_EQ(contents->groups[2].materialIndex, -128) << "sign-extended: also no material";
    model.materials.resize(128);
    contents = parse(model);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->groups[1].materialIndex, 127);

    Ms3dBuilder big;
    big.vertices.resize(40000);
    big.triangles.resize(33000);
    big.triangles[32999].vertices = {32768, 39999, 0};
    big.groups.push_back({{32768, 32999}, 0xFF});
    contents = parse(big);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->triangles[32999].vertexIndices[0], 32768);
    EXPECT_EQ(contents->groups[0].triangleIndices, (std::vector<int>{32768, 32999}));
    big.triangles[32999].vertices = {32768, 40000, 0};
    EXPECT_FALSE(parse(big)) << "a vertex index one past the last";
}

TEST(Ms3dReader, OnlyWholeVersionThreeOrFourFilesLoad) {
    Ms3dBuilder model = Ms3dBuilder::quad("tex.bmp");
    for (int version : {2, 3, 4, 5}) {
        model.version = version;
        EXPECT_EQ(bool(parse(model)), version == 3 || version == 4) << "version " << version;
    }
    model.version = 4;
    model.identifier = "MS3D000001";
    EXPECT_FALSE(parse(model)) << "identifier";
    const Bytes file = Ms3dBuilder::quad("tex.bmp").build();
    for (std::size_t length = 0; length < file.size(); ++length) {
        ASSERT_FALSE(readMs3d(file.data(), length)) << "cut at " << length;
    }
}
