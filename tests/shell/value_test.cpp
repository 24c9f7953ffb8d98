// Named values: the file's forms, modifiers, limits, saved values per user,
// the conversions to integers and the script functions.
#include <cfloat>
#include <cmath>
#include <limits>

#include <zlib.h>

#include "tests/shell/shelltesting.h"

namespace {

class AnsweringConditions : public VValueConditions {
public:
    bool IsUpgradeOwned(const TString& upgrade, const TString& category) const override {
        return upgrade == "kMixer1" && category == "station";
    }
    bool IsStepQueued(const TString& step) const override { return step == "story_1"; }
};

const char kValues[] = R"(<values>
  <value name="price" value="100">
    <modify value="0.5"/>
    <modify byval="bonus"/>
  </value>
  <value name="bonus" value="0.1"/>
  <value name="worth" value="12.75" saved="true"/>
  <value name="capped" value="5" min="0" max="10"/>
  <value name="falling" value="-0.5"/>
  <value name="speed" value="10">
    <modify value="1" upgrade="kMixer1" category="station"/>
    <modify value="1" upgrade="kMixer1" category="other"/>
    <modify value="0.5" plot="story_1"/>
    <modify value="0.5" plot="story_2"/>
  </value>
  <value value="3"/>
  <value name="" value="3"/>
  <other name="ignored" value="1"/>
  <value name="garbled" value="abc" min="" max="x"/>
  <value name="dup" value="1"/>
  <value name="dup" value="2"/>
</values>)";

class ValueTest : public ShellTest {
protected:
    VValueManager& Manager() {
        mManager = VValueManager::Get();
        return *mManager;
    }
    void Load(const std::string& xml) {
        AddFile("values.xml", xml);
        LoadManagedValues();
    }

    std::shared_ptr<VValueManager> mManager;
};

TEST_F(ValueTest, ReadsFollowTheFileAndItsModifiers) {
    AnsweringConditions conditions;
    SetValueConditions(&conditions);
    Load(kValues);
    VValueManager& values = Manager();
    const struct {
        const char* name;
        float expected;
    } kCases[] = {
        {"price", 160.0f},    // 100 + 0.5 * 100 + 0.1 * 100
        {"bonus", 0.1f},      //
        {"capped", 5.0f},     //
        {"speed", 25.0f},     // 10 + 1 * 10 (owned in its category) + 0.5 * 10 (queued step)
        {"garbled", 0.0f},    // unreadable numbers are 0
        {"dup", 2.0f},        // the later declaration replaces the earlier
        {"ignored", 42.0f},   // only "value" elements declare
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_FLOAT_EQ(values.GetReal(c.name, 42.0f), c.expected);
    }
    EXPECT_EQ(values.Find(""), nullptr);
    EXPECT_FLOAT_EQ(values.GetMin("garbled"), -FLT_MAX);
    EXPECT_FLOAT_EQ(values.GetMax("garbled"), 0.0f);
}

TEST_F(ValueTest, UndeclaredNamesAreMadeFromTheFirstDefault) {
    Load(kValues);
    VValueManager& values = Manager();
    EXPECT_FLOAT_EQ(values.GetMin("fresh"), FLT_MIN);
    EXPECT_FLOAT_EQ(values.GetMax("fresh"), FLT_MAX);
    EXPECT_EQ(values.Find("fresh"), nullptr);
    EXPECT_FLOAT_EQ(values.GetReal("fresh", 5.0f), 5.0f);
    EXPECT_FLOAT_EQ(values.GetReal("fresh", 9.0f), 5.0f);
    EXPECT_EQ(values.GetInt("fresh", 1), 5);
    EXPECT_FLOAT_EQ(values.AddToValue("fresh", 2.0f, 0.0f, false), 7.0f);
    EXPECT_FLOAT_EQ(values.SubtractFromValue("other", 2.0f, 10.0f, false), 8.0f);
    EXPECT_FLOAT_EQ(values.ScaleWithinLimits("unset", 3.0f, false), 3.0f);
    EXPECT_FLOAT_EQ(values.OffsetWithinLimits("unset2", 3.0f, false), 3.0f);
}

