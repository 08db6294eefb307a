#version 330 core

// One direction of the glow blur: "blurDirection" 1 along x, 0 along y.

in vec2 screenCoord;

uniform sampler2D glowTexture;
uniform int blurDirection;

out vec4 fragColor;

// A Gaussian of 5 pixels deviation out to 12 pixels: an orb is only a few pixels across and its
// halo should reach well beyond its rim. Each fetch lies between two texels so that linear
// filtering weighs both: 25 taps in 13 fetches.
const float kCentreWeight = 0.080780;
const float kOffsets[6] = float[](1.485004, 3.465057, 5.445221, 7.425557, 9.406127, 11.386986);
const float kWeights[6] = float[](0.153750, 0.126131, 0.088315, 0.052777, 0.026919, 0.011718);

// The blurred glow is faint far from an orb, too faint for 8 bits a channel: the blurred
// targets hold its square root, which the next pass and the composite square again. The first
// pass (along x) reads the scene pass's plain glow.
vec3 fetch(vec2 at, bool stored) {
    vec3 glow = texture(glowTexture, at).rgb;
    return stored ? glow * glow : glow;
}

void main() {
    vec2 texel = 1.0 / vec2(textureSize(glowTexture, 0));
    bool alongX = blurDirection == 1;
    vec2 axis = alongX ? vec2(texel.x, 0.0) : vec2(0.0, texel.y);
    vec3 glow = fetch(screenCoord, !alongX) * kCentreWeight;
    for (int i = 0; i < 6; ++i) {
        vec2 offset = axis * kOffsets[i];
        glow += (fetch(screenCoord + offset, !alongX) + fetch(screenCoord - offset, !alongX)) *
                kWeights[i];
    }
    fragColor = vec4(sqrt(glow), 1.0);
}
