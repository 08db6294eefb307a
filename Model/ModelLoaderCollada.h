#pragma once

#include <string>
#include <vector>

#include "Model/IModelLoader.h"

namespace Model {

// Number text as a default-configured output stream writes a float: %g with six significant
// digits ("1", "0.5", "0.0001", "1e+06"). Counts and indices in the loader's lines go through
// it too, so an index of a million or more reads in exponent notation.
std::string floatText(float value);

// Imports the first mesh of a Collada (".dae") file through Assimp.
class ModelLoaderCollada : public IModelLoader {
  public:
    ModelLoaderCollada();
    ~ModelLoaderCollada() override = default;

    std::vector<std::string> getFileEndings() override;
    void addModel(Mesh* mesh) override;
    // Result of a batch: the highest single result, 0 for an empty batch.
    int loadModel(std::vector<Mesh*> meshes) override;
    int loadModel(Mesh* mesh) override;
    int loadModels() override;

    std::vector<Mesh*> queuedModels;  // not owned
    std::string logName;
};

}  // namespace Model
