#include "app/MainGame.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "Model/Mesh.h"
#include "Model/ModelLoaderCollada.h"
#include "Model/ModelPool.h"
#include "Rendering/core/Camera.h"
#include "Rendering/scene/Font.h"
#include "Rendering/scene/SceneryCreator.h"
#include "app/CameraController.h"
#include "app/Controls.h"
#include "app/GameRules.h"
#include "app/OrbController.h"
#include "app/Orbit.h"
#include "app/Player.h"
#include "app/PlayerFiles.h"
#include "app/RendererSet.h"
#include "app/SoundKeys.h"
#include "app/Spheres.h"
#include "infra/Assets.h"
#include "infra/Log.h"
#include "infra/Picture.h"
#include "platform/Input.h"

namespace {

const char* const kAlienModelPath = assets::alienModel;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Every core but one: the start-up thread keeps a core to itself, since everything else waits
// for it.
unsigned decodeThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(cores > 1 ? cores - 1 : 1u, 1u, 4u);
}

}  // namespace

MainGame::MainGame() {
    modelPool = new ModelPool();
    loader = new Model::ModelLoaderCollada();
    renderers = new RendererSet();
    lastTime = 0.0;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

MainGame::~MainGame() {
    // Work started ahead touches the pool and the audio; it must be over before they go.
    finishAhead();
    delete modelPool;
    delete loader;
    delete renderers;
    delete player;
    delete cameraController;
    for (Orbit* orbit : orbits) delete orbit;
    for (OrbController* orb : orbs) delete orb;
    delete scene;
    audio.close();
    releaseAllPictures();
}

void MainGame::prepareAhead() {
    // The scenery creator then finds the pictures decoded.
    prefetchPictures(Rendering::SceneryCreator::pictureFiles(), decodeThreads());
    modelsAhead = std::async(std::launch::async, [this] { return prepareModels(); });
    audioAhead = std::async(std::launch::async, [this] {
        audio.open();
        platform::Audio::releaseThreadData();
    });
}

void MainGame::finishAhead() {
    if (modelsAhead.valid()) modelsAhead.wait();
    if (audioAhead.valid()) audioAhead.wait();
}

bool MainGame::start() {
    // Before the uploads, while the last pictures may still be decoding.
    const auto clock = std::chrono::steady_clock::now();
    renderers->warmUpUploads();
    startupTimes.uploadWarmUp = secondsSince(clock);
    if (!startGame()) return false;
    startRendering();
    startAudio();
    return true;
}

bool MainGame::startGame() {
    auto clock = std::chrono::steady_clock::now();
    const bool alienUsable = modelsAhead.valid() ? modelsAhead.get() : prepareModels();
    startupTimes.models = secondsSince(clock);

    clock = std::chrono::steady_clock::now();
    Scene* built = alienUsable ? buildScene() : nullptr;
    startupTimes.scene = secondsSince(clock);
    if (!built) {
        logFatal(std::string("the alien model could not be loaded from \"") + kAlienModelPath +
                 "\"; the game cannot start without it");
        return false;
    }
    adoptScene(built);
    return true;
}

bool MainGame::prepareModels() {
    modelPool->addLoader(loader);
    modelPool->createModel("alien", kAlienModelPath);
    const int result = modelPool->loadAllModels();
    // A file that is there but does not import (empty, cut short, no mesh in it) leaves the
    // pool an empty mesh; an alien without triangles cannot be played either.
    const Mesh* alien = modelPool->getModel("alien");
    return result == 0 && alien && !alien->positions.empty() && !alien->indices.empty();
}

Scene* MainGame::buildScene() {
    Rendering::SceneryCreator creator(modelPool, new ImageInfo());
    return creator.createScene();
}

void MainGame::adoptScene(Scene* built) {
    scene = built;
    texts = &scene->texts;
    player = new Player(scene->alien);
    player->planet = scene->planets.front();
    player->planetRadius = sphereRadius(player->planet);
    player->planets = &scene->planets;
    orbits = createOrbits(scene->planets);
    lightStart = saveLights(*scene);
    startRound();
    cameraController = new CameraController();
    cameraController->sky = scene->sky;
    cameraController->camera = scene->camera;
    cameraController->cameraPitch = 0.0f;
    addText("fyrel: ", 15, 750);
    overlay = createOverlay(*texts, *scoreText);
}

void MainGame::startRound() {
    for (OrbController* orb : orbs) delete orb;
    restoreLights(*scene, lightStart);
    orbs = createOrbControllers(*scene, &audio);
    remaining = static_cast<int>(scene->lights.size());
    gameSeconds = 0.0;
}

void MainGame::addText(const char* text, int x, int y) {
    scoreText = new TextItem(text);
    scoreText->x = x;
    scoreText->y = y;
    texts->push_back(scoreText);
}

void MainGame::startRendering() {
    renderers->scene = scene;
    auto clock = std::chrono::steady_clock::now();
    renderers->loadShaders();
    startupTimes.shaders = secondsSince(clock);

    clock = std::chrono::steady_clock::now();
    renderers->registerScene();
    renderers->setupRenderers();
    startupTimes.renderers = secondsSince(clock);
}

void MainGame::startAudio() {
    auto clock = std::chrono::steady_clock::now();
    if (audioAhead.valid()) {
        audioAhead.get();
    } else {
        audio.open();
    }
    audio.startMusic(assets::music);
    audio.loadChime(assets::chime);
    startupTimes.audio = secondsSince(clock);
}

void MainGame::update() {
    const platform::Input& input = *platform::input();
    // Where the cursor stood before the first frame is no motion: it only sets the start.
    if (lastTime == 0.0) input.cursorPosition(mouseX, mouseY);
    float dt = timeStep(input);
    readWindowSize(input);
    readSwitches(input);
    readSoundKeys(input);
    if (play.paused()) {
        holdStill(input);
    } else {
        // The play-again line is up: Enter starts the next game in this frame.
        if (remaining == 0 && actionPressed(input, Action::PlayAgain)) startRound();
        stepGame(input, dt);
    }
    showOverlay(overlay, play, remaining == 0, dt);
    audio.update();
}

void MainGame::readSwitches(const platform::Input& input) {
    const bool wasPaused = play.paused();
    play.readInput(input);
    if (play.paused() == wasPaused) return;
    if (play.paused()) {
        audio.pause();
    } else {
        audio.resume();
    }
}

void MainGame::readSoundKeys(const platform::Input& input) {
    const SoundKey key = soundKeyPressed(input);
    if (key == SoundKey::None) return;
    SoundLevel level{audio.volume(), audio.soundOff()};
    if (audio.hasDevice()) {
        level = afterSoundKey(level, key);
        audio.setVolume(level.volume);
        audio.setSoundOff(level.off);
    }
    showSoundLine(overlay, soundLine(level, audio.hasDevice()));
}

void MainGame::finishGame() {
    setTimeLine(overlay, endLine(gameSeconds, bestSeconds));
    if (!isNewBest(gameSeconds, bestSeconds)) return;
    bestSeconds = gameSeconds;
    if (keepBestTime) keepBestTime(gameSeconds);
}

void MainGame::holdStill(const platform::Input& input) {
    input.cursorPosition(mouseX, mouseY);
    cameraController->holdWheel(input.wheelPosition());
}

void MainGame::stepGame(const platform::Input& input, float dt) {
    applyMouse(*player, *cameraController, mouseX, mouseY, input, mouse);
    applyKeyboard(*player, input, dt);
    player->stepPlayer(dt);
    cameraController->stepCamera(input.wheelPosition());
    for (Orbit* orbit : orbits) orbit->stepOrbit(dt);
    const bool playing = remaining > 0;
    if (playing) gameSeconds += dt;
    stepOrbs(dt);
    if (playing && remaining == 0) finishGame();
    scoreText->text = scoreLine(remaining);
    dimStep(*scene->lightBlock, remaining, dt);
    play.playSeconds += dt;
}

float MainGame::timeStep(const platform::Input& input) {
    double now = input.time();
    double dt = lastTime == 0.0 ? 0.0 : now - lastTime;
    lastTime = now;
    return static_cast<float>(dt);
}

void MainGame::readWindowSize(const platform::Input& input) {
    input.windowSize(windowWidth, windowHeight);
    // A minimised window reports height 0: keep the last aspect rather than divide by zero.
    if (windowWidth > 0 && windowHeight > 0) {
        scene->camera->aspect = static_cast<float>(static_cast<double>(windowWidth) / windowHeight);
    }
}

void MainGame::stepOrbs(float dt) {
    for (OrbController* orb : orbs) {
        bool wasActive = orb->active;
        orb->stepOrb(dt);
        if (orb->active != wasActive) --remaining;
        orb->maybeHop(scene->planets, dt);
    }
}

void MainGame::releaseGpuObjects() {
    renderers->releaseGpuObjects();
}
