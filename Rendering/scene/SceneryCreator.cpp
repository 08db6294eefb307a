#include "Rendering/scene/SceneryCreator.h"

#include "Model/ModelPool.h"
#include "Rendering/core/Camera.h"
#include "Rendering/scene/Font.h"
#include "Rendering/scene/SphereGenerator.h"
#include "infra/Assets.h"

namespace Rendering {

namespace {

struct PlanetRow {
    const char* picture;
    float radius;
    glm::vec3 position;
};

// Neptune is the root the other planets circle; Pluto stays where it is put.
const PlanetRow kPlanets[] = {
    {assets::neptuneMap, 11.0f, {1.0f, 1.0f, 1.0f}},
    {assets::jupiterMap, 10.0f, {-25.0f, -16.0f, 1.0f}},
    {assets::marsMap, 5.0f, {24.0f, 35.0f, 1.0f}},
    {assets::mercuryMap, 14.0f, {24.0f, 35.0f, 1.0f}},
    {assets::uranusMap, 16.0f, {24.0f, 35.0f, 1.0f}},
    {assets::venusMap, 9.0f, {24.0f, 35.0f, 1.0f}},
    {assets::saturnMap, 8.0f, {24.0f, 35.0f, 1.0f}},
    {assets::plutoMap, 13.0f, {24.0f, 35.0f, 1.0f}},
};

const char* const kAlienPicture = assets::alienSkin;
const char* const kSkyPicture = assets::skyMap;
const char* const kOrbPicture = assets::sunMap;
constexpr unsigned kPlanetRings = 50, kPlanetSegments = 100;
constexpr unsigned kOrbRings = 20, kOrbSegments = 20;

void setMaterial(SceneObject* object, glm::vec4 diffuse, glm::vec4 specular, float glow) {
    for (int i = 0; i < 4; ++i) {
        object->material[i] = diffuse[i];
        object->material[4 + i] = specular[i];
    }
    object->material[8] = glow;
}

}  // namespace

SceneryCreator::SceneryCreator(ModelPool* modelPool, ImageInfo* image)
    : modelPool(modelPool), image(image) {}

SceneryCreator::~SceneryCreator() {
    delete image;
}

std::vector<std::string> SceneryCreator::pictureFiles() {
    // In the order createScene asks for them: a load that finds its picture not started yet
    // decodes it itself, so the loading thread and the decoders then share the rest.
    std::vector<std::string> files = {kAlienPicture, kSkyPicture};
    for (const PlanetRow& row : kPlanets) files.push_back(row.picture);
    files.push_back(kOrbPicture);
    const std::vector<std::string> font = fontPictureFiles();
    files.insert(files.end(), font.begin(), font.end());
    return files;
}

Scene* SceneryCreator::createScene() {
    Mesh* alienMesh = modelPool ? modelPool->getModel("alien") : nullptr;
    if (!alienMesh) return nullptr;
    scene = new Scene();
    createAlien(alienMesh);
    createCamera();
    createSky();
    createPlanets();
    createLightOrbs();
    createLights();
    scene->font = new ImageFont();
    return scene;
}

void SceneryCreator::attachPicture(SceneObject* object, const char* path) {
    object->mesh->pixels = loadTexture(path, *image);
    object->mesh->imageWidth = image->width;
    object->mesh->imageHeight = image->height;
}

void SceneryCreator::createAlien(Mesh* alienMesh) {
    SceneObject* alien = initSceneObject(new SceneObject());
    alien->mesh = alienMesh;
    alien->position = glm::vec3(1.0f, 13.5f, 1.0f);
    attachPicture(alien, kAlienPicture);
    setMaterial(alien, {1.0f, 0.8f, 0.8f, 1.0f}, {1.0f, 0.8f, 0.8f, 1.0f}, 0.05f);
    scene->alien = alien;
}

void SceneryCreator::createCamera() {
    Camera* camera = new Camera();
    camera->fovy = 60.0f;
    camera->aspect = 4.0f / 3.0f;
    camera->farPlane = 1000.0f;
    camera->nearPlane = 0.5f;
    camera->zoomStep = 3.0f;
    camera->placeCamera(scene->alien, 100.0f, 40.0f);
    scene->camera = camera;
}

void SceneryCreator::createSky() {
    SphereObject* sky = generateSphere(new SphereObject(), 800.0f, kPlanetRings, kPlanetSegments);
    sky->position = scene->camera->eye;
    attachPicture(sky, kSkyPicture);
    scene->sky = sky;
}

void SceneryCreator::createPlanets() {
    for (const PlanetRow& row : kPlanets) {
        SphereObject* planet =
            generateSphere(new SphereObject(), row.radius, kPlanetRings, kPlanetSegments);
        planet->position = row.position;
        attachPicture(planet, row.picture);
        setMaterial(planet, {1.0f, 1.0f, 1.0f, 3.0f}, {1.0f, 1.0f, 1.0f, 0.3f}, 0.4f);
        scene->planets.push_back(planet);
    }
}

void SceneryCreator::createLightOrbs() {
    const Mesh* first = nullptr;
    for (int i = 0; i < kLightOrbCount; ++i) {
        SphereObject* orb = generateSphere(new SphereObject(), 0.5f, kOrbRings, kOrbSegments);
        orb->position = glm::vec3(0.0f);
        // All orbs show the same picture: decoded once, the pixels serve every orb (and the
        // renderers upload it once). A picture that failed is tried, and reported, per orb.
        if (first && first->pixels) {
            orb->mesh->pixels = first->pixels;
            orb->mesh->imageWidth = first->imageWidth;
            orb->mesh->imageHeight = first->imageHeight;
        } else {
            attachPicture(orb, kOrbPicture);
        }
        if (!first) first = orb->mesh;
        setMaterial(orb, {1.0f, 0.8f, 0.8f, 1.0f}, {1.0f, 0.8f, 0.8f, 1.0f}, 0.02f);
        scene->lightOrbs.push_back(orb);
    }
}

void SceneryCreator::createLights() {
    for (SceneObject* orb : scene->lightOrbs) {
        LightSource* light = new LightSource();
        light->position = glm::vec4(0.0f);
        light->object = orb;
        light->colorA = glm::vec4(0.6f, 0.7f, 0.7f, 0.7f);
        light->colorB = glm::vec4(1.0f, 0.8f, 0.8f, 1.0f);
        scene->lights.push_back(light);
    }
    scene->lightBlock = new LightBlock();
    scene->lightBlock->header = glm::vec4(1.0f, 1.0f, 1.0f, 0.3f);
}

}  // namespace Rendering
