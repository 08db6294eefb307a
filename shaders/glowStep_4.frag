#version 330 core

// Composite over the window, blended with (source alpha, one minus source alpha): the alpha
// written here is how much of the window pixel is replaced, so wherever nothing glows and
// everything is in focus it is 0 and the window keeps what the other renderers drew.

in vec2 screenCoord;

uniform sampler2D tex1;  // the unblurred glow source (bound, not needed by this look)
uniform sampler2D tex2;  // blurred glow, stored as its square root
uniform sampler2D tex3;  // softened picture: (colour, blur weight)

out vec4 fragColor;

// The blur spreads an orb's light over a far larger area, so a distant orb a few pixels across
// leaves only a trace of it. The halo's cover rises steeply from that trace and saturates
// softly, so far orbs still shine and near ones do not flood their surroundings.
const float kGlowGain = 18.0;

void main() {
    vec4 focus = texture(tex3, screenCoord);
    vec3 stored = texture(tex2, screenCoord).rgb;
    vec3 glow = stored * stored;
    float glowCover = 1.0 - exp(-kGlowGain * max(glow.r, max(glow.g, glow.b)));
    // The softened copy replaces the window by its blur weight, and the halo lies over that as
    // white light of its own strength: every channel moves towards 1, none ever down, which no
    // tinted halo could promise over a window picture it cannot see.
    float cover = focus.a + glowCover - focus.a * glowCover;
    vec3 colour = focus.rgb * focus.a * (1.0 - glowCover) + vec3(glowCover);
    fragColor = vec4(colour / max(cover, 1e-6), cover);
}
