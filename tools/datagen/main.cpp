// ombrelix-datagen: writes the game's models, textures and sounds (and the readers' fuzz seeds)
// into a run directory. Everything is made by code from fixed seeds, so every run gives the same
// bytes.
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

struct ModelEntry {
    const char* path;
    Ms3dWriter (*build)();
};

const ModelEntry kModels[] = {
    {"data/model/semmel.ms3d", buildFighterModel},
    {"data/model/asteroid.ms3d", buildAsteroidModel},
    {"data/model/bonus2.ms3d", buildBonusModel},
    {"data/model/knacker.ms3d", buildKnackerModel},
    {"data/model/fugenmasse.ms3d", buildLaserBoltModel},
    {"data/model/wurst.ms3d", buildSausageModel},
};

bool writeModels(const std::string& runDir) {
    bool ok = true;
    for (const ModelEntry& entry : kModels) {
        Ms3dWriter model = entry.build();
        Mesh all = model.combined();
        Vec3 lo = all.boundsMin(), hi = all.boundsMax();
        std::printf("  %-28s %2d groups %5d triangles %5zu vertices, x %.1f..%.1f y %.1f..%.1f "
                    "z %.1f..%.1f, radius %.1f\n",
                    entry.path, model.groupCount(), model.triangleCount(), all.positions.size(),
                    lo.x, hi.x, lo.y, hi.y, lo.z, hi.z, all.maxRadius());
        ok = model.save(runDir + "/" + entry.path) && ok;
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
