#pragma once

#include <vector>

#include "Rendering/core/SceneObject.h"

struct Camera;
struct ImageFont;
struct TextItem;

// Everything the scenery creator builds; owns all it points to.
struct Scene {
    Scene() = default;
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    std::vector<SceneObject*> lightOrbs;
    std::vector<SceneObject*> planets;
    std::vector<TextItem*> texts;
    SceneObject* alien = nullptr;
    SphereObject* sky = nullptr;
    std::vector<LightSource*> lights;
    Camera* camera = nullptr;
    LightBlock* lightBlock = nullptr;
    ImageFont* font = nullptr;
};
