#version 330 core

// One glyph quad, moved into place per character by worldViewMatrix.
in vec4 position;
uniform mat4 worldViewMatrix;

out vec2 glyphCoord;

void main() {
    // The quad's left and bottom edges lie on -1 and its other edges inside the frame, so each
    // corner tells which picture corner it shows without a texture-coordinate attribute.
    glyphCoord = vec2(greaterThan(position.xy, vec2(-1.0)));
    gl_Position = worldViewMatrix * position;
}
