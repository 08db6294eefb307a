#include "app/CameraController.h"

#include "Rendering/core/Camera.h"
#include "Rendering/core/SceneObject.h"

void CameraController::stepCamera(int wheel) {
    camera->followTarget(cameraPitch);
    // The new distance shows from the next frame on: the eye was placed above already.
    camera->applyWheel(wheel);
    sky->position = camera->eye;
}

void CameraController::holdWheel(int wheel) {
    camera->lastWheel = wheel;
}
