#include "foundation/assetmanager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gCalls;

class RecordingAsset : public TAsset {
public:
    explicit RecordingAsset(std::string name) : mName(std::move(name)) {}
    void Release() override { gCalls.push_back("release " + mName); }
    void Restore() override { gCalls.push_back("restore " + mName); }

private:
    std::string mName;
};

// Counts live allocations, so the control block a weak entry keeps is visible.
int gLiveBlocks = 0;

template <typename T>
struct CountingAllocator {
    using value_type = T;
    CountingAllocator() = default;
    template <typename U>
    CountingAllocator(const CountingAllocator<U>&) {}
    T* allocate(size_t n) {
        ++gLiveBlocks;
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, size_t n) {
        --gLiveBlocks;
        std::allocator<T>().deallocate(p, n);
    }
    bool operator==(const CountingAllocator&) const { return true; }
};

class TAssetManagerTest : public testing::Test {
protected:
    void SetUp() override {
        gCalls.clear();
        gLiveBlocks = 0;
    }
    TAssetManager mManager;
};

TEST_F(TAssetManagerTest, HoldsOnlyWeakReferences) {
    auto asset = std::make_shared<RecordingAsset>("a");
    mManager.RegisterAsset("a", asset);
    EXPECT_EQ(mManager.GetAsset("a"), asset);
    EXPECT_EQ(asset.use_count(), 1);
    asset.reset();
    EXPECT_EQ(mManager.GetAsset("a"), nullptr);
    EXPECT_EQ(mManager.GetAsset("never"), nullptr);
}

TEST_F(TAssetManagerTest, RegisterReplacesAndRemoveErases) {
    auto first = std::make_shared<RecordingAsset>("1");
    auto second = std::make_shared<RecordingAsset>("2");
    mManager.RegisterAsset("key", first);
    mManager.RegisterAsset("key", second);
    EXPECT_EQ(mManager.GetAsset("key"), second);
    EXPECT_EQ(mManager.GetAsset("KEY"), nullptr);  // keys are case-sensitive
    mManager.RemoveAsset("key");
    EXPECT_EQ(mManager.GetAsset("key"), nullptr);
}

TEST_F(TAssetManagerTest, ReleaseAndRestoreLiveAssetsInKeyOrder) {
    auto b = std::make_shared<RecordingAsset>("b");
    auto a = std::make_shared<RecordingAsset>("a");
    auto gone = std::make_shared<RecordingAsset>("gone");
    mManager.RegisterAsset("b", b);
    mManager.RegisterAsset("a", a);
    mManager.RegisterAsset("c", gone);
    gone.reset();
    mManager.ReleaseAssets();
    mManager.RestoreAssets();
    EXPECT_EQ(gCalls, (std::vector<std::string>{"release a", "release b", "restore a", "restore b"}));
}

TEST_F(TAssetManagerTest, ReleaseAssetsPrunesEntriesOfDestroyedAssets) {
    auto live = std::allocate_shared<RecordingAsset>(CountingAllocator<RecordingAsset>(), "live");
    auto dead = std::allocate_shared<RecordingAsset>(CountingAllocator<RecordingAsset>(), "dead");
    mManager.RegisterAsset("live", live);
    mManager.RegisterAsset("dead", dead);
    dead.reset();
    EXPECT_EQ(gLiveBlocks, 2);  // the weak entry still pins the dead asset's block
    mManager.ReleaseAssets();
    EXPECT_EQ(gLiveBlocks, 1);
    EXPECT_EQ(mManager.GetAsset("live"), live);
    mManager.RestoreAssets();
    EXPECT_EQ(gCalls, (std::vector<std::string>{"release live", "restore live"}));
}

TEST(TAsset, ClassIdentity) {
    TAsset asset;
    EXPECT_TRUE(asset.IsA(TAsset::ClassId));
    EXPECT_FALSE(asset.IsA(nullptr));
    EXPECT_STREQ(asset.GetClassName(), "TAsset");
}

TEST(GetAssetManager, IsSetByThePlatform) {
    EXPECT_EQ(GetAssetManager(), nullptr);
    TAssetManager manager;
    SetAssetManager(&manager);
    EXPECT_EQ(GetAssetManager(), &manager);
    SetAssetManager(nullptr);
    EXPECT_EQ(GetAssetManager(), nullptr);
}

}  // namespace
