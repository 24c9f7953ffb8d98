#include "graphics/model.h"

#include <cstring>
#include <string>

#include "foundation/assetmanager.h"
#include "foundation/assetmap.h"
#include "foundation/byteorder.h"
#include "foundation/debuglog.h"
#include "foundation/readfile.h"

const TAssetClassId TModel::ClassId = &TModel::ClassId;

namespace {

constexpr char kTag[4] = {'T', 'R', 'I', 'S'};
constexpr size_t kHeaderBytes = 8;
constexpr size_t kVertexBytes = 16;
constexpr size_t kTriangleBytes = 6;
// Stored values are the floats times this.
constexpr float kValueScale = 1000.0f;

float StoredValue(const uint8_t* bytes) {
    return static_cast<int16_t>(ReadU16LE(bytes)) / kValueScale;
}

}  // namespace

std::shared_ptr<TModel> TModel::Get(const TString& name) {
    TAssetManager* manager = GetAssetManager();
    if (manager) {
        if (auto cached = std::dynamic_pointer_cast<TModel>(manager->GetAsset(name))) return cached;
    }
    auto model = std::make_shared<TModel>();
    if (!model->Init(name)) return nullptr;
    if (manager) manager->RegisterAsset(name, model);
    return model;
}

void TModel::RegisterLoaders() {
    TAssetMap::RegisterLoader("mesh", [](const TString& loadName) -> std::shared_ptr<TAsset> { return Get(loadName); });
}

void TModel::Restore() {
    // Init frees the stored name first, so it gets a copy.
    if (mFileName.Length() > 0) Init(TString(mFileName));
}

void TModel::Free() {
    mVertices.clear();
    mIndices.clear();
    mVertexCount = 0;
    mIndexCount = 0;
    mFileName = TString();
}

bool TModel::Init(const TString& fileName) {
    Free();
    if (fileName.Find(".mesh") < 0) return false;
    std::string bytes;
    if (!ReadWholeFile(fileName, bytes)) {
        DebugLog("TModel::Init: Failed to load %s", fileName.c_str());
        return false;
    }
    if (bytes.size() < sizeof(kTag) || std::memcmp(bytes.data(), kTag, sizeof(kTag)) != 0) return false;
    if (!Parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) {
        Free();
        DebugLog("TModel::Init: Failed to load %s", fileName.c_str());
        return false;
    }
    mFileName = fileName;
    return true;
}

// The counts are checked against the bytes there are, and every index
// against the vertex count, so a damaged file never reads or draws outside.
bool TModel::Parse(const uint8_t* bytes, size_t size) {
    if (size < kHeaderBytes) return false;
    uint16_t vertexCount = ReadU16LE(bytes + 4);
    uint16_t triangleCount = ReadU16LE(bytes + 6);
    size_t indexOffset = kHeaderBytes + vertexCount * kVertexBytes;
    if (size < indexOffset + triangleCount * kTriangleBytes) return false;
    mVertices.resize(vertexCount);
    for (size_t i = 0; i < vertexCount; ++i) {
        const uint8_t* in = bytes + kHeaderBytes + i * kVertexBytes;
        TMeshVertex& vertex = mVertices[i];
        float* fields[] = {&vertex.x, &vertex.y, &vertex.z, &vertex.nx, &vertex.ny, &vertex.nz, &vertex.u, &vertex.v};
        for (size_t field = 0; field < 8; ++field) *fields[field] = StoredValue(in + 2 * field);
    }
    mIndices.resize(triangleCount * 3u);
    for (size_t i = 0; i < mIndices.size(); ++i) {
        mIndices[i] = ReadU16LE(bytes + indexOffset + 2 * i);
        if (mIndices[i] >= vertexCount) return false;
    }
    mVertexCount = vertexCount;
    mIndexCount = static_cast<int32_t>(mIndices.size());
    return true;
}
