#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include "Rendering/core/BasicRenderer.h"
#include "Rendering/scene/GlowRenderer.h"
#include "Rendering/core/SceneObject.h"
#include "Rendering/scene/SphereGenerator.h"
#include "app/MainGame.h"
#include "app/RendererSet.h"
#include "tests/gl/GLTestFixture.h"

namespace {

GLuint liveTextures() {
    GLuint live = 0;
    for (GLuint name = 1; name < 4096; ++name) live += glIsTexture(name) ? 1 : 0;
    return live;
}

std::unique_ptr<SphereObject> sphereShowing(std::vector<unsigned char>& picture) {
    std::unique_ptr<SphereObject> sphere(generateSphere(new SphereObject(), 1.0f, 4, 8));
    sphere->mesh->pixels = picture.data();
    sphere->mesh->imageWidth = 8;
    sphere->mesh->imageHeight = 4;
    return sphere;
}

void uploadLikeARenderer(SceneObject* object, GLuint& rendererTexture, TextureShare* share) {
    uploadBuffers(object);
    createTexture(rendererTexture, object, share);
}

}  // namespace

using TextureShareTest = GLTest;

// Objects showing the same pixels get one texture; the share, not the objects, deletes it; and
// uploading an object again (as the glow renderer does after the lit one) makes no new texture.
TEST_F(TextureShareTest, OnePicturePerTextureOwnedByTheShare) {
    std::vector<unsigned char> picture(8 * 4 * 3, 200), other(8 * 4 * 3, 50);
    auto a = sphereShowing(picture), b = sphereShowing(picture), c = sphereShowing(other);
    auto d = std::unique_ptr<SphereObject>(generateSphere(new SphereObject(), 1.0f, 4, 8));
    const GLuint before = liveTextures();

    TextureShare share;
    GLuint working = 0;
    for (SphereObject* object : {a.get(), b.get(), c.get(), d.get()}) {
        uploadLikeARenderer(object, working, &share);
    }
    EXPECT_EQ(a->texture, b->texture);
    EXPECT_NE(a->texture, c->texture);
    EXPECT_TRUE(a->textureShared);
    EXPECT_FALSE(d->textureShared);
    EXPECT_EQ(share.size(), 2u);
    EXPECT_EQ(liveTextures(), before + 3);

    const GLuint first = a->texture;
    uploadLikeARenderer(a.get(), working, &share);
    EXPECT_EQ(a->texture, first);
    EXPECT_EQ(liveTextures(), before + 3);

    for (SphereObject* object : {a.get(), b.get(), c.get(), d.get()}) releaseGpuObjects(object);
    EXPECT_EQ(liveTextures(), before + 2);
    EXPECT_TRUE(glIsTexture(first));
    share.release();
    EXPECT_EQ(liveTextures(), before);
    EXPECT_TRUE(glErrors().empty());
}

// The started game uploads each picture once for all three scene renderers: the lit and glow
// renderers draw every object with one and the same texture.
TEST_F(TextureShareTest, TheGameUploadsEachPictureOnce) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(FYREL_RUN_DIR);
    auto game = std::make_unique<MainGame>();
    const GLuint before = liveTextures();
    ASSERT_TRUE(game->start());
    std::filesystem::current_path(previous);

    const RendererSet& set = *game->renderers;
    std::set<GLuint> pictures;
    for (const SceneObject* object : set.litRenderer->objects) pictures.insert(object->texture);
    for (const SceneObject* object : set.glowRenderer->objects) {
        EXPECT_TRUE(pictures.count(object->texture)) << "glow renderer made its own texture";
    }
    pictures.insert(game->scene->sky->texture);
    // Alien, eight planets and one sun picture for all orbs, then the sky.
    EXPECT_EQ(pictures.size(), 11u);
    EXPECT_EQ(set.textures.size(), 11u);
    // Besides those: one texture per glyph and the glow renderer's six targets.
    EXPECT_EQ(liveTextures() - before, 11u + 38u + 6u);

    game->releaseGpuObjects();
    EXPECT_EQ(liveTextures(), before);
    EXPECT_TRUE(glErrors().empty());
}
