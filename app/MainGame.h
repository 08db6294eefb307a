#pragma once

#include <functional>
#include <future>
#include <optional>
#include <vector>

#include "app/GameRules.h"
#include "app/Overlay.h"
#include "app/PlayState.h"
#include "platform/Audio.h"

namespace platform {
class Input;
}

class ModelPool;
struct Scene;
struct TextItem;
struct RendererSet;
struct Player;
struct Orbit;
struct OrbController;
struct CameraController;
namespace Model {
class IModelLoader;
}

// Seconds spent in each start-up stage, for the benchmark.
struct StartupTimes {
    double uploadWarmUp = 0, models = 0, scene = 0, shaders = 0, renderers = 0, audio = 0;
};

// The game object: owns the model pool and loader, the renderers, the game records and the
// sound, builds the scene and runs the per-frame update.
class MainGame {
  public:
    MainGame();
    virtual ~MainGame();
    MainGame(const MainGame&) = delete;
    MainGame& operator=(const MainGame&) = delete;

    // Starts what needs no window (decoding the pictures, the model import, opening the audio
    // device) on worker threads, so that it runs while the window and context are made;
    // start() then waits for it where it needs it. Optional: without it start() does the same
    // work itself.
    void prepareAhead();
    // Waits until that work is done (before the process ends without start()).
    void finishAhead();
    // The whole start-up; false when the game cannot run (no alien model).
    bool start();
    // Stages of start(): the first needs no GL context, so tests can play without a window.
    bool startGame();
    // Creates the game records around a scene and takes ownership of it.
    void adoptScene(Scene* built);
    void startRendering();
    void startAudio();
    // One frame of the game. While paused it only keeps up with the clock and the input
    // (motion made meanwhile is not applied afterwards), so the frame shows the scene as it
    // stood.
    void update();
    bool paused() const { return play.paused(); }
    // Frees every GL object the game made; call while the context is still current.
    void releaseGpuObjects();

    double lastTime = 0.0;
    int remaining = 0;
    int mouseX = 0, mouseY = 0;
    int windowWidth = 0, windowHeight = 0;
    ModelPool* modelPool = nullptr;
    Model::IModelLoader* loader = nullptr;
    RendererSet* renderers = nullptr;
    Scene* scene = nullptr;
    Player* player = nullptr;
    std::vector<Orbit*> orbits;
    std::vector<OrbController*> orbs;
    CameraController* cameraController = nullptr;
    std::vector<TextItem*>* texts = nullptr;
    TextItem* scoreText = nullptr;
    PlayState play;
    Overlay overlay;
    // The lights as the scene set them up: every game starts from them.
    LightStart lightStart;
    platform::Audio audio;
    MouseSettings mouse;
    // Game time of the current game so far: from its first update to its last orb, without
    // pauses.
    double gameSeconds = 0.0;
    // The fastest game known; a faster one replaces it and is handed to keepBestTime, unless
    // that is empty (tests, the bot).
    std::optional<double> bestSeconds;
    std::function<void(double seconds)> keepBestTime;
    StartupTimes startupTimes;

  private:
    std::future<bool> modelsAhead;
    std::future<void> audioAhead;

    // Loads the alien model; false when there is no usable one.
    bool prepareModels();
    Scene* buildScene();
    void addText(const char* text, int x, int y);
    // Orbs placed and timed afresh, every light as at the start, all orbs to collect. Draws from
    // the random numbers in the same order each time.
    void startRound();
    float timeStep(const platform::Input& input);
    void readWindowSize(const platform::Input& input);
    void readSwitches(const platform::Input& input);
    void readSoundKeys(const platform::Input& input);
    void finishGame();
    void stepGame(const platform::Input& input, float dt);
    void holdStill(const platform::Input& input);
    void stepOrbs(float dt);
};
