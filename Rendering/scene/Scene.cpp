#include "Rendering/scene/Scene.h"

#include "Rendering/core/Camera.h"
#include "Rendering/scene/Font.h"

Scene::~Scene() {
    delete font;
    for (TextItem* text : texts) delete text;
    delete camera;
    for (LightSource* light : lights) delete light;
    delete lightBlock;
    for (SceneObject* orb : lightOrbs) delete orb;
    for (SceneObject* planet : planets) delete planet;
    // The alien's mesh belongs to the model pool; a plain SceneObject does not delete it.
    delete alien;
    delete sky;
}
