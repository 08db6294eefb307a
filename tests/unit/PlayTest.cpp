// Pause, help and play again: what the player switches besides steering the alien.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "TestGame.h"
#include "app/Overlay.h"
#include "app/SoundKeys.h"

using platform::Key;

namespace {

// Every number the game moves, in one list: equal lists, equal games.
std::vector<float> state(const TestGame& game) {
    std::vector<float> values;
    auto add = [&](glm::vec4 v) { values.insert(values.end(), {v.x, v.y, v.z, v.w}); };
    const Scene& scene = *game.scene;
    for (const SceneObject* object : {scene.alien, static_cast<SceneObject*>(scene.sky)}) {
        add(glm::vec4(object->position, 0.0f));
        add(glm::vec4(object->up, 0.0f));
        add(glm::vec4(object->forward, 0.0f));
    }
    add(glm::vec4(scene.camera->eye, scene.camera->distance));
    for (const SceneObject* planet : scene.planets) add(glm::vec4(planet->position, 0.0f));
    for (const LightSource* light : scene.lights) {
        add(glm::vec4(light->object->position, light->object->visible));
        add(light->colorA);
        add(light->colorB);
    }
    add(scene.lightBlock->header);
    values.push_back(static_cast<float>(game.remaining));
    values.push_back(static_cast<float>(game.play.playSeconds));
    return values;
}

// Takes every orb at once: each one is put on the alien.
void takeEveryOrb(TestGame& game) {
    for (OrbController* orb : game.orbs) {
        orb->host = nullptr;
        orb->orb->position = game.scene->alien->position;
    }
    game.update(0.1);
}

}  // namespace

// Two games from one seed: one pauses for a while, with the mouse, wheel and W used meanwhile,
// the other does not. Nothing moves during the pause, and afterwards the paused game goes on
// exactly as if the pause had never been.
TEST(Pause, NothingMovesAndTheGameGoesOnAsIfThePauseHadNeverBeen) {
    TestGame paused(11), straight(11);
    for (TestGame* game : {&paused, &straight}) {
        game->input.press(Key::W);
        game->update(0.0);
        game->update(0.1);
        game->input.press(Key::W, false);
    }
    paused.input.tap(Key::P);
    paused.update(0.1);
    const std::vector<float> frozen = state(paused);
    EXPECT_TRUE(paused.paused() && paused.audio.paused() && paused.overlay.pauseLine->visible);
    paused.input.press(Key::W);
    for (int frame = 0; frame < 10; ++frame) {
        paused.input.cursorX += 40, paused.input.cursorY -= 25, paused.input.wheel += 1;
        paused.update(0.5);
        ASSERT_EQ(state(paused), frozen) << "frame " << frame;
    }
    paused.input.press(Key::W, false);

    paused.input.tap(Key::P);
    paused.update(0.1);
    straight.update(0.1);
    EXPECT_FALSE(paused.paused() || paused.audio.paused() || paused.overlay.pauseLine->visible);
    EXPECT_EQ(state(paused), state(straight));
}

TEST(Pause, IconifyingPausesAndRestoringResumesUnlessPPausedToo) {
    TestGame game(3);
    game.update(0.0);
    game.input.minimised = true;
    game.update(0.1);
    EXPECT_TRUE(game.paused() && game.audio.paused());
    game.input.minimised = false;
    game.update(0.1);
    EXPECT_FALSE(game.paused() || game.audio.paused());

    game.input.tap(Key::P);
    game.update(0.1);
    game.input.minimised = true;
    game.update(0.1);
    game.input.minimised = false;
    game.update(0.1);
    EXPECT_TRUE(game.paused() && game.audio.paused());
    game.input.tap(Key::P);
    game.update(0.1);
    EXPECT_FALSE(game.paused() || game.audio.paused());
}

TEST(Help, F1TogglesThePanelAndTheHintShowsForTheFirstEightSecondsOfPlay) {
    // Only the font's glyphs, and lines of one length, which join into one panel.
    const std::vector<std::string> lines = helpText();
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789: "),
                  std::string::npos)
            << line;
        EXPECT_EQ(line.size(), lines.front().size()) << line;
    }

    TestGame game(5);
    auto panelShown = [&] {
        return std::all_of(game.overlay.helpLines.begin(), game.overlay.helpLines.end(),
                           [](const TextItem* line) { return line->visible; });
    };
    game.update(0.0);
    EXPECT_TRUE(game.overlay.hint->visible);
    EXPECT_FALSE(game.overlay.helpLines.front()->visible);
    game.input.tap(Key::F1);
    game.update(0.1);
    EXPECT_TRUE(panelShown());
    EXPECT_FALSE(game.overlay.hint->visible);
    game.input.tap(Key::F1);
    game.update(0.1);
    EXPECT_FALSE(game.overlay.helpLines.back()->visible);

    // 7.8 s of play with a 20 s pause in the middle: the hint is still up, at 8 s it goes.
    for (int frame = 0; frame < 38; ++frame) game.update(0.2);
    game.input.tap(Key::P);
    game.update(20.0);
    game.input.tap(Key::P);
    game.update(0.2);
    EXPECT_TRUE(game.overlay.hint->visible);
    game.update(0.2);
    EXPECT_FALSE(game.overlay.hint->visible);
}

