#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "Model/ModelPool.h"
#include "infra/Log.h"

namespace {

// Records what the pool asks of it and answers with a fixed result.
struct FakeLoader : Model::IModelLoader {
    FakeLoader(std::vector<std::string> endings, int result)
        : endings(std::move(endings)), result(result) {}
    std::vector<std::string> getFileEndings() override { return endings; }
    void addModel(Mesh*) override {}
    int loadModel(std::vector<Mesh*>) override { return 0; }
    int loadModel(Mesh* mesh) override {
        loaded.push_back(mesh);
        return result;
    }
    int loadModels() override { return 0; }

    std::vector<std::string> endings;
    int result;
    std::vector<Mesh*> loaded;
};

class ModelPoolTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string pattern = testing::TempDir() + "fyrel_pool_XXXXXX";
        dir = std::string(mkdtemp(pattern.data())) + "/";
        mkdir((dir + "models.old").c_str(), 0755);
        for (const char* name : {"alien.dae", "other.dae", "alien.DAE", "rock.obj", "noending",
                                 "models.old/alien", "models.old/alien.dae"}) {
            std::ofstream(dir + name) << "x";
        }
    }
    void TearDown() override { logThreshold = savedThreshold; }

    template <typename Call>
    std::string printed(Call call) {
        testing::internal::CaptureStdout();
        call();
        return testing::internal::GetCapturedStdout();
    }

    static std::string dir;
    LogLevel savedThreshold = logThreshold;
};
std::string ModelPoolTest::dir;

TEST_F(ModelPoolTest, CreateModelChecksTheFileBeforeTheId) {
    ModelPool pool;
    EXPECT_EQ(logThreshold, ERR);
    ASSERT_EQ(pool.createModel("alien", dir + "alien.dae"), 0);
    Mesh* first = pool.getModel("alien");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->id, "alien");

    int result = -1;
    EXPECT_EQ(printed([&] { result = pool.createModel("alien", dir + "missing.dae"); }),
              "ERR   ModelPool: file in path " + dir + "missing.dae can not be opened\n" +
                  "ERR   ModelPool: path to model file could not be opened, path used: " + dir +
                  "missing.dae\n");
    EXPECT_EQ(result, 2);
    EXPECT_EQ(printed([&] { result = pool.createModel("alien", dir + "other.dae"); }),
              "ERR   ModelPool: tried to create model with id alien but id was already used\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(pool.getModel("alien"), first);
    EXPECT_EQ(first->path, dir + "alien.dae");
    EXPECT_EQ(printed([&] { EXPECT_EQ(pool.getModel("never"), nullptr); }), "");
}

TEST_F(ModelPoolTest, LoadAllModelsReturnsTheWorstResultWhateverTheOrder) {
    for (const auto& ids : {std::pair<std::string, std::string>{"a", "b"}, {"b", "a"}}) {
        ModelPool pool;
        FakeLoader loader({".dae"}, 0);
        pool.addLoader(&loader);
        ASSERT_EQ(pool.createModel(ids.first, dir + "alien.dae"), 0);
        ASSERT_EQ(pool.createModel(ids.second, dir + "rock.obj"), 0);
        int result = -1;
        EXPECT_EQ(printed([&] { result = pool.loadAllModels(); }),
                  "ERR   ModelPool: no model loader for model with id " + ids.second +
                      " could be found.\n");
        EXPECT_EQ(result, 2);
        EXPECT_EQ(loader.loaded, std::vector<Mesh*>{pool.getModel(ids.first)});
    }
}

TEST_F(ModelPoolTest, EndingsAreExactAndTakenFromTheLastDot) {
    ModelPool pool;
    EXPECT_EQ(pool.fileEnding("models.old/alien"), ".old/alien");
    FakeLoader failing({".dae"}, 1);
    pool.addLoader(&failing);
    const std::pair<const char*, int> cases[] = {
        {"models.old/alien.dae", 1}, {"alien.DAE", 2}, {"models.old/alien", 2}, {"noending", 2}};
    for (const auto& [file, expected] : cases) {
        ASSERT_EQ(pool.createModel(file, dir + file), 0);
        int result = -1;
        const std::string out = printed([&] { result = pool.loadModel(pool.getModel(file)); });
        EXPECT_EQ(result, expected) << file;
        EXPECT_EQ(out, expected == 1 ? "ERR   ModelPool: model with id " + std::string(file) +
                                           " could not be loaded\n"
                                     : "ERR   ModelPool: no model loader for model with id " +
                                           std::string(file) + " could be found.\n");
    }
    // Any loader result other than 1 counts as success; a later loader replaces the earlier.
    FakeLoader odd({".dae"}, 7);
    pool.addLoader(&odd);
    EXPECT_EQ(pool.loadModel(pool.getModel("models.old/alien.dae")), 0);

    logThreshold = 0;
    FakeLoader none({}, 0);
    EXPECT_EQ(printed([&] { pool.addLoader(&none); }), "TRACE ModelPool: addLoader called\n");
    EXPECT_EQ(pool.loaders.size(), 1u);
}

}  // namespace
