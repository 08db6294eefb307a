#version 330 core

// The full-screen quad of the blur and composite passes. The location is fixed so that one
// vertex array serves all three programs this shader is linked into.
layout(location = 0) in vec4 position;

out vec2 screenCoord;

void main() {
    screenCoord = position.xy * 0.5 + 0.5;
    gl_Position = position;
}
