#pragma once

class MainGame;
struct RendererSet;

// What runs beside the game in its frames (the bot, frame capture, a frame limit); the game
// itself needs none of it. Called only in frames that have a game.
class FrameHooks {
  public:
    virtual ~FrameHooks() = default;
    // After the input step, before the game's update reads its input.
    virtual void beforeUpdate(MainGame& game) = 0;
    // The frame is drawn into the back buffer and not presented yet.
    virtual void beforeSwap(MainGame& game) = 0;
    // The frame is presented; false ends the loop after it.
    virtual bool afterSwap(MainGame& game) = 0;
};

// The head of every frame: Escape closes, F2 held draws wireframe, F5 frees the cursor (for
// good; otherwise a pause frees it until the game goes on), F11 switches full screen on and off.
void processInput();
// Sky, lit scene and text: the frame before the glow step.
void drawSceneAndText(RendererSet& renderers);
// The drawing steps of a frame after the clear: sky, lit scene, text, glow.
void drawFrame(RendererSet& renderers);
// One frame from the input step to the swap; false when the loop should end after it.
// Without a game (tests) the frame is only cleared and presented.
bool runFrame(MainGame* game, FrameHooks* hooks = nullptr);
// Runs frames until Escape, a close request, SIGINT or SIGTERM, or the hooks end it. Returns the
// number of frames.
long runFrameLoop(MainGame* game, FrameHooks* hooks = nullptr);