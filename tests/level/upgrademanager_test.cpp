// The upgrade catalogue: its file, the states an upgrade passes through at
// level set-up and in the shop, what owning one does to the scene's
// objects, and the byte per upgrade the player's block keeps.
#include "game/level/level.h"
#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/objects/object.h"
#include "game/sprites/spritemanager.h"
#include "tests/level/leveltesting.h"

namespace {

const char kCataloguePath[] = "locations/grytviken/upgrades.xml";
const char kBlock[] = "upgrades_grytviken";

// Writes what an upgrade does to it.
class RecordingObject : public VObject {
public:
    static std::shared_ptr<RecordingObject> Create(const char* name, std::vector<std::string>& log) {
        auto object = std::make_shared<RecordingObject>(name, log);
        Adopt(object);
        return object;
    }
    RecordingObject(const char* name, std::vector<std::string>& log) : VObject(name, "test", 0), mLog(log) {}

    void Reset() override { Write("reset"); }
    void SetAsset(const TString& asset, const TString& state, const TString& fallback) override {
        Write(std::string("asset ") + asset.c_str() + " " + state.c_str() + " " + fallback.c_str());
    }
    void SetAssetState(const TString& state, const TString& fallback) override {
        Write(std::string("state ") + state.c_str() + " " + fallback.c_str());
    }

private:
    void Write(const std::string& what) { mLog.push_back(std::string(GetName().c_str()) + " " + what); }
    std::vector<std::string>& mLog;
};

class RecordingSpider : public VUpgradeSpider {
public:
    explicit RecordingSpider(std::vector<std::string>& log) : mLog(log) {}
    bool Visit(const std::shared_ptr<VSprite>& sprite) override {
        mLog.push_back(std::string("visit ") + sprite->GetName().c_str());
        return true;
    }
    void SetUpgrade(const std::shared_ptr<VUpgrade>& upgrade) override {
        mLog.push_back(std::string("upgrade ") + upgrade->GetName().c_str());
    }
    void SetRecursive(bool recursive) override { mLog.push_back(recursive ? "recursive" : "flat"); }

private:
    std::vector<std::string>& mLog;
};

// Two mixers, the first given from level 1, the second needing the first
// and offered on levels 2 to 3; a press offered from level 4 and given from
// level 5; a hidden aesthetic upgrade offered from level 9.
const char kCatalogue[] = R"(<upgrades>
  <upgradetype type="Station">
    <upgrade name="kMixer1"><cost>100</cost><enabled>1</enabled></upgrade>
    <upgrade name="kMixer2"><cost>250</cost><minlevel>2</minlevel><maxlevel>3</maxlevel><requires>kmixer1</requires></upgrade>
    <upgrade name="kPress1"><cost>80</cost><minlevel>4</minlevel><enabled>5</enabled></upgrade>
  </upgradetype>
  <upgradetype type="aesthetic">
    <upgrade name="kBackground1" hidden="true"><cost>40</cost><minlevel>9</minlevel></upgrade>
  </upgradetype>
</upgrades>)";

class UpgradeManagerTest : public LevelTestBase {
protected:
    void SetUp() override {
        LevelTestBase::SetUp();
        AddFile(kCataloguePath, kCatalogue);
    }

    VUpgradeManager& Upgrades() { return *VUpgradeManager::Get(); }

    // A level of the first location.
    std::shared_ptr<ZqLevel> Level(int number, const std::string& extra = "") {
        std::string name = "levels/upgradelevel" + std::to_string(mFiles.size()) + ".xml";
        AddFile(name, "<level><location>grytviken</location>" + extra + "</level>");
        return ZqLevel::Create(number, name.c_str());
    }

    // Sets the level up as the level screen does, the story at storyLevel.
    void SetUp(int number, int storyLevel, const std::string& extra = "") {
        Upgrades().SetupForLevel(Level(number, extra), kCataloguePath, -1, storyLevel, true, nullptr);
    }

    int State(const char* name, const char* category = "station") {
        std::shared_ptr<VUpgrade> upgrade = Upgrades().GetUpgrade(name, category);
        return upgrade ? upgrade->GetState() : -1;
    }

    // The stored byte of the upgrade's index.
    int StoredByte(int index) {
        std::vector<uint8_t> bytes = Stored(kBlock);
        return static_cast<size_t>(index) < bytes.size() ? bytes[static_cast<size_t>(index)] : -1;
    }
};

