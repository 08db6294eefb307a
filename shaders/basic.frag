#version 330 core

in vec2 texCoord;
in vec3 positionModel;
in vec3 positionWorld;
in vec3 normalWorld;
flat in vec3 centreWorld;

uniform sampler2D tex;
uniform vec3 camPosWorldSpace;
// Set per object by the renderer: 1 for spheres, whose pictures are looked up by direction;
// 0 for the alien, whose model brings its own texture coordinates.
uniform bool sphereMapped;

out vec4 fragColor;

// From lightGauss.frag: ambient, own glow and the eight point lights on one surface point.
vec3 shadeSurface(vec3 albedo, vec3 position, vec3 normal, vec3 centre, vec3 eye);
// From sphereMap.frag.
vec4 sphereSurface(sampler2D picture, vec3 direction);

void main() {
    vec3 albedo =
        (sphereMapped ? sphereSurface(tex, positionModel) : texture(tex, texCoord)).rgb;
    vec3 colour = shadeSurface(albedo, positionWorld, normalize(normalWorld), centreWorld,
                               camPosWorldSpace);
    fragColor = vec4(colour, 1.0);
}
