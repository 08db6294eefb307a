#include "Model/ModelLoaderCollada.h"

#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cstdio>

#include "infra/Log.h"

namespace Model {

namespace {

// CalcTangentSpace | JoinIdenticalVertices | Triangulate.
constexpr unsigned importFlags = 0xB;

std::string triple(float x, float y, float z) {
    return "(" + floatText(x) + ", " + floatText(y) + ", " + floatText(z) + ")";
}

// The mesh to import, or null when the scene has none we can use. Assimp fills a scene that
// holds no geometry with a made-up placeholder mesh and only marks it incomplete; taking that
// placeholder for the model would hand the game a single-point "model".
const aiMesh* firstMesh(const aiScene* scene) {
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) != 0) return nullptr;
    if (scene->mMeshes == nullptr || scene->mNumMeshes == 0) return nullptr;
    return scene->mMeshes[0];
}

}  // namespace

std::string floatText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

ModelLoaderCollada::ModelLoaderCollada() : logName("ModelLoader") {}

std::vector<std::string> ModelLoaderCollada::getFileEndings() {
    return {".dae"};
}

void ModelLoaderCollada::addModel(Mesh* mesh) {
    logMessage(TRACE, logName, "addModel called for " + mesh->id + " with path " + mesh->path);
    queuedModels.push_back(mesh);
}

int ModelLoaderCollada::loadModel(std::vector<Mesh*> meshes) {
    logMessage(TRACE, logName,
               "loadModel called; amount of models loading: " +
                   floatText(static_cast<float>(meshes.size())));
    int result = 0;
    for (Mesh* mesh : meshes) result = std::max(result, loadModel(mesh));
    return result;
}

int ModelLoaderCollada::loadModels() {
    logMessage(TRACE, logName,
               "loadModels called; amount of models loading: " +
                   floatText(static_cast<float>(queuedModels.size())));
    return loadModel(std::vector<Mesh*>(queuedModels));
}

int ModelLoaderCollada::loadModel(Mesh* mesh) {
    logMessage(TRACE, logName,
               "load model called for model with id " + mesh->id + " and path " + mesh->path);

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(mesh->path, importFlags);
    if (scene == nullptr) {
        logError(logName, std::string("import failed, cause: ") + importer.GetErrorString());
    }
    const aiMesh* source = firstMesh(scene);
    if (source == nullptr) {
        logError(logName, "returning error code 1: no meshes found for model with id " + mesh->id);
        return 1;
    }

    const unsigned vertexCount = source->mNumVertices;
    if (vertexCount > 0 && source->mVertices == nullptr) {
        logError(logName, "vertex " + floatText(0.0f) + " not loaded");
        return 1;
    }
    const aiVector3D* uvs = source->mTextureCoords[0];

    // A second import into the same mesh appends, so reserve on top of what is there.
    mesh->positions.reserve(mesh->positions.size() + 4 * size_t{vertexCount});
    if (source->mNormals != nullptr) {
        mesh->normals.reserve(mesh->normals.size() + 3 * size_t{vertexCount});
    }
    if (uvs != nullptr) mesh->texCoords.reserve(mesh->texCoords.size() + 2 * size_t{vertexCount});

    // The per-vertex lines are many and, in the game, never printed: build them only when the
    // threshold lets them through.
    const bool debugLines = logEnabled(DEBUG);
    const bool warnLines = logEnabled(WARN);

    for (unsigned k = 0; k < vertexCount; ++k) {
        const float index = static_cast<float>(k);

        const aiVector3D& v = source->mVertices[k];
        mesh->positions.insert(mesh->positions.end(), {v.x, v.y, v.z, 1.0f});
        if (debugLines)
            logDebug(logName, "vertex" + floatText(index) + ": " + triple(v.x, v.y, v.z));

        if (source->mNormals == nullptr) {
            if (warnLines) logWarn(logName, "normal " + floatText(index) + " not loaded");
        } else {
            const aiVector3D& n = source->mNormals[k];
            mesh->normals.insert(mesh->normals.end(), {n.x, n.y, n.z});
            if (debugLines) {
                logDebug(logName, "normal" + floatText(index) + ": " + triple(n.x, n.y, n.z));
            }
        }

        if (uvs == nullptr) {
            if (warnLines) logWarn(logName, "tex " + floatText(index) + " not loaded");
        } else {
            // Only u and v: a third (w) component is dropped, and v is taken as it stands.
            const aiVector3D& t = uvs[k];
            mesh->texCoords.insert(mesh->texCoords.end(), {t.x, t.y});
            if (debugLines) {
                logDebug(logName, "tex" + floatText(index) + ": (" + floatText(t.x) + ", " +
                                      floatText(t.y) + ")");
            }
        }

        if (source->mTangents == nullptr) {
            if (warnLines) logWarn(logName, "tangent " + floatText(index) + " not loaded");
        } else if (debugLines) {
            const aiVector3D& t = source->mTangents[k];
            logDebug(logName, "tangent" + floatText(index) + ": " + triple(t.x, t.y, t.z));
        }

        if (source->mBitangents == nullptr) {
            if (warnLines) logWarn(logName, "binormal " + floatText(index) + " not loaded");
        } else if (debugLines) {
            const aiVector3D& b = source->mBitangents[k];
            logDebug(logName, "binormal" + floatText(index) + ": " + triple(b.x, b.y, b.z));
        }
    }

    mesh->indices.reserve(mesh->indices.size() + 3 * size_t{source->mNumFaces});
    for (unsigned f = 0; f < source->mNumFaces; ++f) {
        const aiFace& face = source->mFaces[f];
        // Points and lines survive triangulation with one or two vertex numbers; they are not
        // triangles, and reading three numbers from them would run past the face.
        if (face.mNumIndices < 3 || face.mIndices == nullptr) continue;
        const unsigned* abc = face.mIndices;
        mesh->indices.insert(mesh->indices.end(), {abc[0], abc[1], abc[2]});
        if (debugLines) {
            logDebug(logName, "indices for face " + floatText(static_cast<float>(f)) + ": " +
                                  triple(static_cast<float>(abc[0]), static_cast<float>(abc[1]),
                                         static_cast<float>(abc[2])));
        }
    }
    return 0;
}

}  // namespace Model
