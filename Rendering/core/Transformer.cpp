#include "Rendering/core/Transformer.h"

#include <glm/gtc/matrix_transform.hpp>

#include "Rendering/core/Camera.h"
#include "Rendering/core/SceneObject.h"

namespace Rendering {

void BasicTransformer::addObjects(std::vector<SceneObject*> list) {
    objects.insert(objects.end(), list.begin(), list.end());
}

void BasicTransformer::addObject(SceneObject* object) {
    objects.push_back(object);
}

void BasicTransformer::update() {
    updateView();
    updateProjection();
    for (SceneObject* object : objects) {
        computeModelMatrix(object);
        object->modelViewProjection = projection * (view * model);
        // A zero scale collapses the object and has no inverse; keeping the last inverse spares
        // the shaders a matrix full of infinities for an object nobody can see.
        if (object->scale.x != 0.0f && object->scale.y != 0.0f && object->scale.z != 0.0f) {
            object->worldToModel = glm::inverse(model);
        }
    }
}

void BasicTransformer::computeModelMatrix(SceneObject* object) {
    glm::mat4 scale = glm::scale(glm::mat4(1.0f), object->scale);
    glm::mat4 rotation(glm::vec4(object->right, 0.0f), glm::vec4(object->up, 0.0f),
                       glm::vec4(object->forward, 0.0f), glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    glm::mat4 translation = glm::translate(glm::mat4(1.0f), object->position);
    model = translation * rotation * scale;
}

void BasicTransformer::updateView() {
    if (camera) view = camera->view;
}

void BasicTransformer::updateProjection() {
    if (!camera) return;
    projection = glm::perspective(glm::radians(camera->fovy), camera->aspect, camera->nearPlane,
                                  camera->farPlane);
}

}  // namespace Rendering
