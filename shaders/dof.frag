#version 330 core

// One direction of the depth-of-field blur: "blurDirection" 1 along x, 0 along y. Texels hold
// (colour, blur weight); colours are averaged by their weight, so surfaces in focus (weight 0)
// never bleed into the softened ones, and the weight itself is blurred alongside.
// Out: (weighted colour average, blurred weight).

uniform sampler2D dofTexture;
uniform int blurDirection;

out vec4 fragColor;

// A Gaussian of 2.2 pixels deviation over 13 taps, texel by texel: weighting needs each texel
// on its own.
const int kReach = 6;
const float kWeights[7] =
    float[](0.181862, 0.164012, 0.120304, 0.071772, 0.034826, 0.013744, 0.004412);

void main() {
    ivec2 last = textureSize(dofTexture, 0) - 1;
    ivec2 axis = blurDirection == 1 ? ivec2(1, 0) : ivec2(0, 1);
    ivec2 centre = ivec2(gl_FragCoord.xy);
    vec4 sum = vec4(0.0);
    for (int k = -kReach; k <= kReach; ++k) {
        vec4 texel = texelFetch(dofTexture, clamp(centre + axis * k, ivec2(0), last), 0);
        sum += vec4(texel.rgb * texel.a, texel.a) * kWeights[abs(k)];
    }
    fragColor = vec4(sum.rgb / max(sum.a, 1e-6), sum.a);
}