TEST_F(ValueTest, LimitsClampReadsAndSetsButNotTheCurrentValue) {
    Load(kValues);
    VValueManager& values = Manager();
    EXPECT_FLOAT_EQ(values.AddToValue("capped", 7.0f, 0.0f, false), 12.0f);
    EXPECT_FLOAT_EQ(values.GetReal("capped", 0.0f), 10.0f);
    EXPECT_FLOAT_EQ(values.Find("capped")->GetCurrent(), 12.0f);

    const struct {
        float set;
        float expected;
    } kSets[] = {{0.0f, 0.0f}, {-3.0f, 0.0f}, {4.5f, 4.5f}, {10.0f, 10.0f}, {11.0f, 10.0f}, {NAN, 0.0f}};
    for (const auto& c : kSets) {
        SCOPED_TRACE(c.set);
        values.SetValue("capped", c.set, false);
        EXPECT_FLOAT_EQ(values.Find("capped")->GetCurrent(), c.expected);
    }
    values.SetValue("capped", 8.0f, false);
    EXPECT_FLOAT_EQ(values.ScaleWithinLimits("capped", 2.0f, true), 10.0f);
    EXPECT_FLOAT_EQ(values.ScaleWithinLimits("capped", 2.0f, false), 16.0f);
    EXPECT_FLOAT_EQ(values.OffsetWithinLimits("capped", -20.0f, true), 0.0f);
}

TEST_F(ValueTest, IntegerReadsFloorWithDefinedLimits) {
    Load(kValues);
    VValueManager& values = Manager();
    EXPECT_EQ(values.GetInt("falling", 0), -1);
    EXPECT_EQ(values.GetUint("falling", 0), 0u);
    const struct {
        float current;
        int asInt;
        unsigned asUint;
    } kCases[] = {
        {2.9f, 2, 2u},
        {NAN, std::numeric_limits<int>::min(), 0u},  // not above the lowest float: the limit
        {INFINITY, std::numeric_limits<int>::max(), std::numeric_limits<unsigned>::max()},
        {-INFINITY, std::numeric_limits<int>::min(), 0u},
        {1e20f, std::numeric_limits<int>::max(), std::numeric_limits<unsigned>::max()},
        {-1e20f, std::numeric_limits<int>::min(), 0u},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.current);
        values.SetValue("free", c.current, false);
        EXPECT_EQ(values.GetInt("free", 0), c.asInt);
        EXPECT_EQ(values.GetUint("free", 0), c.asUint);
    }
    // A limit that is not a number lets NaN through to the conversions.
    Load(R"(<values><value name="odd" value="1" min="nan"/></values>)");
    EXPECT_EQ(values.GetInt("odd", 0), 0);
    EXPECT_EQ(values.GetUint("odd", 0), 0u);
}

TEST_F(ValueTest, ByValueRingsCountTheirOwnCurrentValueAndLogOnce) {
    Load(R"(<values>
      <value name="self" value="10"><modify byval="self"/></value>
      <value name="a" value="2"><modify byval="b"/></value>
      <value name="b" value="3" max="4"><modify byval="a"/></value>
    </values>)");
    VValueManager& values = Manager();
    // self: 10 + 10 * 10.
    EXPECT_FLOAT_EQ(values.GetReal("self", 0.0f), 110.0f);
    EXPECT_FLOAT_EQ(values.GetReal("self", 0.0f), 110.0f);
    // a: b reads 3 + a's current 2 * 3 = 9, limited to 4; a = 2 + 4 * 2.
    EXPECT_FLOAT_EQ(values.GetReal("a", 0.0f), 10.0f);
    EXPECT_EQ(mLog.Count("\"self\" is modified by itself"), 1u);
    EXPECT_EQ(mLog.Count("\"a\" is modified by itself"), 1u);
}

TEST_F(ValueTest, SavedValuesAreStoredTruncatedForTheCurrentUser) {
    CreateGameWithUser();
    Load(kValues);
    VValueManager& values = Manager();
    // Nothing stored yet: the initial value truncated.
    EXPECT_FLOAT_EQ(values.GetReal("worth", 0.0f), 12.0f);
    values.SetValue("worth", 12.75f, false);
    values.Find("worth")->Save();
    EXPECT_EQ(Prefs().GetString(0, "worth", ""), TString("12"));

    values.SetValue("worth", 40.9f, true);
    LoadManagedValues();
    EXPECT_FLOAT_EQ(values.GetReal("worth", 0.0f), 40.0f);

    values.SetValue("undeclared", 3.0f, true);
    values.SetValue("price", 3.0f, true);
    values.SaveAll();
    EXPECT_EQ(Prefs().GetData(0, "undeclared", nullptr, 0), -1);
    EXPECT_EQ(Prefs().GetData(0, "price", nullptr, 0), -1);

    values.SetValue("worth", -1e30f, true);
    EXPECT_EQ(Prefs().GetInt(0, "worth", 0), std::numeric_limits<int>::min());
}