TEST_F(UpgradeManagerTest, TheCatalogueFileGivesCategoriesNamesIndexesAndFields) {
    AddFile("grammar.xml", R"(<upgrades>
      <upgrade name="Loose"/>
      <upgrade><cost>1</cost></upgrade>
      <upgradetype type="GamePlay">
        <UPGRADE name="kSpeed1" hidden="TRUE"><cost>12.5</cost><minlevel>2</minlevel><maxlevel>x</maxlevel>
          <requires>kSlow1</requires><requires>kslow2</requires>
          <object name="Counter" asset="top" state="gold" effect="FALSE" recursive="false"/>
          <object name="Counter" state="silver"/>
          <object/>
          <title>Quick feet</title><title>Quicker feet</title></UPGRADE>
        <upgrade name=""/>
        <shelf><upgrade name="nested"/></shelf>
      </upgradetype>
      <upgrade name="kAfter"/>
      <other><upgrade name="ghost"/></other>
    </upgrades>
    <upgrades><upgrade name="kSecondFile"/><upgrade name="kafter"><cost>3</cost></upgrade></upgrades>)");
    Upgrades().LoadCatalogue("grammar.xml");

    const struct {
        const char* category;
        const char* name;
        int index;
    } present[] = {{"", "loose", 0}, {"gameplay", "kspeed1", 1}, {"gameplay", "ksecondfile", 3},
                   {"gameplay", "kafter", 4}};
    for (const auto& entry : present) {
        std::shared_ptr<VUpgrade> upgrade = Upgrades().GetUpgrade(entry.name, entry.category);
        ASSERT_NE(upgrade, nullptr) << entry.name;
        EXPECT_EQ(upgrade->GetIndex(), entry.index) << entry.name;
        EXPECT_STREQ(upgrade->GetCategory().c_str(), entry.category) << entry.name;
        EXPECT_EQ(upgrade->GetState(), VUpgrade::kLocked) << entry.name;
    }
    EXPECT_EQ(Upgrades().GetCategory("GAMEPLAY").size(), 3u);
    EXPECT_EQ(Upgrades().GetCategory("").size(), 1u);
    for (const char* absent : {"nested", "ghost", ""}) EXPECT_EQ(Upgrades().GetUpgrade(absent, "gameplay"), nullptr);
    // The later upgrade of a name replaces the earlier one.
    EXPECT_EQ(Upgrades().GetUpgrade("kAfter", "gameplay")->GetCost(), 3.0f);

    const VUpgrade& speed = *Upgrades().GetUpgrade("KSPEED1", "GamePlay");
    EXPECT_TRUE(speed.IsHidden());
    EXPECT_EQ(speed.GetCost(), 12.5f);
    EXPECT_EQ(speed.GetMinLevel(), 2);
    EXPECT_EQ(speed.GetMaxLevel(), 0);
    EXPECT_EQ(speed.GetEnabled(), VUpgrade::kNever);
    EXPECT_EQ(speed.GetRequires(), (std::set<TString>{"kSlow1", "kslow2"}));
    EXPECT_STREQ(speed.GetProperty("title").c_str(), "Quicker feet");
    EXPECT_STREQ(speed.GetProperty("subtitle").c_str(), "");
    ASSERT_EQ(speed.GetEffects().size(), 2u);
    const VUpgradeEffect& counter = speed.GetEffects().at("Counter");
    EXPECT_STREQ(counter.asset.c_str(), "");
    EXPECT_STREQ(counter.state.c_str(), "silver");
    EXPECT_TRUE(counter.effect);
    EXPECT_TRUE(counter.recursive);
    EXPECT_EQ(speed.GetEffects().count(""), 1u);
}

TEST_F(UpgradeManagerTest, EffectFlagsAreFalseOnlyWhenSpelledSo) {
    AddFile("flags.xml", R"(<upgrades><upgrade name="a">
        <object name="one" effect="false" recursive="false"/><object name="two" effect="FALSE" recursive="no"/>
      </upgrade></upgrades>)");
    Upgrades().LoadCatalogue("flags.xml");
    const auto& effects = Upgrades().GetUpgrade("a", "")->GetEffects();
    EXPECT_FALSE(effects.at("one").effect);
    EXPECT_FALSE(effects.at("one").recursive);
    EXPECT_TRUE(effects.at("two").effect);
    EXPECT_TRUE(effects.at("two").recursive);
}

