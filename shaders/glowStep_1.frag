#version 330 core

// Scene pass of the glow renderer: the alien, planets and orbs once more, into two targets.
//   glowSource:  what shines. Orbs write their halo strength at their pulsing brightness; the
//                alien and the planets write black but, by writing depth, hide orbs behind them.
//   focusSource: how far out of focus a surface is, in alpha. Its colour channels are masked:
//                they already hold a copy of the finished window picture, so the blur works on
//                exactly what the lit renderer drew, and no lighting is done twice.
// The pass draws only where the renderer found something glowing or out of focus.

// From basic.vert, in world space.
in vec2 texCoord;
in vec3 positionWorld;
in vec3 normalWorld;

uniform sampler2D tex;
uniform vec3 camPosWorldSpace;
// (distance behind the focus at which the blur is full, view-space depth of the focus,
//  minus the distance in front of it at which the blur is full, curve of the blur ramp)
uniform vec4 depthLayer;
// 1 for surfaces that only hide glow, 0 for the orbs.
uniform int shouldDiscard;
// The drawn orb's brightness: the pulse of the light it carries.
uniform float glowStrength;

layout(location = 0) out vec4 glowSource;
layout(location = 1) out vec4 focusSource;

// From lightGauss.frag: 1 at the start, falling to 0 as the scene goes dark.
float sceneFade();

// Depth on either side of the focus that stays fully sharp: the alien and the planet it walks
// on. Keep in step with GlowRenderer.cpp, which decides on the same rule where to blur.
const float kSharpDepth = 20.0;
// Below this the softened copy would change nothing visible.
const float kMinBlur = 1.0 / 64.0;

float blurAmount() {
    // For a perspective projection 1 / w is the distance along the view axis.
    float viewZ = -1.0 / gl_FragCoord.w;
    float ahead = viewZ - depthLayer.y;
    float range = ahead > 0.0 ? -depthLayer.z : depthLayer.x;
    float spread = max(abs(ahead) - kSharpDepth, 0.0) / range;
    float blur = min(pow(spread, depthLayer.w), 1.0);
    return blur < kMinBlur ? 0.0 : blur;
}

// An orb shines brightest where it faces the viewer and where its picture is bright. (This also
// keeps "normal" and "texIn" in use: the objects' vertex arrays are made against this program
// and then serve the lit renderer as well, so all three attributes must stay active.)
float orbGlow() {
    vec3 toEye = normalize(camPosWorldSpace - positionWorld);
    float facing = max(dot(normalize(normalWorld), toEye), 0.0);
    float picture = dot(texture(tex, texCoord).rgb, vec3(0.299, 0.587, 0.114));
    return (0.5 + 0.5 * facing) * (0.75 + 0.25 * picture) * max(glowStrength, 0.0) * sceneFade();
}

void main() {
    glowSource = shouldDiscard != 0 ? vec4(0.0) : vec4(vec3(orbGlow()), 1.0);
    focusSource = vec4(0.0, 0.0, 0.0, blurAmount());
}