TEST_F(ValueTest, WithoutUserSavedValuesNeitherReadNorWrite) {
    VGame::Create();
    Prefs().SetInt(TPrefs::kGlobal, "worth", 99, false);
    Load(kValues);
    VValueManager& values = Manager();
    values.SetValue("worth", 50.0f, true);
    EXPECT_EQ(Prefs().GetInt(TPrefs::kGlobal, "worth", 0), 99);
    LoadManagedValues();
    EXPECT_FLOAT_EQ(values.GetReal("worth", 0.0f), 12.75f);
}

TEST_F(ValueTest, MissingOrBrokenFileLeavesNoValuesAndLogsOneLineNamingIt) {
    const struct {
        const char* xml;
        const char* logged;  // nullptr: no error line
    } cases[] = {
        {"", "ERROR: VValueManager::Load: cannot read values.xml"},
        {"<values><value name=", "ERROR: VValueManager::Load: values.xml declares no values"},
        {"\x01\x02ZXML", "ERROR: VValueManager::Load: values.xml declares no values"},
        {"<valuez><value name=\"price\" value=\"1\"/></valuez>", "ERROR: VValueManager::Load: values.xml declares no values"},
        {"<values><value name=\"x\" value=\"1\">", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        size_t before = mLog.Count("ERROR: VValueManager::Load:");
        ClearVirtualFiles();
        mFiles.clear();
        if (*c.xml) AddFile("values.xml", c.xml);
        LoadManagedValues();
        EXPECT_FLOAT_EQ(Manager().GetReal("price", 3.0f), 3.0f);
        EXPECT_EQ(mLog.Count("ERROR: VValueManager::Load:"), before + (c.logged ? 1u : 0u));
        if (c.logged) {
            EXPECT_TRUE(mLog.Contains(c.logged));
        }
    }
}

TEST_F(ValueTest, ScriptFunctionsReadAndWriteAndAnswerFalseOnceReleased) {
    CreateGameWithUser();
    Load(kValues);
    Manager();
    EXPECT_EQ(Eval("GetManagedInt('falling', 0)"), "-1");
    EXPECT_EQ(Eval("GetManagedInt('newint', 7.9)"), "7");
    EXPECT_EQ(Eval("GetManagedUint('newuint', -3)"), "0");
    EXPECT_EQ(Eval("GetManagedReal('price', 0)"), "160");
    EXPECT_EQ(Run("SetManagedValue('worth', 30.5, true)"), "");
    EXPECT_EQ(Prefs().GetInt(0, "worth", 0), 30);
    EXPECT_EQ(Run("SetManagedValue('nowhere', 1, true)"), "");
    EXPECT_EQ(Prefs().GetData(0, "nowhere", nullptr, 0), -1);

    mManager.reset();
    ReleaseManagerSingleton<VValueManager>();
    EXPECT_EQ(Eval("GetManagedReal('price', 0)"), "false");
    EXPECT_EQ(Run("SetManagedValue('price', 1, false)"), "");
    EXPECT_EQ(VValueManager::GetIfCreated(), nullptr);
}

TEST_F(ValueTest, CompressedFileReadsLikePlain) {
    std::string plain = kValues;
    uLongf packedLength = compressBound(plain.size());
    std::string packed(packedLength, '\0');
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &packedLength,
                       reinterpret_cast<const Bytef*>(plain.data()), plain.size()),
              Z_OK);
    packed.resize(packedLength);
    std::string file = "ZXML";
    for (uint32_t length : {static_cast<uint32_t>(packed.size()), static_cast<uint32_t>(plain.size())}) {
        for (int i = 0; i < 4; ++i) file += static_cast<char>((length >> (8 * i)) & 0xFF);
    }
    Load(file + packed);
    EXPECT_FLOAT_EQ(Manager().GetReal("price", 1.0f), 160.0f);
}

}  // namespace
