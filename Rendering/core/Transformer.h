#pragma once

#include <glm/glm.hpp>
#include <vector>

struct Camera;
struct SceneObject;

namespace Rendering {

// Computes every registered object's matrices once per frame.
class ITransformer {
  public:
    virtual ~ITransformer() = default;
    virtual void addObjects(std::vector<SceneObject*> list) = 0;
    virtual void addObject(SceneObject* object) = 0;
    virtual void update() = 0;
    virtual void setCamera(Camera* camera) = 0;
};

// Model matrix from position, axes and scale; view and projection from the camera.
class BasicTransformer : public ITransformer {
  public:
    void addObjects(std::vector<SceneObject*> list) override;
    void addObject(SceneObject* object) override;
    // Without a camera the view and projection keep their last values (identity at first).
    void update() override;
    void setCamera(Camera* newCamera) override { camera = newCamera; }

    virtual void computeModelMatrix(SceneObject* object);
    virtual void updateView();
    virtual void updateProjection();

    Camera* camera = nullptr;
    glm::mat4 model{1.0f};
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    std::vector<SceneObject*> objects;
};

}  // namespace Rendering
