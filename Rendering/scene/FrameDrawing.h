#pragma once

namespace Rendering {

class BasicRenderer;
class TextRenderer;

// Filled polygons, or only their outlines, for everything drawn from now on.
void setWireframe(bool wireframe);
// Clears colour and depth of the window before a frame is drawn.
void clearFrame();
// The scene: the sky and the lit objects (the sky first, or last when the lit renderer skips
// unseen work), then the text over both.
void drawSceneAndText(BasicRenderer& sky, BasicRenderer& lit, TextRenderer& text);

}  // namespace Rendering
