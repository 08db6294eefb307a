#version 330 core

// Fixed locations: one vertex array serves every program this shader is linked into.
layout(location = 0) in vec4 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texIn;

uniform mat4 modelViewProjectionMatrix;
uniform mat4 world2model;

// World space: the lights and the eye arrive there, so the fragments need no matrix per light.
out vec2 texCoord;
// The model's own position, for pictures looked up by direction (sphereMap.frag).
out vec3 positionModel;
out vec3 positionWorld;
out vec3 normalWorld;
flat out vec3 centreWorld;  // the object's own origin

void main() {
    gl_Position = modelViewProjectionMatrix * position;
    texCoord = texIn;
    positionModel = position.xyz;
    // Objects are only moved, turned and scaled evenly, so the way back to the world is the
    // transpose of world2model's turn times the squared scale: no matrix inverse per vertex.
    mat3 turn = mat3(world2model);
    mat3 back = transpose(turn) * (1.0 / dot(turn[0], turn[0]));
    vec3 shift = world2model[3].xyz;
    positionWorld = back * (position.xyz - shift);
    centreWorld = back * -shift;
    normalWorld = transpose(turn) * normal;
}
