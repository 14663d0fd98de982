// Smoke, explosions and space dust: ageing, growth, facing the player, fading, removal, the one
// shared smoke texture, and the dust wrapped around the player.
#include "assets/ObjectTexture.h"
#include "game/Explosion.h"
#include "game/SmokeCloud.h"
#include "game/SpaceDust.h"
#include "tests/game/GameWorldTest.h"

#include <cmath>

using gametest::GameWorldTest;
using testsupport::DebugCapture;
using testsupport::litPixels;

namespace {

class EffectsTest : public GameWorldTest {
protected:
    // The front material colour the last drawn effect left behind.
    static std::vector<float> frontDiffuse() {
        std::vector<float> colour(4);
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, colour.data());
        return colour;
    }
    // Lit as in the game, where the material colours give the effect its tint and fade; only
    // the global ambient light shines.
    void litLikeTheGame() {
        gameCamera();
        glEnable(GL_LIGHTING);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    }
    void TearDown() override {
        glDisable(GL_LIGHTING);
        glBlendFunc(GL_ONE, GL_ZERO);
        GameWorldTest::TearDown();
    }
    // RGB at the middle of the screen.
    std::vector<int> centre() const {
        const std::uint32_t p = pixelAt(kWidth / 2, kHeight / 2);
        return {int(p >> 24), int((p >> 16) & 0xff), int((p >> 8) & 0xff)};
    }
};

} // namespace

TEST_F(EffectsTest, PuffsAndExplosionsGrowFaceThePlayerAndGoAfterTheirLifetime) {
    const struct {
        int kind;
        double lifetime;  // time units
        float finalScale; // times the 20-unit square
    } effects[] = {{kKindSmokeCloud, 40.0, 4.0f}, {kKindExplosion, 30.0, 15.0f}};
    for (const auto& e : effects) {
        Object3D* effect = world->addElement(e.kind);
        effect->setPos(300, 0, -400);
        effect->update(e.lifetime / 2);
        EXPECT_FLOAT_EQ(effect->getScale(0), e.finalScale / 2) << e.kind;
        EXPECT_FLOAT_EQ(effect->getScale(2), e.finalScale / 2) << e.kind;
        // The view axis points at the player at the origin: the square shows its face.
        EXPECT_NEAR(effect->getView(0), -0.6f, 1e-4) << e.kind;
        EXPECT_NEAR(effect->getView(2), 0.8f, 1e-4) << e.kind;
        effect->update(e.lifetime / 2);
        EXPECT_FLOAT_EQ(effect->getScale(1), e.finalScale) << e.kind;
        EXPECT_GT(effect->getHealth(), 0.0f) << e.kind << " is alive at exactly its lifetime";
        world->update(0.005); // 0.1 time units more
        EXPECT_EQ(world->size(), 0u) << e.kind;
    }
    // An explosion starts on its first update, even one without time.
    auto* burst = static_cast<Explosion*>(world->addElement(kKindExplosion));
    EXPECT_FALSE(burst->isStarted());
    burst->update(0.0);
    EXPECT_TRUE(burst->isStarted());
    EXPECT_FLOAT_EQ(burst->getScale(0), 0.005f);
}

TEST_F(EffectsTest, APuffShowsGreyAndFadesFromSixTenths) {
    auto* cloud = static_cast<SmokeCloud*>(world->addElement(kKindSmokeCloud));
    cloud->setPos(0, 0, -50);
    cloud->update(5.0); // 10 units wide
    litLikeTheGame();
    drawWorld();
    const std::vector<int> rgb = centre();
    EXPECT_GT(rgb[0], 10);
    EXPECT_NEAR(rgb[0], rgb[1], 8) << "grey";
    EXPECT_NEAR(rgb[1], rgb[2], 8) << "grey";
    EXPECT_NEAR(frontDiffuse()[3], 0.6f - 5.0f / 40.0f, 1e-6);

    cloud->setAge(20.0);
    cloud->draw();
    const std::vector<float> faded = frontDiffuse();
    EXPECT_FLOAT_EQ(faded[0], 0.5f);
    EXPECT_NEAR(faded[3], 0.1f, 1e-6);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_BLEND) || glIsEnabled(GL_ALPHA_TEST))
        << "an effect leaves texturing, blending and the alpha test off";
}

TEST_F(EffectsTest, AnExplosionIsUnseenUntilItsFirstUpdateThenOrangeAndFading) {
    auto* burst = static_cast<Explosion*>(world->addElement(kKindExplosion));
    burst->setPos(0, 0, -100);
    litLikeTheGame();
    EXPECT_EQ(litPixels(drawWorld()), 0) << "nothing before the first update";

    burst->update(1.0); // 10 units wide, facing the player
    drawWorld();
    std::vector<int> rgb = centre();
    EXPECT_GT(rgb[0], 20) << "a visible flash";
    EXPECT_GT(rgb[0], rgb[1]) << "orange: more red than green";
    EXPECT_GT(rgb[1], rgb[2]) << "orange: some green, no blue";
    std::vector<float> colour = frontDiffuse();
    EXPECT_FLOAT_EQ(colour[0], 0.5f);
    EXPECT_NEAR(colour[1], 0.1f, 1e-6);
    EXPECT_FLOAT_EQ(colour[2], 0.0f);
    EXPECT_NEAR(colour[3], 0.775f, 1e-6);

    burst->update(9.0); // age 10: the green is gone, the flash is red
    drawWorld();
    rgb = centre();
    EXPECT_GT(rgb[0], 0);
    EXPECT_EQ(rgb[1], 0);
}

