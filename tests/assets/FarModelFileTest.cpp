// A kind's far model file beside its model: taken when drawing it leaves what the model leaves
// for the elements drawn after it, left aside (with a line in the log) when it would not.
#include "assets/FarStrayRecord.h"
#include "assets/FileReader.h"
#include "assets/Model.h"
#include "tests/assets/TestFiles.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/TempDir.h"
#include "world/ElementContainer.h"
#include "world/ModelData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using assettest::Ms3dBuilder;

TEST(FarModelFile, IsTakenOnlyIfItLeavesTheModelsLastMaterialAndNormalBehind) {
    const struct {
        const char* far;
        bool taken;
    } cases[] = {{"the same quad", true},
                 {"another colour", false},
                 {"another last normal", false},
                 {"none", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.far);
        testsupport::TempDir folder;
        const Ms3dBuilder model = Ms3dBuilder::quad("");
        Ms3dBuilder far = model;
        if (std::string(c.far) == "another colour") {
            far.materials[0].diffuse = {0.8f, 0.2f, 0.2f, 1.0f};
        } else if (std::string(c.far) == "another last normal") {
            far.triangles[1].normals = {0, 0, 1, 0, 0, 1, 0, 1, 0};
        }
        const std::string file = folder.write("rock.ms3d", model.build());
        if (std::string(c.far) != "none") {
            folder.write("rock.far.ms3d", far.build());
        }
        testsupport::DebugCapture log;
        Ms3dModelData record(file.c_str());
        ASSERT_TRUE(record.load());
        EXPECT_EQ(record.pFar != nullptr, c.taken);
        EXPECT_EQ(log.contains("left aside"), !c.taken && std::string(c.far) != "none");
        if (c.taken) {
            EXPECT_LT(record.fFarStray, 0.05f) << "the same quad strays no more than a sliver";
        }
    }
    delete ElementContainer::getInstance();
}

TEST(FarModelFile, ItsStrayIsMeasuredNearTheBluntCornerTooUnlessARecordOfTheseFilesGivesIt) {
    // A triangle with a blunt corner and the same triangle lifted half a unit off its plane:
    // every point of one lies half a unit from the other, also beside the blunt corner, where
    // the nearest point is inside the triangle rather than the corner itself.
    testsupport::TempDir folder;
    Ms3dBuilder model = Ms3dBuilder::quad("");
    model.vertices = {{-2.0f, 0.0f, 0.0f}, {2.0f, 0.0f, 0.0f}, {1.5f, 0.5f, 0.0f}};
    model.triangles.resize(1);
    model.triangles[0].vertices = {0, 1, 2};
    model.groups = {{{0}, 0}};
    Ms3dBuilder lifted = model;
    for (auto& vertex : lifted.vertices) {
        vertex[2] += 0.5f;
    }
    const std::vector<std::uint8_t> modelBytes = model.build();
    const std::string file = folder.write("rock.ms3d", modelBytes);
    const std::string farFile = folder.write("rock.far.ms3d", lifted.build());
    const auto strayOnLoad = [&file] {
        Ms3dModelData record(file.c_str());
        EXPECT_TRUE(record.load() && record.pFar != nullptr);
        return record.fFarStray;
    };
    // Never less than the truth, and more only by the sampling's spacing (a hundredth of the
    // models' size, here about 0.02).
    const float measured = strayOnLoad();
    EXPECT_GE(measured, 0.5f);
    EXPECT_LT(measured, 0.55f);

    // A figure no measure gives, to see where the loaded one comes from.
    const auto farBytes = readFileBytes(farFile.c_str());
    const std::uint64_t theseFiles = FarStrayRecord::fingerprint(modelBytes, *farBytes);
    folder.write("rock.far.stray", FarStrayRecord::text(theseFiles, 7.25f));
    EXPECT_EQ(strayOnLoad(), 7.25f) << "the record of these files";

    folder.write("rock.far.stray", FarStrayRecord::text(theseFiles ^ 1u, 7.25f));
    EXPECT_EQ(strayOnLoad(), measured) << "a record of other files";
    folder.write("rock.far.stray", std::string("ombrelix-far-stray 12"));
    EXPECT_EQ(strayOnLoad(), measured) << "a broken record";
    delete ElementContainer::getInstance();
}

TEST(FarModelFile, ARecordHoldsItsFigureToTheLastBitAndNothingButARecordIsRead) {
    const std::uint64_t files = 0x0123456789abcdefull;
    for (float stray : {0.0f, 0.1f, 0.37517f, 1.0e-45f, 3.4e38f, INFINITY}) {
        EXPECT_EQ(FarStrayRecord::read(FarStrayRecord::text(files, stray), files), stray);
    }
    const std::string good = FarStrayRecord::text(files, 0.5f);
    EXPECT_EQ(good, "ombrelix-far-stray 0123456789abcdef 0x1p-1\n");
    for (const std::string& text :
         {std::string("ombrelix-far-stray 0123456789abcdef -0x1p-1\n"),
          std::string("ombrelix-far-stray 0123456789abcdef nan\n"),
          std::string("ombrelix-far-stray 0123456789abcdef 0x1p-1 more\n"),
          std::string("ombrelix-far-stray 0123456789abcde 0x1p-1\n"),
          std::string("ombrelix-far-stray 0123456789ABCDEF 0x1p-1\n"),
          std::string("ombrelix-far-stray 0123456789abcdef 0x1p-1x\n"),
          std::string("other-tag 0123456789abcdef 0x1p-1\n"), good.substr(0, 20), std::string(),
          good + std::string(FarStrayRecord::kLimit, ' ')}) {
        EXPECT_EQ(FarStrayRecord::read(text, files), std::nullopt) << text;
    }
    EXPECT_EQ(FarStrayRecord::read(good, files + 1), std::nullopt) << "another pair of files";
    EXPECT_NE(FarStrayRecord::fingerprint({1, 2}, {3}), FarStrayRecord::fingerprint({1}, {2, 3}))
        << "a byte moved from one file to the other";
    EXPECT_EQ(FarStrayRecord::pathFor("data/model/rock.far.ms3d"), "data/model/rock.far.stray");
}

TEST(FarModelFile, TheGeneratedRecordsHoldWhatTheGameWouldMeasure) {
    int records = 0;
    for (const auto& entry : std::filesystem::directory_iterator("data/model")) {
        const std::string far = entry.path().string();
        if (far.size() < 9 || far.compare(far.size() - 9, 9, ".far.ms3d") != 0) {
            continue;
        }
        SCOPED_TRACE(far);
        const std::string model = far.substr(0, far.size() - 9) + ".ms3d";
        const auto modelBytes = readFileBytes(model.c_str());
        const auto farBytes = readFileBytes(far.c_str());
        const auto text = readFileBytes(FarStrayRecord::pathFor(far).c_str());
        ASSERT_TRUE(modelBytes && farBytes && text);
        const auto recorded =
            FarStrayRecord::read(std::string(text->begin(), text->end()),
                                 FarStrayRecord::fingerprint(*modelBytes, *farBytes));
        ASSERT_TRUE(recorded.has_value()) << "a record of these files";
        EXPECT_EQ(*recorded, Model::strayBetween(*readMs3d(modelBytes->data(), modelBytes->size()),
                                                 *readMs3d(farBytes->data(), farBytes->size())));
        ++records;
    }
    EXPECT_GE(records, 6) << "every kind with a far model";
}
