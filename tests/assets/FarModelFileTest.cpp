// A kind's far model file beside its model: taken when drawing it leaves what the model leaves
// for the elements drawn after it, left aside (with a line in the log) when it would not.
#include "tests/assets/TestFiles.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/TempDir.h"
#include "world/ElementContainer.h"
#include "world/ModelData.h"

#include <gtest/gtest.h>

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

TEST(FarModelFile, StraysByHowFarItsSurfaceLiesFromTheModelsNearTheBluntCornerToo) {
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
    const std::string file = folder.write("rock.ms3d", model.build());
    folder.write("rock.far.ms3d", lifted.build());
    Ms3dModelData record(file.c_str());
    ASSERT_TRUE(record.load());
    ASSERT_NE(record.pFar, nullptr);
    // Never less than the truth, and more only by the sampling's spacing (a hundredth of the
    // models' size, here about 0.02).
    EXPECT_GE(record.fFarStray, 0.5f);
    EXPECT_LT(record.fFarStray, 0.55f);
    delete ElementContainer::getInstance();
}
