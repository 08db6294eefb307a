#version 330 core

in vec2 texCoord;
in vec3 positionWorld;
in vec3 normalWorld;
flat in vec3 centreWorld;

uniform sampler2D tex;
uniform vec3 camPosWorldSpace;

out vec4 fragColor;

// From lightGauss.frag: ambient, own glow and the eight point lights on one surface point.
vec3 shadeSurface(vec3 albedo, vec3 position, vec3 normal, vec3 centre, vec3 eye);

void main() {
    vec3 albedo = texture(tex, texCoord).rgb;
    vec3 colour = shadeSurface(albedo, positionWorld, normalize(normalWorld), centreWorld,
                               camPosWorldSpace);
    fragColor = vec4(colour, 1.0);
}
