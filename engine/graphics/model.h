// A triangle mesh asset read from a ".mesh" file: vertices with position,
// normal and texture coordinates, and a list of 16-bit triangle indices.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/asset.h"
#include "foundation/tstring.h"

// The unlit vertex of the vertex sets: position, normal, texture point.
struct TMeshVertex {
    float x = 0;
    float y = 0;
    float z = 0;
    float nx = 0;
    float ny = 0;
    float nz = 0;
    float u = 0;
    float v = 0;
};
static_assert(sizeof(TMeshVertex) == 32);

class TModel : public TAsset {
public:
    static const TAssetClassId ClassId;

    // The model cached under the name, else a newly loaded one; empty when
    // the file cannot be loaded.
    static std::shared_ptr<TModel> Get(const TString& name);
    // Lets TAssetMap load ".mesh" names as models.
    static void RegisterLoaders();

    const char* GetClassName() const override { return "TModel"; }
    bool IsA(TAssetClassId id) const override { return id == ClassId || TAsset::IsA(id); }
    // Loads the file again, when a mesh is loaded.
    void Restore() override;

    // Frees any mesh, then reads the file. Names without ".mesh" and files of
    // another kind are refused without a word; an unreadable, short or
    // inconsistent file is logged.
    bool Init(const TString& fileName);

    const std::vector<TMeshVertex>& GetVertices() const { return mVertices; }
    const std::vector<uint16_t>& GetIndices() const { return mIndices; }
    int GetVertexCount() const { return mVertexCount; }
    // Three per triangle.
    int GetIndexCount() const { return mIndexCount; }

private:
    void Free();
    // Fills the mesh from the file's bytes; false when they are inconsistent.
    bool Parse(const uint8_t* bytes, size_t size);

    std::vector<TMeshVertex> mVertices;
    uint16_t mVertexCount = 0;
    std::vector<uint16_t> mIndices;
    int32_t mIndexCount = 0;
    TString mFileName;
};