TEST_F(UpgradeManagerTest, LevelSetUpGivesOffersOrLocks) {
    StartPlayer();
    const struct {
        const char* what;
        int level;
        int story;
        int mixer1, mixer2, press1;
        int pressByte;
    } cases[] = {
        {"level 1", 1, 1, VUpgrade::kBought, VUpgrade::kLocked, VUpgrade::kLocked, 0xFF},
        {"level 2: the second mixer is offered", 2, 2, VUpgrade::kBought, VUpgrade::kAvailable, VUpgrade::kLocked,
         0xFF},
        {"level 4, press enabled at 5: offered", 4, 4, VUpgrade::kBought, VUpgrade::kLocked, VUpgrade::kAvailable,
         0xFF},
        {"replaying level 5 with the story at 4", 5, 4, VUpgrade::kBought, VUpgrade::kLocked, VUpgrade::kAvailable,
         0xFF},
        {"level 5 of the story at 5: given and saved", 5, 5, VUpgrade::kBought, VUpgrade::kLocked, VUpgrade::kBought,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp(c.level, c.story);
        EXPECT_EQ(State("kMixer1"), c.mixer1);
        EXPECT_EQ(State("kMixer2"), c.mixer2);
        EXPECT_EQ(State("kPress1"), c.press1);
        EXPECT_EQ(StoredByte(0), 1);
        EXPECT_EQ(StoredByte(2), c.pressByte);
        EXPECT_EQ(State("kBackground1", "aesthetic"), VUpgrade::kLocked);
    }
}

TEST_F(UpgradeManagerTest, APreviewRevertsToWhereItStartedAndABuyEndsIt) {
    StartPlayer();
    SetUp(2, 2);
    std::vector<std::string> log;
    auto spider = std::make_shared<RecordingSpider>(log);

    Upgrades().PreviewUpgrade("KMIXER2", "Station", spider);
    EXPECT_EQ(State("kMixer2"), VUpgrade::kPreview);
    EXPECT_TRUE(Upgrades().IsUpgradeOwned("kMixer2", "station"));
    Upgrades().RevertPreviews("", "", spider);
    EXPECT_EQ(State("kMixer2"), VUpgrade::kAvailable);
    EXPECT_EQ(log, (std::vector<std::string>{"upgrade kmixer2", "upgrade kmixer2"}));

    Upgrades().PreviewUpgrade("kMixer2", "station", nullptr);
    EXPECT_TRUE(Upgrades().GrantUpgrade("kMixer2", "station", true, nullptr));
    Upgrades().RevertPreviews("kmixer2", "station", nullptr);
    EXPECT_EQ(State("kMixer2"), VUpgrade::kBought);
    EXPECT_EQ(Upgrades().GetUpgrade("kMixer2", "station")->GetPreviousState(), VUpgrade::kAvailable);
    EXPECT_EQ(StoredByte(1), 1);

    // Locked and bought upgrades are not previewed; a revert of another
    // name or category leaves a preview alone.
    Upgrades().PreviewUpgrade("kPress1", "station", nullptr);
    Upgrades().PreviewUpgrade("kMixer1", "station", nullptr);
    EXPECT_EQ(State("kPress1"), VUpgrade::kLocked);
    EXPECT_EQ(State("kMixer1"), VUpgrade::kBought);
    Upgrades().MakeAvailable("kBackground1", "aesthetic");
    Upgrades().PreviewUpgrade("kBackground1", "aesthetic", nullptr);
    Upgrades().RevertPreviews("kBackground1", "station", nullptr);
    Upgrades().RevertPreviews("kMixer2", "", nullptr);
    EXPECT_EQ(State("kBackground1", "aesthetic"), VUpgrade::kPreview);
    Upgrades().RevertPreviews("", "aesthetic", nullptr);
    EXPECT_EQ(State("kBackground1", "aesthetic"), VUpgrade::kAvailable);
}

TEST_F(UpgradeManagerTest, ABoughtUpgradeOutsideItsLevelWindowIsNotOwned) {
    std::vector<uint8_t> bytes(75, 0xFF);
    bytes[1] = 1;
    StartPlayerWith(kBlock, bytes);
    SetUp(3, 3);
    EXPECT_TRUE(Upgrades().IsUpgradeOwned("kMixer2", "station"));
    SetUp(4, 4);
    EXPECT_FALSE(Upgrades().IsUpgradeOwned("kMixer2", "station"));
    EXPECT_EQ(StoredByte(1), 1);
}

TEST_F(UpgradeManagerTest, OpenUpgradesAreThoseNeitherHiddenNorOwned) {
    StartPlayer();
    SetUp(1, 1);
    EXPECT_EQ(Upgrades().CountOpenUpgrades("Station"), 2);
    EXPECT_EQ(Upgrades().CountOpenUpgrades("aesthetic"), 0);
    Upgrades().RevealUpgrade("kBackground1", "aesthetic");
    EXPECT_EQ(Upgrades().CountOpenUpgrades("aesthetic"), 1);
    Upgrades().GrantUpgrade("kPress1", "station", false, nullptr);
    EXPECT_EQ(Upgrades().CountOpenUpgrades("station"), 1);
    EXPECT_EQ(Upgrades().CountOpenUpgrades("gameplay"), 0);
}

TEST_F(UpgradeManagerTest, AnActiveUpgradeIsPurchasableWithItsPrerequisitesOwned) {
    AddFile("active.xml", R"(<upgrades><upgradetype type="station">
        <upgrade name="base"/><upgrade name="top"><requires>base</requires></upgrade>
      </upgradetype></upgrades>)");
    Upgrades().LoadCatalogue("active.xml");
    Upgrades().MakeAvailable("top", "station");
    EXPECT_FALSE(Upgrades().IsUpgradeActive("top", "station"));
    Upgrades().GrantUpgrade("base", "station", false, nullptr);
    EXPECT_TRUE(Upgrades().IsUpgradeActive("top", "station"));
    EXPECT_FALSE(Upgrades().IsUpgradeActive("base", "station"));
    Upgrades().GrantUpgrade("top", "station", false, nullptr);
    EXPECT_FALSE(Upgrades().IsUpgradeActive("top", "station"));
    EXPECT_FALSE(Upgrades().IsUpgradeActive("missing", "station"));
}

TEST_F(UpgradeManagerTest, OwningShowsEachEffectOnItsBoundObject) {
    AddFile("effects.xml", R"(<upgrades><upgrade name="decor">
        <object name="sign" asset="board" state="gold"/>
        <object name="wall" state="blue" recursive="false"/>
        <object name="floor" effect="false"/>
        <object name="lamp" asset="bulb"/>
        <object name="plain" state="red"/>
        <object name="nowhere" state="red"/>
      </upgrade></upgrades>)");
    Upgrades().LoadCatalogue("effects.xml");
    Upgrades().MakeAvailable("decor", "");
    std::vector<std::string> log;
    auto sprites = VSpriteManager::Create();
    for (const char* name : {"floor", "lamp", "sign", "wall"}) sprites->AddSprite(RecordingObject::Create(name, log));
    sprites->AddSprite(VSprite::Create("plain", 0));
    Upgrades().ApplyUpgradeEffects(*sprites);
    EXPECT_TRUE(log.empty());

    auto spider = std::make_shared<RecordingSpider>(log);
    Upgrades().PreviewUpgrade("decor", "", spider);
    EXPECT_EQ(log, (std::vector<std::string>{"upgrade decor", "floor reset", "recursive", "visit lamp",
                                             "sign asset board gold default", "recursive", "visit sign",
                                             "wall state blue default", "flat", "visit wall"}));
    log.clear();
    Upgrades().RevertPreviews("", "", nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"floor reset", "lamp reset", "sign reset", "wall reset"}));
    EXPECT_EQ(State("decor", ""), VUpgrade::kAvailable);
}

