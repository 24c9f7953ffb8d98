#include "foundation/assetmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/assetmanager.h"
#include "foundation/debuglog.h"
#include "foundation/virtualfiles.h"
#include "sound/sound.h"
#include "tests/support/tempfolder.h"

namespace {

class NamedAsset : public TAsset {
public:
    explicit NamedAsset(const TString& name) : mName(name) {}
    TString mName;
};

const char kContent[] = "x";
const char* const kFiles[] = {
    "sounds/click.ogg", "music/theme.ogg", "ui/both.png",    "ui/both.jpg",   "anim/walk.anm",
    "anim/walk.xml",    "ui/pic.png",      "scripts/intro.lua", "models/cup.mesh", "ui/shout.JPG",
    "data/table.csv",   "ui/broken.png",
};

// Loaders that behave like the real ones: the cached asset when live, else a
// new one registered under its load name. Each records the names it was given.
class TAssetMapTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kFiles) {
            RegisterMemoryFile(name, kContent, 1);
        }
        SetAssetManager(&mManager);
        for (const char* extension : {"png", "jpg", "xml", "anm", "ogg", "lua", "mesh"}) {
            TAssetMap::RegisterLoader(extension, [this](const TString& name) { return Load(name); });
        }
        ASSERT_FALSE(mLogFolder.Path().empty());
        SetLogFolder(mLogFolder.Path().c_str());
    }
    void TearDown() override {
        for (const char* name : kFiles) {
            RegisterMemoryFile(name, nullptr, 0);
        }
        for (const char* extension : {"png", "jpg", "xml", "anm", "ogg", "lua", "mesh"}) {
            TAssetMap::RegisterLoader(extension, nullptr);
        }
        SetAssetManager(nullptr);
        SetLogFolder(nullptr);
    }

    std::shared_ptr<TAsset> Load(const TString& name) {
        mLoadNames.push_back(name.c_str());
        if (name == TString("ui/broken.png")) {
            return nullptr;
        }
        if (auto cached = GetAssetManager()->GetAsset(name)) {
            return cached;
        }
        ++mCreated;
        auto asset = std::make_shared<NamedAsset>(name);
        GetAssetManager()->RegisterAsset(name, asset);
        return asset;
    }

    std::string Log() const { return mLogFolder.Read("logfile.txt"); }

    TAssetManager mManager;
    std::vector<std::string> mLoadNames;
    int mCreated = 0;
    TempFolder mLogFolder;
};

TEST_F(TAssetMapTest, StandardExtensionsAreTriedInOrder) {
    struct Case {
        const char* requested;
        const char* loadName;
    };
    const Case cases[] = {
        {"sounds\\click", "sounds/click.ogg"},
        {"ui/both", "ui/both.jpg"},
        {"anim/walk", "anim/walk.xml"},
        {"ui/pic.png", "ui/pic.png"},
        {"scripts/intro", "scripts/intro.lua"},
        {"models/cup", "models/cup.mesh"},
        {"music/theme.ogg?group=2", "music/theme.ogg?group=2"},
        {"music/theme?group=3", "music/theme.ogg?group=3"},
    };
    TAssetMap map;
    for (const Case& c : cases) {
        mLoadNames.clear();
        map.AddAsset(c.requested);
        EXPECT_EQ(mLoadNames, std::vector<std::string>{c.loadName}) << c.requested;
        EXPECT_NE(mManager.GetAsset(c.loadName), nullptr) << c.requested;
    }
    EXPECT_EQ(Log(), "");
}

