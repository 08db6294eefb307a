#include <gtest/gtest.h>

#include <cmath>
#include <glm/glm.hpp>

#include "Rendering/core/Camera.h"
#include "Rendering/core/Transformer.h"
#include "Rendering/core/SceneObject.h"

namespace {

void expectNear(const glm::mat4& actual, const glm::mat4& expected) {
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(actual[column][row], expected[column][row], 1e-4f)
                << "column " << column << " row " << row;
        }
    }
}

// The scene's camera behind the alien, handed to a transformer.
class TransformerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        camera.fovy = 60.0f;
        camera.aspect = 4.0f / 3.0f;
        camera.nearPlane = 0.5f;
        camera.farPlane = 1000.0f;
        alien.position = {1.0f, 13.5f, 1.0f};
        camera.placeCamera(&alien, 100.0f, 40.0f);
        transformer.setCamera(&camera);
    }

    SceneObject alien;
    Camera camera;
    Rendering::BasicTransformer transformer;
};

}  // namespace

TEST_F(TransformerTest, ProjectionHasTheSceneEntries) {
    camera.aspect = 1280.0f / 720.0f;
    transformer.update();
    glm::mat4 expected(0.0f);
    expected[0][0] = 1.0f / (camera.aspect * std::tan(glm::radians(30.0f)));
    expected[1][1] = 1.7320508f;
    expected[2][2] = -(1000.0f + 0.5f) / (1000.0f - 0.5f);
    expected[2][3] = -1.0f;
    expected[3][2] = -(2.0f * 1000.0f * 0.5f) / (1000.0f - 0.5f);
    expectNear(transformer.projection, expected);
    EXPECT_EQ(transformer.view, camera.view);
}

TEST_F(TransformerTest, ModelIsTranslationTimesAxesTimesScale) {
    SceneObject still, moved, doubled, turned;
    moved.position = {1.0f, 13.5f, 1.0f};
    doubled.scale = glm::vec3(2.0f);
    // A quarter turn about y, stretched along its own x, then moved.
    turned.right = {0.0f, 0.0f, -1.0f};
    turned.forward = {1.0f, 0.0f, 0.0f};
    turned.scale = {2.0f, 1.0f, 1.0f};
    turned.position = {5.0f, 0.0f, 0.0f};
    transformer.addObject(&still);
    transformer.addObjects({&moved, &doubled, &turned});
    transformer.update();

    EXPECT_EQ(still.worldToModel, glm::mat4(1.0f));
    expectNear(still.modelViewProjection, transformer.projection * camera.view);
    EXPECT_EQ(moved.worldToModel[3], glm::vec4(-1.0f, -13.5f, -1.0f, 1.0f));
    glm::mat4 twice(2.0f);
    twice[3][3] = 1.0f;
    expectNear(doubled.modelViewProjection, transformer.projection * camera.view * twice);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(doubled.worldToModel[column], twice[column] * 0.25f);
    }
    // `model` is left with the last object's matrix: the tip of its x axis lands at
    // position + 2 * right, and worldToModel takes it back.
    glm::vec4 tip = transformer.model * glm::vec4(1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(tip, glm::vec4(5.0f, 0.0f, -2.0f, 1.0f));
    glm::vec4 back = turned.worldToModel * tip;
    EXPECT_NEAR(back.x, 1.0f, 1e-6f);
    EXPECT_NEAR(back.z, 0.0f, 1e-6f);
}

TEST_F(TransformerTest, CollapsedObjectKeepsItsLastInverse) {
    alien.scale = {1.0f, 0.0f, 1.0f};
    transformer.addObject(&alien);
    transformer.update();
    EXPECT_EQ(alien.worldToModel, glm::mat4(1.0f));
}
