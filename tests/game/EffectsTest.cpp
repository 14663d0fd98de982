// Smoke, explosions and space dust: growth, facing the player, colour and fade, removal, the one
// shared smoke texture, and the dust wrapped around the player.
#include "app/GLWindow.h"
#include "assets/ObjectTexture.h"
#include "game/Explosion.h"
#include "game/SmokeCloud.h"
#include "game/SpaceDust.h"
#include "tests/game/GameWorldTest.h"

#include <cmath>
#include <functional>

using gametest::GameWorldTest;
using testsupport::DebugCapture;
using testsupport::litPixels;

using EffectsTest = GameWorldTest;

namespace {

// Whether a drawing sends anything on to the rasteriser, told by GL's feedback mode.
bool sentOn(const std::function<void()>& draw) {
    std::vector<GLfloat> feedback(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(feedback.size()), GL_3D, feedback.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    return glRenderMode(GL_RENDER) > 0;
}

} // namespace

TEST_F(EffectsTest, PuffsAndExplosionsGrowFaceThePlayerAndGoJustAfterTheirLifetime) {
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
        // The view axis points at the player at the origin: the square shows its face.
        EXPECT_NEAR(effect->getView(0), -0.6f, 1e-4) << e.kind;
        EXPECT_NEAR(effect->getView(2), 0.8f, 1e-4) << e.kind;
        effect->update(e.lifetime / 2);
        EXPECT_FLOAT_EQ(effect->getScale(1), e.finalScale) << e.kind;
        EXPECT_GT(effect->getHealth(), 0.0f) << e.kind << " is alive at exactly its lifetime";
        world->update(0.005); // 0.1 time units more
        EXPECT_EQ(world->size(), 0u) << e.kind;
    }
}

TEST_F(EffectsTest, PuffsShowGreyAndExplosionsOrangeUntilTheGreenIsGoneAndBothFade) {
    gameCamera();
    glEnable(GL_LIGHTING); // lit as in the game: the material colour gives tint and fade
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    auto* unstarted = world->addElement(kKindExplosion);
    unstarted->setPos(0, 0, -100);
    EXPECT_EQ(litPixels(drawWorld()), 0) << "an explosion shows nothing before its first update";
    unstarted->setHealth(0.0f);
    world->update(0.0);

    const struct {
        int kind;
        double age;
        float alpha; // the fade
    } cases[] = {{kKindSmokeCloud, 5, 0.475f},
                 {kKindSmokeCloud, 20, 0.1f},
                 {kKindExplosion, 1, 0.775f},
                 {kKindExplosion, 10, 0.55f}};
    for (const auto& c : cases) {
        Object3D* effect = world->addElement(c.kind);
        effect->setPos(0, 0, -50);
        effect->update(c.age);
        drawWorld();
        const std::uint32_t p = pixelAt(kWidth / 2, kHeight / 2);
        const int r = int(p >> 24), g = int((p >> 16) & 0xff), b = int((p >> 8) & 0xff);
        float diffuse[4];
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        EXPECT_NEAR(diffuse[3], c.alpha, 1e-6) << c.kind << " at " << c.age;
        EXPECT_GT(r, 10) << c.kind << " at " << c.age;
        if (c.kind == kKindSmokeCloud) {
            EXPECT_TRUE(std::abs(r - g) < 8 && std::abs(g - b) < 8) << "grey";
        } else {
            EXPECT_TRUE(c.age < 5 ? r > g && g > b : g == 0) << r << " " << g << " " << b;
        }
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_ALPHA_TEST))
            << "an effect leaves texturing and the alpha test off";
        effect->setHealth(0.0f);
        world->update(0.0);
    }
}

