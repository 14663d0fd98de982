// ombrelix-datagen: writes the game's models, textures and sounds (and the readers' fuzz seeds)
// into a run directory. Everything is made by code from fixed seeds, so every run gives the same
// bytes.
#include "assets/FarStrayRecord.h"
#include "assets/FileReader.h"
#include "assets/Model.h"
#include "tools/datagen/AsteroidModel.h"
#include "tools/datagen/BonusModel.h"
#include "tools/datagen/CockpitTexture.h"
#include "tools/datagen/FighterModel.h"
#include "tools/datagen/FuzzSeeds.h"
#include "tools/datagen/InfoTexture.h"
#include "tools/datagen/KnackerModel.h"
#include "tools/datagen/ModelTextures.h"
#include "tools/datagen/ProjectileModels.h"
#include "tools/datagen/SkyTexture.h"
#include "tools/datagen/SmokeTexture.h"
#include "tools/datagen/SoundEffects.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// Each kind's model; most have a coarser far model, written beside it as NAME.far.ms3d.
struct ModelEntry {
    const char* path;
    Ms3dWriter (*build)(Detail);
    bool hasFar;
};

const ModelEntry kModels[] = {
    {"data/model/semmel.ms3d", buildFighterModel, true},
    {"data/model/asteroid.ms3d", buildAsteroidModel, true},
    {"data/model/bonus2.ms3d", buildBonusModel, true},
    {"data/model/knacker.ms3d", buildKnackerModel, true},
    {"data/model/fugenmasse.ms3d", buildLaserBoltModel, true},
    {"data/model/wurst.ms3d", buildSausageModel, true},
};

std::string farPath(const std::string& path) {
    const std::string suffix = ".ms3d";
    return path.substr(0, path.size() - suffix.size()) + ".far.ms3d";
}

bool writeModel(const std::string& runDir, const std::string& path, const Ms3dWriter& model) {
    Mesh all = model.combined();
    Vec3 lo = all.boundsMin(), hi = all.boundsMax();
    std::printf("  %-32s %2d groups %5d triangles %5zu vertices, x %.1f..%.1f y %.1f..%.1f "
                "z %.1f..%.1f, radius %.1f\n",
                path.c_str(), model.groupCount(), model.triangleCount(), all.positions.size(), lo.x,
                hi.x, lo.y, hi.y, lo.z, hi.z, all.maxRadius());
    return model.save(runDir + "/" + path);
}

// Measures, as the game would, how far the far model strays from the model, and keeps the figure
// beside the far model for the game to find instead of measuring it at every load.
bool writeStrayRecord(const std::string& runDir, const std::string& path, const std::string& far) {
    const auto modelBytes = readFileBytes((runDir + "/" + path).c_str());
    const auto farBytes = readFileBytes((runDir + "/" + far).c_str());
    const auto model = modelBytes ? readMs3d(modelBytes->data(), modelBytes->size()) : std::nullopt;
    const auto farModel = farBytes ? readMs3d(farBytes->data(), farBytes->size()) : std::nullopt;
    if (!model || !farModel) {
        std::fprintf(stderr, "ombrelix-datagen: cannot read %s back\n", far.c_str());
        return false;
    }
    const float stray = Model::strayBetween(*model, *farModel);
    const std::string record = FarStrayRecord::pathFor(far);
    std::printf("  %-32s stray %.4f\n", record.c_str(), static_cast<double>(stray));
    std::FILE* file = std::fopen((runDir + "/" + record).c_str(), "w");
    const std::string text =
        FarStrayRecord::text(FarStrayRecord::fingerprint(*modelBytes, *farBytes), stray);
    const bool written = file != nullptr && std::fputs(text.c_str(), file) >= 0;
    if (file == nullptr || std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "ombrelix-datagen: cannot write %s\n", record.c_str());
        return false;
    }
    return true;
}

bool writeModels(const std::string& runDir) {
    bool ok = true;
    for (const ModelEntry& entry : kModels) {
        const Ms3dWriter near = entry.build(Detail::Near);
        ok = writeModel(runDir, entry.path, near) && ok;
        if (entry.hasFar) {
            Ms3dWriter far = entry.build(Detail::Far);
            if (!far.finishLike(near)) {
                std::fprintf(stderr,
                             "ombrelix-datagen: the far model of %s ends on another "
                             "material than the model\n",
                             entry.path);
                ok = false;
                continue;
            }
            ok = writeModel(runDir, farPath(entry.path), far) &&
                 writeStrayRecord(runDir, entry.path, farPath(entry.path)) && ok;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ombrelix-datagen <run directory>\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string runDir = argv[1];
    for (const char* sub : {"data/model", "data/texture", "data/sound", "fuzz-seeds/bmp",
                            "fuzz-seeds/tga", "fuzz-seeds/jpeg", "fuzz-seeds/ms3d"}) {
        std::error_code error;
        std::filesystem::create_directories(runDir + "/" + sub, error);
        if (error) {
            std::fprintf(stderr, "ombrelix-datagen: cannot create %s/%s: %s\n", runDir.c_str(), sub,
                         error.message().c_str());
            return 1;
        }
    }
    bool ok = writeModelTextures(runDir);
    ok = writeSkyTexture(runDir) && ok;
    ok = writeSmokeTexture(runDir) && ok;
    ok = writeCockpitTexture(runDir) && ok;
    ok = writeCockpitSidesTexture(runDir) && ok;
    ok = writeInfoTexture(runDir) && ok;
    ok = writeCampaignTexture(runDir) && ok;
    ok = writeModels(runDir) && ok;
    ok = writeFuzzSeeds(runDir) && ok;
    ok = writeSoundEffects(runDir) && ok;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("ombrelix-datagen: %s in %.2f s\n", ok ? "data written" : "FAILED", seconds);
    return ok ? 0 : 1;
}
