#include "Model/ModelPool.h"

#include <algorithm>
#include <fstream>

#include "infra/Log.h"

ModelPool::ModelPool() : logName("ModelPool") {
    logThreshold = ERR;
}

ModelPool::~ModelPool() {
    for (auto& entry : models) delete entry.second;
}

void ModelPool::addLoader(Model::IModelLoader* loader) {
    logMessage(TRACE, logName, "addLoader called");
    for (const std::string& ending : loader->getFileEndings()) {
        logMessage(TRACE, logName, "associating loader with file ending: " + ending);
        loaders[ending] = loader;
    }
}

int ModelPool::createModel(std::string id, std::string path) {
    logMessage(TRACE, logName, "create model called with id " + id + " and path " + path);
    // The file comes first: a missing file reports 2 even when the id is taken as well.
    if (!canOpenFile(path)) {
        logError(logName, "path to model file could not be opened, path used: " + path);
        return 2;
    }
    if (models.count(id) != 0) {
        logError(logName, "tried to create model with id " + id + " but id was already used");
        return 1;
    }
    Mesh* mesh = new Mesh(path);
    mesh->id = id;
    models[id] = mesh;
    return 0;
}

bool ModelPool::canOpenFile(std::string path) {
    std::ifstream file(path);
    if (file.fail()) {
        logError(logName, "file in path " + path + " can not be opened");
        return false;
    }
    return true;
}

std::string ModelPool::fileEnding(std::string path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos) return std::string();
    return path.substr(dot);
}

int ModelPool::loadModel(Mesh* mesh) {
    const std::string ending = fileEnding(mesh->path);
    // A path without any "." has no ending at all, which no loader can claim.
    const auto loader = ending.empty() ? loaders.end() : loaders.find(ending);
    if (loader == loaders.end()) {
        logError(logName, "no model loader for model with id " + mesh->id + " could be found.");
        return 2;
    }
    if (loader->second->loadModel(mesh) == 1) {
        logError(logName, "model with id " + mesh->id + " could not be loaded");
        return 1;
    }
    return 0;
}

int ModelPool::loadAllModels() {
    logMessage(TRACE, logName, "loadAllModels called");
    int result = 0;
    for (auto& entry : models) result = std::max(result, loadModel(entry.second));
    return result;
}

Mesh* ModelPool::getModel(std::string id) {
    logMessage(TRACE, logName, "getModel called with id " + id);
    const auto found = models.find(id);
    return found == models.end() ? nullptr : found->second;
}
