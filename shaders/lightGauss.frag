#version 330 core

// The scene's lighting, linked as a second fragment shader next to basic.frag (the lit pass)
// and glowStep_1.frag (the glow pass). It has no main(); a shader that uses it declares the
// functions it calls:
//   float gaussFalloff(float worldDistance);  // reach of a point light, 1 at the light
//   float sceneFade();                        // 1 at the start, 0 once the scene has gone dark
//   vec3 shadeSurface(vec3 albedo, vec3 position, vec3 normal, vec3 centre, vec3 eye);
// All in world space: basic.vert's positionWorld, normalWorld (normalised) and centreWorld, and
// the uniform camPosWorldSpace as the eye. A shader that declares "Light" or "Material" itself
// must copy the declarations below exactly. LIGHT_COUNT, the number of lights, is defined by
// the shader compiler.

layout(std140) uniform Light {
    vec4 ambientLight;   // rgb colour, w strength (0.3 at the start; falls below 0 at the end)
    vec4 lightData[3 * LIGHT_COUNT];  // per light: position, colorA (diffuse), colorB (specular); w = brightness
};

layout(std140) uniform Material {
    vec4 materialDiffuse;   // rgb colour, w strength
    vec4 materialSpecular;  // rgb colour, w strength
    float materialGlow;     // the surface's own light
};

// Set by the renderer. Beyond lightCutoff from a surface point a light is not worth its cost
// (three deviations of kReach out it adds about 1 %). lightIndex holds, in block order, the
// lightCount lights that can reach the object being drawn at all: the renderer leaves out
// the others, which every fragment would skip anyway, so that no fragment pays for them.
uniform float lightCutoff;
uniform int lightCount;
uniform int lightIndex[LIGHT_COUNT];

const float kStartAmbient = 0.3;
// Standard deviation of a light's reach in world units: an orb floating one unit above a planet
// lights a pool a few units wide and reaches the alien when it comes close.
const float kReach = 5.0;
const float kDiffuseScale = 0.5;
const float kShininess = 24.0;

float gaussFalloff(float worldDistance) {
    return exp(-(worldDistance * worldDistance) / (2.0 * kReach * kReach));
}

float sceneFade() {
    return clamp(ambientLight.w / kStartAmbient, 0.0, 1.0);
}

vec3 shadeSurface(vec3 albedo, vec3 position, vec3 normal, vec3 centre, vec3 eye) {
    float fade = sceneFade();
    if (fade <= 0.0) return vec3(0.0);

    vec3 toEye = normalize(eye - position);
    float facing = max(dot(normal, toEye), 0.0);
    vec3 ambient = ambientLight.rgb * clamp(ambientLight.w, 0.0, 1.0);

    // Ambient is strongest where the surface faces the viewer and half as strong at the
    // outline: no side is ever black, yet a sphere still reads as round.
    vec3 surfaceLight = ambient * (1.0 + facing) + vec3(materialGlow);
    // A rim in the specular colour sets shiny things (the alien) off against the planet below.
    float rimShape = 1.0 - facing;
    vec3 rim = materialSpecular.rgb * materialSpecular.w * (rimShape * rimShape * rimShape) *
               ambient * 1.5;

    vec3 diffuseSum = vec3(0.0);
    vec3 specularSum = vec3(0.0);
    vec3 emission = vec3(0.0);
    vec3 outward = position - centre;
    float ownRadiusSquared = dot(outward, outward);
    for (int n = 0; n < lightCount; ++n) {
        int i = lightIndex[n];
        vec4 colorA = lightData[3 * i + 1];
        float brightness = colorA.w;
        if (brightness <= 0.0) continue;
        vec3 lightPosition = lightData[3 * i].xyz;
        vec3 toLight = lightPosition - position;
        float distanceSquared = dot(toLight, toLight);
        if (distanceSquared > lightCutoff * lightCutoff) continue;
        // A light at this object's own centre is the orb that carries it: lit from inside it
        // would be dark, so it shines in its picture's colours at the light's brightness.
        vec3 offCentre = lightPosition - centre;
        if (dot(offCentre, offCentre) < 0.01 * ownRadiusSquared) {
            emission += albedo * (0.5 + brightness);
            continue;
        }
        float lightDistance = sqrt(distanceSquared);
        vec3 direction = toLight / lightDistance;
        float lambert = dot(normal, direction);
        if (lambert <= 0.0) continue;
        float reach = gaussFalloff(lightDistance);
        diffuseSum += colorA.rgb * (brightness * reach * lambert);
        vec4 colorB = lightData[3 * i + 2];
        float highlight = pow(max(dot(normal, normalize(direction + toEye)), 0.0), kShininess);
        specularSum += colorB.rgb * (colorB.w * reach * highlight);
    }

    vec3 colour = albedo * materialDiffuse.rgb *
                      (surfaceLight + diffuseSum * (materialDiffuse.w * kDiffuseScale)) +
                  materialSpecular.rgb * materialSpecular.w * specularSum + rim + emission;
    return colour * fade;
}
