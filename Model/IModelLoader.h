#pragma once

#include <string>
#include <vector>

#include "Model/Mesh.h"

namespace Model {

// Fills Meshes from model files of the endings it reports. The model pool picks a loader by
// the ending of a model's path and uses only getFileEndings and the single-mesh loadModel; the
// rest is a batch interface for loaders that want to queue work.
class IModelLoader {
  public:
    virtual ~IModelLoader() = default;
    // Endings handled, each with its leading ".", compared exactly (case-sensitive).
    virtual std::vector<std::string> getFileEndings() = 0;
    // Queues a mesh for a later loadModels.
    virtual void addModel(Mesh* mesh) = 0;
    // Loads every mesh of the list; one failure does not stop the others.
    virtual int loadModel(std::vector<Mesh*> meshes) = 0;
    // 0 loaded, 1 failed.
    virtual int loadModel(Mesh* mesh) = 0;
    // Loads all queued meshes (the queue is kept).
    virtual int loadModels() = 0;
};

}  // namespace Model