TEST_F(EffectsTest, AllPuffsAndExplosionsShareOneTextureAndMakeNoneOfTheirOwn) {
    world->addElement(kKindSmokeCloud); // the first may load it
    const int texturesBefore = liveTextures();
    DebugCapture log;
    std::vector<Object3D*> effects;
    for (int i = 0; i < 100; ++i) {
        effects.push_back(world->addElement(i % 2 ? kKindSmokeCloud : kKindExplosion));
    }
    EXPECT_EQ(liveTextures(), texturesBefore);
    for (Object3D* effect : effects) {
        EXPECT_EQ(effect->getTexture(), effects.front()->getTexture());
        effect->setHealth(0.0f);
    }
    world->update(0.0);
    EXPECT_EQ(world->size(), 1u);
    EXPECT_EQ(liveTextures(), texturesBefore);

    // Each still says how its texture went.
    EXPECT_EQ(log.count("SmokeCloud::init(): texture loaded/created successfully.\n"), 50);
    EXPECT_EQ(log.count("Explosion::init(): texture loaded/created successfully.\n"), 50);
}

TEST_F(EffectsTest, ANewFilterGivesLaterPuffsATextureWithThatFilter) {
    Object3D* before = world->addElement(kKindSmokeCloud);
    world->iTextureFilter = kFilterTrilinearMipmap;
    Object3D* after = world->addElement(kKindSmokeCloud);
    Object3D* another = world->addElement(kKindExplosion);
    EXPECT_NE(after->getTexture(), before->getTexture());
    EXPECT_EQ(after->getTexture(), another->getTexture());
    GLint minFilter = 0;
    glBindTexture(GL_TEXTURE_2D, after->getTexture()->getTextureId());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(EffectsTest, ACompiledPuffListIsTheCloudsOwnAndGoesWithIt) {
    auto* cloud = static_cast<SmokeCloud*>(world->addElement(kKindSmokeCloud));
    const unsigned list = cloud->createDisplayList();
    EXPECT_TRUE(glIsList(list));
    EXPECT_EQ(cloud->getModel()->iDisplayList, list);
    cloud->setHealth(0.0f);
    world->update(0.0);
    EXPECT_FALSE(glIsList(list));
}

// Space dust.

TEST_F(EffectsTest, DustFillsTheCubeAroundThePlayerKeepsUpWithItAndSpins) {
    player->setPos(1000, -2000, 3000);
    auto* dust = static_cast<SpaceDust*>(world->addElement(kKindSpaceDust));
    EXPECT_EQ(dust->getFollow(), player.get());
    // Grain offsets from the player, lowest and highest on each axis.
    auto spread = [&]() {
        std::vector<float> range = {1e9f, 1e9f, 1e9f, -1e9f, -1e9f, -1e9f};
        for (int g = 0; g < SpaceDust::kGrainCount; ++g) {
            for (int i = 0; i < 3; ++i) {
                const float offset = dust->grain(g).pos[i] - player->getPos(i);
                range[i] = std::fmin(range[i], offset);
                range[3 + i] = std::fmax(range[3 + i], offset);
            }
        }
        return range;
    };
    for (float bound : spread()) {
        EXPECT_GT(std::fabs(bound), 240.0f) << "spread over the whole cube";
        EXPECT_LE(std::fabs(bound), 250.0f);
    }
    const float angle = dust->grain(7).angle;
    for (int frame = 0; frame < 100; ++frame) {
        player->setPos(frame * 20.0f, frame * -7.0f, 0.0f);
        world->update(0.05);
    }
    for (float bound : spread()) {
        EXPECT_LE(std::fabs(bound), 250.0f);
    }
    EXPECT_NEAR(dust->grain(7).angle, std::fmod(angle + 1000.0f, 360.0f), 1e-2)
        << "10 degrees per time unit, kept below a full turn";
    EXPECT_EQ(count<SpaceDust>(), 1) << "never removed";
}

TEST_F(EffectsTest, DustWrapsAroundThePlayerAtHalfTheCube) {
    auto* dust = static_cast<SpaceDust*>(world->addElement(kKindSpaceDust));
    player->setPos(100, 0, 0);
    SpaceDust::Grain& ahead = dust->grain(0);
    SpaceDust::Grain& edge = dust->grain(1);
    SpaceDust::Grain& behind = dust->grain(2);
    ahead.pos[0] = 350.5f; // 250.5 ahead on x
    edge.pos[0] = 350.0f;  // exactly 250 ahead
    behind.pos[1] = -250.5f;
    dust->update(0.0);
    EXPECT_FLOAT_EQ(ahead.pos[0], -149.5f) << "249.5 behind";
    EXPECT_FLOAT_EQ(edge.pos[0], 350.0f);
    EXPECT_FLOAT_EQ(behind.pos[1], 249.5f);
}

TEST_F(EffectsTest, DustShowsAsWhiteSpecksAroundThePlayer) {
    world->addElement(kKindSpaceDust);
    gameCamera();
    glEnable(GL_DEPTH_TEST);
    std::vector<std::uint8_t> pixels = drawWorld();
    glDisable(GL_DEPTH_TEST);
    int white = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        white += pixels[i] == 255 && pixels[i + 1] == 255 && pixels[i + 2] == 255;
    }
    EXPECT_GT(white, 100);
    EXPECT_LT(white, kWidth * kHeight / 4) << "specks, not a wall";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}
