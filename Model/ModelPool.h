#pragma once

#include <map>
#include <string>

#include "Model/IModelLoader.h"
#include "Model/Mesh.h"

// Registry of the game's imported models by id, with loaders chosen by file ending.
// Results: 0 success, 1 failed load or id already used, 2 missing file or loader.
class ModelPool {
  public:
    // Also raises the log threshold to ERR: from here on only errors reach the console.
    ModelPool();
    // Deletes every Mesh it holds; the loaders belong to whoever created them.
    ~ModelPool();
    ModelPool(const ModelPool&) = delete;
    ModelPool& operator=(const ModelPool&) = delete;

    void addLoader(Model::IModelLoader* loader);
    int createModel(std::string id, std::string path);
    int loadAllModels();
    int loadModel(Mesh* mesh);
    // Null for an id that was never created.
    Mesh* getModel(std::string id);
    bool canOpenFile(std::string path);
    // From the last "." to the end, "." included; empty when the path has no ".".
    std::string fileEnding(std::string path);

    std::string logName;
    std::map<std::string, Model::IModelLoader*> loaders;  // not owned
    std::map<std::string, Mesh*> models;                  // owned
};
