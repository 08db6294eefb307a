#pragma once

class MainGame;
struct RendererSet;

// Window and context, GL entry points, initial GL state: 0 on success, 1 after logging a failure.
int setupWindow();
// Keeps the viewport on the whole framebuffer.
void onWindowResize(int width, int height);
// The head of every frame: Escape closes, F2 held draws wireframe, F5 frees the cursor.
void processInput();
// The drawing steps of a frame after the clear: sky, lit scene, text, glow.
// Sky, lit scene and text: the frame before the glow step.
void drawSceneAndText(RendererSet& renderers);
void drawFrame(RendererSet& renderers);
// One frame from the input step to the swap; false when the loop should end after it.
// Without a game (tests) the frame is only cleared and presented.
bool runFrame(MainGame* game);
// Runs frames until Escape or a close request; a positive maxFrames also ends it after that
// many frames. Returns the number of frames run.
long runFrameLoop(MainGame* game, long maxFrames = 0);
// Closes the window library (harmless when it is closed already) and logs the end.
void shutdownWindow();