TEST_F(UpgradeManagerTest, EndlessModeNeitherReadsNorWritesTheBlock) {
    std::vector<uint8_t> bytes(75, 0xFF);
    bytes[1] = 1;
    StartPlayerWith(kBlock, bytes);
    Upgrades().SetEndlessMode(true);
    Upgrades().SetupForLevel(Level(5), kCataloguePath, -1, 5, false, nullptr);
    EXPECT_EQ(State("kPress1"), VUpgrade::kBought);
    EXPECT_EQ(State("kMixer2"), VUpgrade::kLocked);
    Upgrades().GrantUpgrade("kMixer2", "station", true, nullptr);
    EXPECT_EQ(Stored(kBlock), bytes);
}

TEST_F(UpgradeManagerTest, SavingChangesTheUpgradesOwnByteOnly) {
    StartPlayer();
    SetUp(2, 2);
    std::vector<uint8_t> before = Stored(kBlock);
    ASSERT_EQ(before.size(), 75u);
    Upgrades().GrantUpgrade("kMixer2", "station", true, nullptr);
    std::vector<uint8_t> expected = before;
    expected[1] = 1;
    EXPECT_EQ(Stored(kBlock), expected);
    // Not saved, and unknown names: nothing.
    Upgrades().GrantUpgrade("kPress1", "station", false, nullptr);
    EXPECT_FALSE(Upgrades().GrantUpgrade("kPress9", "station", true, nullptr));
    EXPECT_EQ(Stored(kBlock), expected);
}

