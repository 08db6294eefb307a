#version 330 core

// The pictures of the sky, the planets and the orbs wrap their spheres as the sphere generator
// lays out its texture coordinates: u is the longitude, 0 along +x and growing towards -z; v is
// the colatitude, 0 at the north pole (+y) and 1 at the south pole. Here a fragment looks its
// colour up at the direction it shows, in the sphere's own space. Texture coordinates spread
// linearly over the mesh's triangles would shear the picture into wedges where the triangles
// meet at a pole, and the sampler would draw every star there as a streak towards it.
// It has no main(); a shader that uses it declares
//   vec4 spherePicture(sampler2D picture, vec3 direction);  // direction need not be unit length

const float kPi = 3.14159265358979;

// Of two measures of the same longitude's change, the one that does not jump by a whole turn.
float steadier(float a, float b) {
    return abs(a) <= abs(b) ? a : b;
}

vec4 spherePicture(sampler2D picture, vec3 direction) {
    // -0.5 to 0.5: jumps half-way round, where u is 0.5.
    float around = atan(-direction.z, direction.x) / (2.0 * kPi);
    // 0 to 1: jumps at the seam, where u wraps from 1 back to 0.
    float u = fract(around);
    float v = atan(length(direction.xz), direction.y) / kPi;

    // Where u jumps between neighbouring pixels the sampler would take the jump for a
    // footprint across the whole picture and draw a line of its coarsest level along the seam.
    // Beside the jump the other longitude runs smoothly: the footprint comes from that one.
    vec2 alongX = vec2(steadier(dFdx(around), dFdx(u)), dFdx(v));
    vec2 alongY = vec2(steadier(dFdy(around), dFdy(u)), dFdy(v));
    // The pictures are drawn for the sphere: at sin(theta) from the axis their detail is
    // stretched by 1 / sin(theta) along the longitude. Measured in that detail a pixel's
    // footprint is as long as it is wide, so the sampler does not blur across the longitude
    // what only the stretch made long (near a pole, by up to the whole picture's width).
    float fromAxis = length(direction.xz) / length(direction);
    alongX.x *= fromAxis;
    alongY.x *= fromAxis;
    return textureGrad(picture, vec2(u, v), alongX, alongY);
}
