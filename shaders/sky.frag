#version 330 core

in vec2 texCoord;

uniform sampler2D tex;

// Same layout as in lightGauss.frag; the sky reads only the ambient strength.
layout(std140) uniform Light {
    vec4 ambientLight;   // rgb colour, w strength (0.3 at the start; falls below 0 at the end)
    vec4 lightData[3 * LIGHT_COUNT];  // per light: position, colorA (diffuse), colorB (specular); w = brightness
};

layout(std140) uniform Material {
    vec4 materialDiffuse;   // rgb colour, w strength
    vec4 materialSpecular;  // rgb colour, w strength
    float materialGlow;     // the surface's own light
};

out vec4 fragColor;

// The strength the scene starts with: the sky shows its stars untouched at that level.
const float kStartAmbient = 0.3;

void main() {
    // The point lights never reach the sky; only the ambient fade dims it, down to black.
    float fade = clamp(ambientLight.w / kStartAmbient, 0.0, 1.0);
    fragColor = vec4(texture(tex, texCoord).rgb * ((1.0 + materialGlow) * fade), 1.0);
}
