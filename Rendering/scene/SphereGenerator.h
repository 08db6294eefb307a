#pragma once

#include "Rendering/core/SceneObject.h"

// Fills `object` with a UV sphere of the given radius: `rings` latitude rings from pole to pole
// (the poles included) and `segments` columns, the last column repeating the first with u = 1
// so the picture wraps without a jump. Triangles are counter-clockwise seen from outside; v
// runs from 0 at the north pole (+y) to 1 at the south pole.
//
// Needs rings >= 3 and segments >= 2. Fewer is logged as an error and gives the object an
// empty mesh (it draws nothing) rather than a broken one. Returns `object`, which owns the
// new mesh.
SphereObject* generateSphere(SphereObject* object, float radius, unsigned rings, unsigned segments);