TEST_F(TAssetMapTest, MissingUnknownAndFailedAssetsAreLoggedAndNotStored) {
    TAssetMap map;
    map.AddAsset("nothing\\here");
    map.AddAsset("ui/shout.JPG");  // extensions are compared exactly
    map.AddAsset("data/table.csv");
    map.AddAsset("ui/broken");
    const std::string log = Log();
    EXPECT_NE(log.find(": TAssetMap::AddAsset: Failed to find asset nothing/here with any standard extension "
                       "(jpg/png/anm/xml/ogg/mesh)\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find(": TAssetMap::AddAsset: Error loading ui/shout.JPG\n"), std::string::npos) << log;
    EXPECT_NE(log.find(": TAssetMap::AddAsset: Error loading data/table.csv\n"), std::string::npos) << log;
    EXPECT_NE(log.find(": TAssetMap::AddAsset: Error loading ui/broken.png\n"), std::string::npos) << log;
    EXPECT_EQ(mLoadNames, std::vector<std::string>{"ui/broken.png"});
}

TEST_F(TAssetMapTest, ExtensionWithoutLoaderIsAnError) {
    TAssetMap::RegisterLoader("ogg", nullptr);
    TAssetMap map;
    map.AddAsset("sounds/click");
    EXPECT_TRUE(mLoadNames.empty());
    EXPECT_NE(Log().find("Error loading sounds/click.ogg"), std::string::npos);
}

TEST_F(TAssetMapTest, SoundsAreLoadedThroughTSoundGet) {
    // The loader the platform registers for sounds; no sound loads yet.
    TAssetMap::RegisterLoader("ogg", [](const TString& name) { return TSound::Get(name, 1, -1); });
    TAssetMap map;
    map.AddAsset("music/theme.ogg?group=2");
    EXPECT_NE(Log().find("Error loading music/theme.ogg?group=2"), std::string::npos) << Log();
    EXPECT_EQ(mManager.GetAsset("music/theme.ogg?group=2"), nullptr);
}

TEST_F(TAssetMapTest, SameObjectWhileHeldAndReloadedAfterTheLastHolder) {
    std::weak_ptr<TAsset> first;
    {
        TAssetMap one;
        TAssetMap two;
        one.AddAsset("ui/pic");
        two.AddAsset("ui/pic.png");
        first = mManager.GetAsset("ui/pic.png");
        ASSERT_FALSE(first.expired());
        EXPECT_EQ(mCreated, 1);
    }
    EXPECT_TRUE(first.expired());
    EXPECT_EQ(mManager.GetAsset("ui/pic.png"), nullptr);
    TAssetMap three;
    three.AddAsset("ui/pic");
    EXPECT_EQ(mCreated, 2);
    EXPECT_NE(mManager.GetAsset("ui/pic.png"), nullptr);
}

TEST_F(TAssetMapTest, EntriesAreKeptUnderTheRequestedName) {
    // A loader without a cache shows which entries the map replaces.
    std::vector<std::weak_ptr<TAsset>> made;
    TAssetMap::RegisterLoader("ogg", [&made](const TString& name) {
        auto asset = std::make_shared<NamedAsset>(name);
        made.push_back(asset);
        return asset;
    });
    TAssetMap map;
    map.AddAsset("music/theme.ogg?group=1");
    map.AddAsset("music/theme.ogg?group=2");
    map.AddAsset("music\\theme.ogg?group=2");
    ASSERT_EQ(made.size(), 3u);
    EXPECT_FALSE(made[0].expired());
    EXPECT_TRUE(made[1].expired());
    EXPECT_FALSE(made[2].expired());
}

TEST_F(TAssetMapTest, GivenAssetsAndListsAreHeldUntilTheMapGoes) {
    auto given = std::make_shared<NamedAsset>("given");
    std::weak_ptr<TAsset> weak = given;
    const char* const names[] = {"ui/pic", "sounds/click", "scripts/intro", nullptr};
    {
        TAssetMap map;
        map.AddAsset("anything", given);
        given.reset();
        EXPECT_FALSE(weak.expired());
        map.AddAssets(names);
        EXPECT_EQ(mLoadNames, (std::vector<std::string>{"ui/pic.png", "sounds/click.ogg", "scripts/intro.lua"}));
        EXPECT_NE(mManager.GetAsset("sounds/click.ogg"), nullptr);
    }
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(mManager.GetAsset("sounds/click.ogg"), nullptr);
}

}  // namespace