TEST_F(EffectsTest, ANearerExplosionIsDrawnFirstAndHidesWhatOfAFartherOneLiesBehindIt) {
    // The game's world pass: lit, additive, the alpha cut, depth tested and written.
    gameCamera();
    ApplySolidState(GL_FRONT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glAlphaFunc(GL_GREATER, 0.1f);
    Object3D* far = world->addElement(kKindExplosion); // the older one comes first in the world
    far->setPos(0.0f, 0.0f, -90.0f);
    far->update(3.0);
    Object3D* near = world->addElement(kKindExplosion);
    near->setPos(4.0f, 0.0f, -60.0f);
    near->update(3.0);
    const std::vector<std::uint8_t> both = drawWorld();
    far->setVisible(false);
    const std::vector<std::uint8_t> nearAlone = drawWorld();
    int behind = 0;
    int differ = 0;
    for (std::size_t i = 0; i < both.size(); i += 4) {
        if (nearAlone[i] > 0) {
            ++behind;
            differ += both[i] != nearAlone[i] ? 1 : 0;
        }
    }
    EXPECT_GT(behind, 1000);
    EXPECT_EQ(differ, 0) << "the farther one shows through the nearer one";
    EXPECT_GT(litPixels(both), litPixels(nearAlone)) << "but around it, it shows";
}

TEST_F(EffectsTest, TrimmedEffectsDrawTheSamePixelsAndNothingOnceFadedOut) {
    // As in the game's world pass: lit by the ship's lamp, additive, the frame's alpha cut and
    // the world scissored to the canopy. Close and off to one side, the lamp shades the square
    // unevenly, so only the very same square gives the very same pixels.
    gameCamera();
    ApplySolidState(GL_FRONT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glAlphaFunc(GL_GREATER, 0.1f);
    glScissor(0, 150, kWidth, 618);
    glEnable(GL_SCISSOR_TEST);
    const struct {
        int kind;
        double age;   // time units
        bool showing; // the alpha test lets something through
    } cases[] = {{kKindSmokeCloud, 5, true},    {kKindSmokeCloud, 15, true},
                 {kKindSmokeCloud, 19.5, true}, {kKindSmokeCloud, 20, false},
                 {kKindSmokeCloud, 39, false},  {kKindExplosion, 20, true},
                 {kKindExplosion, 27.5, true},  {kKindExplosion, 28, false}};
    for (int filter : {kFilterPoint, kFilterBilinear, kFilterTrilinearMipmap}) {
        world->iTextureFilter = filter;
        for (const auto& c : cases) {
            Object3D* effect = world->addElement(c.kind);
            effect->setPos(c.kind == kKindExplosion ? 40.0f : 12.0f, -6.0f, -30.0f);
            effect->update(c.age);
            std::vector<std::uint8_t> pictures[2];
            float diffuse[2][4];
            for (int trimmed = 0; trimmed < 2; ++trimmed) {
                world->drawingShortcuts =
                    trimmed ? kShortcutsAll : kShortcutsAll & ~kShortcutEffects;
                pictures[trimmed] = drawWorld();
                glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse[trimmed]);
                GLint scissor[4];
                glGetIntegerv(GL_SCISSOR_BOX, scissor);
                EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST) && scissor[1] == 150 && scissor[3] == 618);
            }
            const auto what = [&] {
                return testing::Message() << c.kind << " at " << c.age << ", filter " << filter;
            };
            EXPECT_TRUE(pictures[0] == pictures[1]) << what();
            EXPECT_EQ(litPixels(pictures[1]) > 0, c.showing) << what();
            EXPECT_EQ(diffuse[0][3], diffuse[1][3]) << what() << ": the same material is left";
            effect->setHealth(0.0f);
            world->update(0.0);
        }
    }
    // Long faded, a puff's square is not even sent to the rasteriser; plain, it still is.
    Object3D* gone = world->addElement(kKindSmokeCloud);
    gone->setPos(0.0f, 0.0f, -30.0f);
    for (const auto& [step, sentTrimmed] : {std::pair{5.0, true}, std::pair{34.0, false}}) {
        gone->update(step); // aged 5, then 39 time units
        for (int trimmed = 0; trimmed < 2; ++trimmed) {
            world->drawingShortcuts = trimmed ? kShortcutsAll : kShortcutsAll & ~kShortcutEffects;
            EXPECT_EQ(sentOn([&] { world->draw(); }), sentTrimmed || trimmed == 0)
                << "after " << step << (trimmed ? ", trimmed" : ", plain");
        }
    }
    gone->setHealth(0.0f);
    world->update(0.0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE); // the wireframe shows every square's edges
    Object3D* faded = world->addElement(kKindSmokeCloud);
    faded->setPos(0.0f, 0.0f, -30.0f);
    faded->update(30.0);
    world->drawingShortcuts = kShortcutsAll & ~kShortcutEffects;
    const std::vector<std::uint8_t> plain = drawWorld();
    world->drawingShortcuts = kShortcutsAll;
    EXPECT_TRUE(drawWorld() == plain);
}

