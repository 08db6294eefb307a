#include "Rendering/scene/SphereGenerator.h"

#include <cmath>
#include <glm/gtc/constants.hpp>
#include <string>

#include "infra/Log.h"

namespace {

const std::string logName = "SphereGenerator";

}  // namespace

SphereObject* generateSphere(SphereObject* object, float radius, unsigned rings,
                             unsigned segments) {
    // The object owns its mesh, so a sphere generated again drops the old one.
    delete object->mesh;
    initSceneObject(object);
    object->radius = radius;
    Mesh* mesh = new Mesh();
    object->mesh = mesh;

    if (rings < 3 || segments < 2) {
        logError(logName, "a sphere needs at least 3 rings and 2 segments, got " +
                              std::to_string(rings) + " rings and " + std::to_string(segments) +
                              " segments; the sphere stays empty");
        return object;
    }

    const size_t ringCount = rings;
    const size_t segmentCount = segments;
    const size_t vertexCount = (ringCount - 2) * segmentCount + 2 * (segmentCount - 1);
    mesh->positions.reserve(4 * vertexCount);
    mesh->normals.reserve(3 * vertexCount);
    mesh->texCoords.reserve(2 * vertexCount);
    mesh->indices.reserve(6 * (segmentCount - 1) * (ringCount - 2));

    const float ringSpan = static_cast<float>(rings - 1);
    const float segmentSpan = static_cast<float>(segments - 1);

    for (unsigned i = 1; i < rings - 1; ++i) {
        // u and v are the same quotients the angles are made of: a division keeps the seam
        // column at exactly u = 1 for every segment count, which i * (1 / span) does not.
        const float v = static_cast<float>(i) / ringSpan;
        const float theta = static_cast<float>(v * glm::pi<double>());
        const float sinTheta = std::sin(theta);
        const float cosTheta = std::cos(theta);
        for (unsigned j = 0; j < segments; ++j) {
            const float u = static_cast<float>(j) / segmentSpan;
            const float phi = static_cast<float>(u * glm::two_pi<double>());
            const float nx = std::cos(phi) * sinTheta;
            const float ny = cosTheta;
            const float nz = std::sin(phi) * -sinTheta;
            mesh->texCoords.insert(mesh->texCoords.end(), {u, v});
            mesh->positions.insert(mesh->positions.end(),
                                   {nx * radius, ny * radius, nz * radius, 1.0f});
            mesh->normals.insert(mesh->normals.end(), {nx, ny, nz});
        }
    }

    // One north and one south vertex per segment, each with its segment's left-edge u.
    for (unsigned j = 0; j + 1 < segments; ++j) {
        const float u = static_cast<float>(j) / segmentSpan;
        mesh->texCoords.insert(mesh->texCoords.end(), {u, 0.0f});
        mesh->positions.insert(mesh->positions.end(), {0.0f, radius, 0.0f, 1.0f});
        mesh->normals.insert(mesh->normals.end(), {0.0f, 1.0f, 0.0f});
        mesh->texCoords.insert(mesh->texCoords.end(), {u, 1.0f});
        mesh->positions.insert(mesh->positions.end(), {0.0f, -radius, 0.0f, 1.0f});
        mesh->normals.insert(mesh->normals.end(), {0.0f, -1.0f, 0.0f});
    }

    // Bands between neighbouring rings; the seam column closes nothing back to column 0.
    for (unsigned b = 0; b + 3 < rings; ++b) {
        for (unsigned j = 0; j + 1 < segments; ++j) {
            const uint32_t p = b * segments + j;
            const uint32_t q = p + segments;
            mesh->indices.insert(mesh->indices.end(), {p, q + 1, p + 1, p, q, q + 1});
        }
    }

    const uint32_t base = (rings - 2) * segments;
    const uint32_t last = (rings - 3) * segments;
    for (unsigned j = 0; j + 1 < segments; ++j) {
        mesh->indices.insert(mesh->indices.end(), {base + 2 * j, j, j + 1});
        mesh->indices.insert(mesh->indices.end(), {base + 2 * j + 1, last + j + 1, last + j});
    }
    return object;
}