TEST_F(UpgradeManagerTest, UpgradesBeyondTheBlockAreNeverSaved) {
    std::string xml = "<upgrades>";
    for (int i = 0; i < 80; ++i) xml += "<upgrade name=\"u" + std::to_string(i) + "\"/>";
    AddFile("many.xml", xml + "</upgrades>");
    StartPlayer();
    Upgrades().SetupForLevel(Level(1), "many.xml", -1, 1, true, nullptr);
    std::vector<uint8_t> before = Stored(kBlock);
    for (const char* name : {"u74", "u75", "u79"}) EXPECT_TRUE(Upgrades().GrantUpgrade(name, "", true, nullptr));
    std::vector<uint8_t> after = Stored(kBlock);
    ASSERT_EQ(after.size(), 75u);
    EXPECT_EQ(after[74], 1);
    after[74] = before[74];
    EXPECT_EQ(after, before);
}

TEST_F(UpgradeManagerTest, AShortBlockOwnsOnlyWhatItHolds) {
    AddFile("short.xml", R"(<upgrades><upgrade name="first"/><upgrade name="second"/>
        <upgrade name="third"/></upgrades>)");
    StartPlayerWith(kBlock, {0, 1});
    Upgrades().SetupForLevel(Level(1), "short.xml", -1, 1, true, nullptr);
    EXPECT_FALSE(Upgrades().IsUpgradeOwned("first", ""));
    EXPECT_TRUE(Upgrades().IsUpgradeOwned("second", ""));
    EXPECT_FALSE(Upgrades().IsUpgradeOwned("third", ""));
    Upgrades().GrantUpgrade("third", "", true, nullptr);
    std::vector<uint8_t> stored = Stored(kBlock);
    ASSERT_EQ(stored.size(), 75u);
    EXPECT_EQ(std::vector<uint8_t>(stored.begin(), stored.begin() + 4), (std::vector<uint8_t>{0, 1, 1, 0xFF}));
}

TEST_F(UpgradeManagerTest, TheLevelsOwnUpgradesLastForTheLevel) {
    StartPlayer();
    const std::string grants = R"(<upgrade category="Station" name="KMIXER2"/><upgrade category="station" name="none"/>)";
    SetUp(1, 1, grants);
    EXPECT_TRUE(Upgrades().IsUpgradeOwned("kMixer2", "station"));
    EXPECT_EQ(StoredByte(1), 0xFF);
    Upgrades().SetupForLevel(Level(1, grants), kCataloguePath, -1, 1, false, nullptr);
    EXPECT_FALSE(Upgrades().IsUpgradeOwned("kMixer2", "station"));
}

TEST_F(UpgradeManagerTest, AMissingOrMalformedCatalogueIsLoggedAndChangesNoBlock) {
    StartPlayer();
    SetUp(5, 5);
    std::vector<uint8_t> before = Stored(kBlock);
    const std::pair<const char*, const char*> cases[] = {
        {"locations/nowhere/upgrades.xml", "VUpgradeManager: cannot read locations/nowhere/upgrades.xml"},
        {"broken.xml", "VUpgradeManager: no \"upgrades\" element in broken.xml"},
    };
    AddFile("broken.xml", "<upgrade name=\"kMixer1\"><enabled>1</enabled>");
    for (const auto& [path, logged] : cases) {
        Upgrades().SetupForLevel(Level(5), path, -1, 5, true, nullptr);
        EXPECT_TRUE(mLog.Contains(logged)) << path;
        EXPECT_TRUE(Upgrades().GetCategory("station").empty()) << path;
        EXPECT_FALSE(Upgrades().IsUpgradeOwned("kMixer1", "station")) << path;
        EXPECT_EQ(Stored(kBlock), before) << path;
    }
}

TEST_F(UpgradeManagerTest, ValueModifiersFollowOwnership) {
    AddFile("values.xml", R"(<values><value name="mixer_speed" value="10">
        <modify value="0.5" upgrade="kMixer2" category="station"/></value></values>)");
    StartPlayer();
    SetUp(2, 2);
    EXPECT_FLOAT_EQ(VValueManager::Get()->GetReal("mixer_speed", 0.0f), 10.0f);
    Upgrades().GrantUpgrade("kMixer2", "station", false, nullptr);
    EXPECT_FLOAT_EQ(VValueManager::Get()->GetReal("mixer_speed", 0.0f), 15.0f);
    ReleaseManagerSingleton<VUpgradeManager>();
    EXPECT_FLOAT_EQ(VValueManager::Get()->GetReal("mixer_speed", 0.0f), 10.0f);
}

}  // namespace