TEST(PlayAgain, EnterDoesNothingBeforeTheEndAndAfterItStartsAFreshGameAroundTheAlien) {
    struct Draw {
        float phaseSpeed;
        SceneObject* host;
        glm::vec3 offset;
    };
    TestGame game(42);  // draws the orbs' speeds and places right after seeding
    std::vector<Draw> startDraws;
    for (const OrbController* orb : game.orbs)
        startDraws.push_back({orb->phaseSpeed, orb->host, orb->offset});
    const LightStart start = saveLights(*game.scene);
    game.update(0.0);
    game.update(0.1);

    const std::vector<OrbController*> before = game.orbs;
    game.input.tap(Key::Enter);
    game.update(0.1);
    EXPECT_EQ(game.orbs, before);
    EXPECT_EQ(game.remaining, 8);

    takeEveryOrb(game);
    ASSERT_EQ(game.remaining, 0);
    for (int frame = 0; frame < 50; ++frame) game.update(0.1);
    EXPECT_TRUE(game.overlay.playAgainLine->visible);
    EXPECT_LT(game.scene->lightBlock->sceneBrightness(), start.brightness - 0.04f);
    const glm::vec3 alien = game.scene->alien->position;

    std::srand(42);  // the same numbers as at start-up, to see they are drawn the same way
    game.input.tap(Key::Enter);
    game.update(0.0);
    EXPECT_EQ(game.remaining, 8);
    EXPECT_EQ(game.score(), "fyrel: 8 von 8");
    EXPECT_FALSE(game.overlay.playAgainLine->visible);
    EXPECT_EQ(game.scene->lightBlock->sceneBrightness(), start.brightness);
    EXPECT_EQ(game.scene->alien->position, alien);
    ASSERT_EQ(game.orbs.size(), startDraws.size());
    for (size_t k = 0; k < game.orbs.size(); ++k) {
        const OrbController& orb = *game.orbs[k];
        EXPECT_TRUE(orb.active && orb.orb->visible) << "orb " << k;
        EXPECT_EQ(orb.phaseSpeed, startDraws[k].phaseSpeed) << "orb " << k;
        EXPECT_EQ(orb.host, startDraws[k].host) << "orb " << k;
        // The same point on the planet; the planet has moved since, which rounds differently.
        EXPECT_LT(glm::distance(orb.offset, startDraws[k].offset), 1e-4f) << "orb " << k;
        // Colours as at the start; the pulse has set the brightness of the first frame.
        EXPECT_EQ(glm::vec3(orb.light->colorA), glm::vec3(start.colours[k].first));
        EXPECT_EQ(glm::vec3(orb.light->colorB), glm::vec3(start.colours[k].second));
    }
}

TEST(SoundKeys, StepsOfTenWithinTheRangeAndTheLineShowsForTwoSeconds) {
    struct Step {
        SoundLevel before;
        SoundKey key;
        SoundLevel after;
    };
    for (const Step& step : std::vector<Step>{{{100, false}, SoundKey::Raise, {100, false}},
                                              {{100, false}, SoundKey::Lower, {90, false}},
                                              {{75, false}, SoundKey::Lower, {70, false}},
                                              {{75, true}, SoundKey::Raise, {80, false}},
                                              {{0, false}, SoundKey::Lower, {0, false}},
                                              {{40, false}, SoundKey::Mute, {40, true}},
                                              {{40, true}, SoundKey::Mute, {40, false}}}) {
        const SoundLevel after = afterSoundKey(step.before, step.key);
        EXPECT_EQ(after.volume, step.after.volume) << step.before.volume;
        EXPECT_EQ(after.off, step.after.off) << step.before.volume;
    }
    EXPECT_EQ(soundLine({70, false}, true), "volume 70");
    EXPECT_EQ(soundLine({70, true}, true), "sound off");

    // No audio device is open here, as with --mute: the keys change nothing and say so.
    TestGame game(1);
    game.update(0.0);
    game.update(0.1);  // the first step is 0, as in every game
    game.input.tap(Key::PadPlus);
    game.update(0.5);
    EXPECT_TRUE(game.overlay.soundLine->visible);
    EXPECT_EQ(game.overlay.soundLine->text, "no sound device");
    EXPECT_EQ(game.audio.volume(), 100);
    game.update(1.4);
    EXPECT_TRUE(game.overlay.soundLine->visible);
    game.update(0.2);
    EXPECT_FALSE(game.overlay.soundLine->visible);
}

// The time of a game runs from its first update to its last orb, without the pauses; only a
// faster game is kept, and the line under "enter: play again" says how it went.
TEST(GameTime, LeavesPausesOutAndOnlyAFasterGameIsKept) {
    TestGame game(42);
    std::vector<double> kept;
    game.keepBestTime = [&](double seconds) { kept.push_back(seconds); };
    game.bestSeconds = 130.0;
    game.update(0.0);
    game.update(0.1);  // the first step is 0, as in every game
    game.update(0.5);
    game.input.tap(Key::P);
    game.update(0.5);
    game.update(100.0);
    game.input.tap(Key::P);
    game.update(0.5);
    takeEveryOrb(game);
    EXPECT_NEAR(game.gameSeconds, 1.1, 1e-6);
    for (int frame = 0; frame < 10; ++frame) game.update(0.1);
    EXPECT_NEAR(game.gameSeconds, 1.1, 1e-6);
    EXPECT_EQ(kept, std::vector<double>{game.gameSeconds});
    EXPECT_TRUE(game.overlay.timeLine->visible);
    EXPECT_EQ(game.overlay.timeLine->text, "time 0:01  new best");

    game.input.tap(Key::Enter);
    game.update(0.1);
    EXPECT_FALSE(game.overlay.timeLine->visible);
    game.update(2.0);
    takeEveryOrb(game);
    EXPECT_EQ(game.overlay.timeLine->text, "time 0:02  best 0:01");
    EXPECT_EQ(kept.size(), 1u);
}
