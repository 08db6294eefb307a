#pragma once

struct SphereObject;
struct Camera;

// Keeps the chase camera behind the alien and the sky sphere around the eye.
struct CameraController {
    SphereObject* sky = nullptr;
    Camera* camera = nullptr;
    float cameraPitch = 0.0f;  // degrees, driven by vertical mouse motion

    // `wheel` is the mouse wheel's position; each notch it moved zooms by one step.
    void stepCamera(int wheel);
    // The game stands still: the wheel's position is taken without zooming, so that turns
    // made meanwhile do not zoom once it goes on.
    void holdWheel(int wheel);
};