TEST_F(EffectsTest, AllPuffsAndExplosionsShareOneTextureUntilTheFilterChanges) {
    Object3D* first = world->addElement(kKindSmokeCloud); // the first may load it
    const int texturesBefore = liveTextures();
    DebugCapture log;
    for (int i = 0; i < 100; ++i) {
        Object3D* effect = world->addElement(i % 2 ? kKindSmokeCloud : kKindExplosion);
        EXPECT_EQ(effect->getTexture(), first->getTexture());
        effect->setHealth(0.0f);
    }
    world->update(0.0);
    EXPECT_EQ(liveTextures(), texturesBefore);
    EXPECT_EQ(log.count("SmokeCloud::init(): texture loaded/created successfully.\n"), 50);
    EXPECT_EQ(log.count("Explosion::init(): texture loaded/created successfully.\n"), 50);

    world->iTextureFilter = kFilterTrilinearMipmap;
    Object3D* after = world->addElement(kKindExplosion);
    EXPECT_NE(after->getTexture(), first->getTexture());
    EXPECT_EQ(world->addElement(kKindSmokeCloud)->getTexture(), after->getTexture());
    GLint minFilter = 0;
    glBindTexture(GL_TEXTURE_2D, after->getTexture()->getTextureId());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(EffectsTest, ListsThatPuffsAndShieldsCompileForThemselvesGoWithThem) {
    for (int kind : {kKindSmokeCloud, kKindShield}) {
        Object3D* effect = world->addElement(kind);
        const unsigned list = effect->createDisplayList();
        EXPECT_TRUE(glIsList(list)) << kind;
        effect->setHealth(0.0f);
        world->update(0.0);
        EXPECT_FALSE(glIsList(list)) << kind;
    }
}

TEST_F(EffectsTest, DustFillsTheCubeAroundThePlayerAndSpins) {
    player->setPos(1000, -2000, 3000);
    auto* dust = static_cast<SpaceDust*>(world->addElement(kKindSpaceDust));
    EXPECT_EQ(dust->getFollow(), player.get());
    // The farthest grain from the player on each axis, each way.
    std::vector<float> spread(6, 0.0f);
    for (int g = 0; g < SpaceDust::kGrainCount; ++g) {
        for (int i = 0; i < 3; ++i) {
            const float offset = dust->grain(g).pos[i] - player->getPos(i);
            spread[i] = std::fmin(spread[i], offset);
            spread[3 + i] = std::fmax(spread[3 + i], offset);
        }
    }
    for (float bound : spread) {
        EXPECT_GT(std::fabs(bound), 240.0f) << "spread over the whole cube";
        EXPECT_LE(std::fabs(bound), 250.0f);
    }
    const float angle = dust->grain(7).angle;
    for (int frame = 0; frame < 100; ++frame) {
        world->update(0.05);
    }
    EXPECT_NEAR(dust->grain(7).angle, std::fmod(angle + 1000.0f, 360.0f), 1e-2)
        << "10 degrees per time unit, kept below a full turn";
    EXPECT_EQ(count<SpaceDust>(), 1) << "never removed";
}

TEST_F(EffectsTest, DustWrapsAroundThePlayerBeyondHalfTheCube) {
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

TEST_F(EffectsTest, BeyondTheCapNoPuffOrExplosionIsMadeUntilOneGoes) {
    platform::setDebugLog(""); // each effect made says so
    for (int i = 0; i < kMaxLiveEffects - 1; ++i) {
        world->addElement(i % 2 == 0 ? kKindSmokeCloud : kKindExplosion)->setPos(0, 0, 500);
    }
    Object3D* shot = world->addElement(kKindWurst);
    shot->setPos(0, 0, -100);
    const struct {
        int kind;
        bool made;
        int liveAfter;
    } tries[] = {
        {kKindExplosion, true, kMaxLiveEffects},   // one below the cap
        {kKindSmokeCloud, false, kMaxLiveEffects}, // at it
        {kKindExplosion, false, kMaxLiveEffects},  // and still at it: never above
    };
    for (const auto& attempt : tries) {
        EXPECT_EQ(world->addElement(attempt.kind) != nullptr, attempt.made) << attempt.kind;
        EXPECT_EQ(world->liveEffects(), attempt.liveAfter);
    }
    DebugCapture capture;
    shot->update(1.0); // would drop a puff
    shot->hit(40.0f);  // would burst
    EXPECT_FLOAT_EQ(shot->getHealth(), -39.0f) << "the hit itself still lands";
    EXPECT_FALSE(capture.contains("init()")) << "no effect made";
    EXPECT_EQ(world->liveEffects(), kMaxLiveEffects);

    for (auto& element : *world) { // one puff goes
        if (element->getKind() == kKindSmokeCloud) {
            element->setHealth(0.0f);
            break;
        }
    }
    world->update(0.0);
    EXPECT_EQ(world->liveEffects(), kMaxLiveEffects - 1);
    EXPECT_NE(world->addElement(kKindExplosion), nullptr) << "room again";
    platform::setDebugLog("stderr");
}
