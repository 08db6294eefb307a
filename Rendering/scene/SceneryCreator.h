#pragma once

#include <string>
#include <vector>

#include "Rendering/core/SceneObject.h"
#include "infra/Picture.h"

class ModelPool;
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

namespace Rendering {

class ISceneryCreator {
  public:
    virtual ~ISceneryCreator() = default;
    virtual Scene* createScene() = 0;
};

// Builds the whole scene once: alien, camera, sky, planets, light orbs with their lights,
// the light block and the font. Needs no GL context.
class SceneryCreator : public ISceneryCreator {
  public:
    // Takes ownership of `image`, the scratch record every picture load fills.
    SceneryCreator(ModelPool* modelPool, ImageInfo* image);
    ~SceneryCreator() override;
    SceneryCreator(const SceneryCreator&) = delete;
    SceneryCreator& operator=(const SceneryCreator&) = delete;

    // Returns the new scene, or null (and builds nothing) when the pool has no "alien" mesh.
    Scene* createScene() override;
    // Every picture createScene loads (the font's too), in load order, for decoding ahead.
    static std::vector<std::string> pictureFiles();

    Scene* scene = nullptr;
    ModelPool* modelPool = nullptr;
    // Scratch record that every picture decoding fills in turn.
    ImageInfo* image = nullptr;

  private:
    void attachPicture(SceneObject* object, const char* path);
    void createAlien(Mesh* alienMesh);
    void createCamera();
    void createSky();
    void createPlanets();
    void createLightOrbs();
    void createLights();
};

}  // namespace Rendering
