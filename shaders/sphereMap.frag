#version 330 core

// The pictures of the sky, the planets and the orbs wrap their spheres as the sphere generator
// lays out its texture coordinates: u is the longitude, 0 along +x and growing towards -z; v is
// the colatitude, 0 at the north pole (+y) and 1 at the south pole. Here a fragment looks its
// colour up at the direction it shows, in the sphere's own space. Texture coordinates spread
// linearly over the mesh's triangles would shear the picture into wedges where the triangles
// meet at a pole, and the sampler would draw every star there as a streak towards it.
// It has no main(); a shader that uses it declares one of (direction need not be unit length)
//   vec4 spherePicture(sampler2D picture, vec3 direction);  // seen from inside: the sky
//   vec4 sphereSurface(sampler2D picture, vec3 direction);  // seen from outside: planets, orbs

const float kPi = 3.14159265358979;

// Of two measures of the same longitude's change, the one that does not jump by a whole turn.
float steadier(float a, float b) {
    return abs(a) <= abs(b) ? a : b;
}

// Where a fragment's picture lies and how far one pixel reaches across it.
struct Footprint {
    vec2 at;      // the texture coordinates
    vec2 alongX;  // their change across one pixel in x,
    vec2 alongY;  // and in y
    vec2 detail;  // from texture coordinates to the picture's own detail
};

Footprint footprintOf(vec3 direction) {
    // -0.5 to 0.5: jumps half-way round, where u is 0.5.
    float around = atan(-direction.z, direction.x) / (2.0 * kPi);
    // 0 to 1: jumps at the seam, where u wraps from 1 back to 0.
    float u = fract(around);
    float v = atan(length(direction.xz), direction.y) / kPi;

    // Where u jumps between neighbouring pixels the sampler would take the jump for a
    // footprint across the whole picture and draw a line of its coarsest level along the seam.
    // Beside the jump the other longitude runs smoothly: the footprint comes from that one.
    Footprint f;
    f.at = vec2(u, v);
    f.alongX = vec2(steadier(dFdx(around), dFdx(u)), dFdx(v));
    f.alongY = vec2(steadier(dFdy(around), dFdy(u)), dFdy(v));
    // The pictures are drawn for the sphere: at sin(theta) from the axis their detail is
    // stretched by 1 / sin(theta) along the longitude. Measured in that detail a pixel's
    // footprint is as long as it is wide, so the sampler does not blur across the longitude
    // what only the stretch made long (near a pole, by up to the whole picture's width).
    f.detail = vec2(length(direction.xz) / length(direction), 1.0);
    return f;
}

// For the sky, seen from inside: its pixels meet it nearly square on.
vec4 spherePicture(sampler2D picture, vec3 direction) {
    Footprint f = footprintOf(direction);
    return textureGrad(picture, f.at, f.alongX * f.detail, f.alongY * f.detail);
}

// Taps along a long footprint (at most this many), each sampled at the detail of the short
// side, where one lookup would blur the whole footprint down to the detail of its long side.
const int kMostTaps = 4;
// As many taps as the footprint is whole times longer than wide: one lookup blurs a footprint
// less than twice as long as wide too little to pay for more.

// For planets and orbs, seen from outside: near their rims a pixel's footprint grows long
// across the rim, and one lookup would blur the picture there.
vec4 sphereSurface(sampler2D picture, vec3 direction) {
    Footprint f = footprintOf(direction);
    vec2 x = f.alongX * f.detail, y = f.alongY * f.detail;
    // The footprint's axes squared are the eigenvalues of [a b; b c], its screen directions
    // their eigenvectors.
    float a = dot(x, x), b = dot(x, y), c = dot(y, y);
    float mean = 0.5 * (a + c), spread = length(vec2(0.5 * (a - c), b));
    float ratio = sqrt((mean + spread) / max(mean - spread, 1e-20));
    if (!(ratio >= 2.0)) return textureGrad(picture, f.at, x, y);

    vec2 screen = normalize(a >= c ? vec2(mean + spread - c, b) : vec2(b, mean + spread - a));
    vec2 major = screen.x * x + screen.y * y;
    vec2 minor = screen.x * y - screen.y * x;
    vec2 across = screen.x * f.alongX + screen.y * f.alongY;  // in texture coordinates
    int taps = int(min(ratio, float(kMostTaps)));
    vec4 sum = vec4(0.0);
    for (int i = 0; i < taps; ++i) {
        vec2 at = f.at + across * ((float(i) + 0.5) / float(taps) - 0.5);
        sum += textureGrad(picture, at, major / float(taps), minor);
    }
    return sum / float(taps);
}
