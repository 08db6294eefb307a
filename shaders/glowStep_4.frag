#version 330 core

// Composite over the window, blended with (source alpha, one minus source alpha): the alpha
// written here is how much of the window pixel is replaced, so wherever nothing glows and
// everything is in focus it is 0 and the window keeps what the other renderers drew.

in vec2 screenCoord;

uniform sampler2D tex1;  // the unblurred glow source (bound, not needed by this look)
uniform sampler2D tex2;  // blurred glow
uniform sampler2D tex3;  // softened picture: (colour, blur weight)

out vec4 fragColor;

// The blur spreads an orb's light over a far larger area; this brings the halo near the rim
// back to full strength.
const float kGlowGain = 5.0;

void main() {
    vec4 focus = texture(tex3, screenCoord);
    vec3 glow = texture(tex2, screenCoord).rgb * kGlowGain;
    float glowCover = min(max(glow.r, max(glow.g, glow.b)), 1.0);
    // The softened copy replaces the window by its blur weight, and the halo lies over that as
    // white light of its own strength: every channel moves towards 1, none ever down, which no
    // tinted halo could promise over a window picture it cannot see.
    float cover = focus.a + glowCover - focus.a * glowCover;
    vec3 colour = focus.rgb * focus.a * (1.0 - glowCover) + vec3(glowCover);
    fragColor = vec4(colour / max(cover, 1e-6), cover);
}
