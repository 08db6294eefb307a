#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <memory>
#include <string>

#include "Rendering/scene/SphereGenerator.h"
#include "infra/Log.h"

namespace {

glm::vec3 position(const Mesh& mesh, size_t k) {
    return {mesh.positions[4 * k], mesh.positions[4 * k + 1], mesh.positions[4 * k + 2]};
}
glm::vec3 normal(const Mesh& mesh, size_t k) {
    return {mesh.normals[3 * k], mesh.normals[3 * k + 1], mesh.normals[3 * k + 2]};
}

TEST(GenerateSphere, CountsAndGeometry) {
    const struct {
        float radius;
        unsigned rings, segments;
        size_t vertices, triangles;
    } cases[] = {{2.5f, 3, 8, 22, 14},
                 {0.5f, 20, 20, 398, 684},
                 {800.0f, 50, 100, 4998, 9504},
                 {11.0f, 7, 42, 292, 410}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rings) + " x " + std::to_string(c.segments));
        SphereObject object;
        ASSERT_EQ(generateSphere(&object, c.radius, c.rings, c.segments), &object);
        EXPECT_EQ(object.radius, c.radius);
        const Mesh& mesh = *object.mesh;
        ASSERT_EQ(mesh.positions.size(), 4 * c.vertices);
        ASSERT_EQ(mesh.normals.size(), 3 * c.vertices);
        ASSERT_EQ(mesh.texCoords.size(), 2 * c.vertices);
        ASSERT_EQ(mesh.indices.size(), 3 * c.triangles);
        for (size_t k = 0; k < c.vertices; ++k) {
            ASSERT_EQ(mesh.positions[4 * k + 3], 1.0f);
            ASSERT_NEAR(glm::length(normal(mesh, k)), 1.0f, 1e-6f) << k;
            ASSERT_NEAR(glm::length(position(mesh, k) / c.radius - normal(mesh, k)), 0.0f, 1e-6f);
        }
        for (size_t t = 0; t < mesh.indices.size(); t += 3) {
            for (int i = 0; i < 3; ++i) ASSERT_LT(mesh.indices[t + i], c.vertices);
            const glm::vec3 a = position(mesh, mesh.indices[t]);
            const glm::vec3 b = position(mesh, mesh.indices[t + 1]);
            const glm::vec3 d = position(mesh, mesh.indices[t + 2]);
            // Counter-clockwise seen from outside: the winding normal points away from the centre.
            ASSERT_GT(glm::dot(glm::cross(b - a, d - a), a + b + d), 0.0f) << "triangle " << t / 3;
        }
        // The seam column repeats column 0 with u = 1; each ring's v is its share of the way
        // from the north pole.
        for (unsigned i = 1; i + 1 < c.rings; ++i) {
            const size_t first = (i - 1) * c.segments, seam = first + c.segments - 1;
            EXPECT_EQ(mesh.texCoords[2 * first], 0.0f);
            EXPECT_EQ(mesh.texCoords[2 * seam], 1.0f);
            EXPECT_FLOAT_EQ(mesh.texCoords[2 * seam + 1], float(i) / float(c.rings - 1));
            EXPECT_NEAR(glm::length(position(mesh, seam) - position(mesh, first)), 0.0f,
                        1e-6f * c.radius);
        }
        const size_t north = (c.rings - 2) * c.segments;
        EXPECT_EQ(position(mesh, north), glm::vec3(0.0f, c.radius, 0.0f));
        EXPECT_EQ(mesh.texCoords[2 * north + 1], 0.0f);
        EXPECT_EQ(position(mesh, north + 1), glm::vec3(0.0f, -c.radius, 0.0f));
        EXPECT_EQ(mesh.texCoords[2 * north + 3], 1.0f);
    }
    // u grows from +x towards -z.
    SphereObject orb;
    generateSphere(&orb, 0.5f, 20, 20);
    EXPECT_GT(position(*orb.mesh, 1).x, 0.0f);
    EXPECT_LT(position(*orb.mesh, 1).z, 0.0f);
}

TEST(GenerateSphere, TooFewRingsOrSegmentsGiveAnEmptySphere) {
    const LogLevel saved = logThreshold;
    logThreshold = ERR;
    for (const auto& [rings, segments] : {std::pair{2u, 10u}, {10u, 1u}, {0u, 0u}}) {
        auto object = std::make_unique<SphereObject>();
        generateSphere(object.get(), 1.0f, 20, 20);
        testing::internal::CaptureStdout();
        generateSphere(object.get(), 4.0f, rings, segments);  // replaces the earlier mesh
        EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("ERR   SphereGenerator: ", 0), 0u);
        ASSERT_NE(object->mesh, nullptr);
        EXPECT_TRUE(object->mesh->positions.empty());
        EXPECT_TRUE(object->mesh->indices.empty());
        EXPECT_EQ(object->radius, 4.0f);
    }
    logThreshold = saved;
}

}  // namespace
