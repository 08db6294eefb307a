#pragma once

#include "Rendering/core/SceneObject.h"

// Planets and orbs are generated spheres; the game lists them as plain scene objects.
inline float sphereRadius(const SceneObject* object) {
    return static_cast<const SphereObject*>(object)->radius;
}
