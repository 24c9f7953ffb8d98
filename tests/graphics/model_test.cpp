#include "graphics/model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/assetmanager.h"
#include "foundation/assetmap.h"
#include "foundation/virtualfiles.h"
#include "tests/foundation/virtualfilesfixture.h"
#include "tests/support/luatesting.h"

namespace {

class MeshWriter {
public:
    explicit MeshWriter(const char* tag = "TRIS") { bytes.append(tag, 4); }
    MeshWriter& U16(int value) {
        bytes += static_cast<char>(value & 0xFF);
        bytes += static_cast<char>((value >> 8) & 0xFF);
        return *this;
    }
    // Eight stored values: x, y, z, nx, ny, nz, u, v.
    MeshWriter& Vertex(std::vector<int> values) {
        for (int value : values) U16(value);
        return *this;
    }

    std::string bytes;
};

class ModelTest : public VirtualFilesTest {
protected:
    void SetUp() override {
        VirtualFilesTest::SetUp();
        SetAssetManager(&manager);
    }
    void TearDown() override {
        SetAssetManager(nullptr);
        VirtualFilesTest::TearDown();
    }
    void Write(const std::string& name, const std::string& bytes) {
        mTemp.Write("assets/" + name, bytes);
        ScanFolder("assets", "");
    }

    TestLog log;
    TAssetManager manager;
};

std::string OneTriangle() {
    MeshWriter w;
    w.U16(3).U16(1);
    w.Vertex({1500, -250, 0, 0, 0, 1000, 0, 0});
    w.Vertex({0, 1000, -1, 0, 0, 1000, 1000, 0});
    w.Vertex({-32768, 32767, 0, 0, 0, 1000, 0, 1000});
    w.U16(0).U16(2).U16(1);
    return w.bytes;
}

TEST_F(ModelTest, StoredValuesAreThousandths) {
    Write("tri.mesh", OneTriangle());
    std::shared_ptr<TModel> model = TModel::Get("tri.mesh");
    ASSERT_TRUE(model);
    ASSERT_EQ(model->GetVertexCount(), 3);
    ASSERT_EQ(model->GetIndexCount(), 3);
    const TMeshVertex& first = model->GetVertices()[0];
    EXPECT_FLOAT_EQ(first.x, 1.5f);
    EXPECT_FLOAT_EQ(first.y, -0.25f);
    EXPECT_FLOAT_EQ(first.nz, 1.0f);
    EXPECT_FLOAT_EQ(model->GetVertices()[1].u, 1.0f);
    EXPECT_FLOAT_EQ(model->GetVertices()[1].z, -0.001f);
    EXPECT_FLOAT_EQ(model->GetVertices()[2].x, -32.768f);
    EXPECT_FLOAT_EQ(model->GetVertices()[2].v, 1.0f);
    EXPECT_EQ(model->GetIndices(), (std::vector<uint16_t>{0, 2, 1}));
    EXPECT_EQ(TModel::Get("tri.mesh"), model);
    EXPECT_EQ(manager.GetAsset("tri.mesh"), model);
    EXPECT_STREQ(model->GetClassName(), "TModel");
    EXPECT_TRUE(model->IsA(TAsset::ClassId));
}

TEST_F(ModelTest, EmptyMeshLoads) {
    Write("empty.mesh", MeshWriter().U16(0).U16(0).bytes);
    std::shared_ptr<TModel> model = TModel::Get("empty.mesh");
    ASSERT_TRUE(model);
    EXPECT_EQ(model->GetVertexCount(), 0);
    EXPECT_EQ(model->GetIndexCount(), 0);
}

TEST_F(ModelTest, RefusalsAndFailures) {
    Write("tri.bin", OneTriangle());
    Write("other.mesh", MeshWriter("QUAD").U16(0).U16(0).bytes);
    std::string full = OneTriangle();
    struct Case {
        const char* what;
        const char* name;
        std::string bytes;  // written when not empty
        bool logged;
    };
    const Case cases[] = {
        // Refused before any file is opened, though the file exists.
        {"no .mesh in the name", "tri.bin", "", false},
        {"another tag", "other.mesh", "", false},
        {"missing file", "missing.mesh", "", true},
        {"short header", "header.mesh", full.substr(0, 7), true},
        {"short vertices", "vertices.mesh", full.substr(0, 8 + 16 * 2), true},
        {"short indices", "indices.mesh", full.substr(0, full.size() - 1), true},
        {"index past the vertices", "index.mesh", MeshWriter().U16(1).U16(1).Vertex({0, 0, 0, 0, 0, 0, 0, 0})
                                                      .U16(0).U16(0).U16(1).bytes, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.bytes.empty()) Write(c.name, c.bytes);
        TestLog caseLog;
        EXPECT_FALSE(TModel::Get(c.name));
        std::string line = std::string("TModel::Init: Failed to load ") + c.name;
        EXPECT_EQ(caseLog.Contains(line), c.logged) << caseLog.Text();
    }
}

TEST_F(ModelTest, RestoreReadsTheFileAgainAndAFailedInitLeavesNoMesh) {
    Write("tri.mesh", OneTriangle());
    TModel model;
    ASSERT_TRUE(model.Init("tri.mesh"));
    Write("tri.mesh", MeshWriter().U16(0).U16(0).bytes);
    model.Restore();
    EXPECT_EQ(model.GetVertexCount(), 0);
    EXPECT_FALSE(model.Init("missing.mesh"));
    Write("tri.mesh", OneTriangle());
    model.Restore();  // nothing is loaded, so nothing is read
    EXPECT_EQ(model.GetVertexCount(), 0);
}

TEST_F(ModelTest, AssetMapLoadsMeshNames) {
    Write("models/tri.mesh", OneTriangle());
    TModel::RegisterLoaders();
    TAssetMap map;
    map.AddAsset("models/tri");
    EXPECT_TRUE(std::dynamic_pointer_cast<TModel>(manager.GetAsset("models/tri.mesh")));
    TAssetMap::RegisterLoader("mesh", nullptr);
}

}  // namespace
