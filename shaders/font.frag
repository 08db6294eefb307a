#version 330 core

in vec2 glyphCoord;
uniform sampler2D fontTexture;

out vec4 fragColor;

void main() {
    fragColor = vec4(texture(fontTexture, glyphCoord).rgb, 1.0);
}
