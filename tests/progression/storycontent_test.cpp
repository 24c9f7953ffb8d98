// The shipped story of the first location, read from the build's assets:
// its plot table loads, every label it shows has a text, every episode a
// level names exists and comes in level order, and its goal rewards an
// upgrade of the catalogue.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "foundation/readfile.h"
#include "foundation/stringtable.h"
#include "game/level/upgrademanager.h"
#include "game/progression/questitem.h"
#include "tests/progression/plottesting.h"

namespace {

const char kPlotFile[] = "locations/grytviken/plot.lua";
const char kCatalogue[] = "locations/grytviken/upgrades.xml";
constexpr int kLevels = 10;
// The bytes of a location's "plot_" record.
constexpr size_t kRecordSize = 60;

std::string LevelFile(int level) {
    char name[32];
    std::snprintf(name, sizeof name, "levels/level%02d.xml", level);
    return name;
}

class StoryContentTest : public PlotTest {
protected:
    void SetUp() override {
        PlotTest::SetUp();
        if (IsSkipped()) return;
        Ship("strings/en/strings.xml");
        ASSERT_TRUE(mPlatform->GetData().GetStringTable()->AddFile("strings/en/strings.xml"));
        Ship(kPlotFile);
        Ship(kCatalogue);
        for (int level = 1; level <= kLevels; ++level) Ship(LevelFile(level));
        ASSERT_EQ(Run(std::string("story = ReadFile('") + kPlotFile + "')"), "");
        LoadPlot("story");
    }
    void TearDown() override {
        ReleaseManagerSingleton<VUpgradeManager>();
        PlotTest::TearDown();
    }

    // The build's copy of the asset.
    void Ship(const std::string& name) {
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(("::" + std::string(VANDERMOOT_ASSETS) + "/" + name).c_str(), bytes)) << name;
        AddFile(name, bytes);
    }
};

TEST_F(StoryContentTest, ThePlotLoadsWithinTheRecordAndEveryLabelHasItsText) {
    EXPECT_GT(Plots()->GetItems().size(), 0u);
    EXPECT_LE(Plots()->GetItems().size(), kRecordSize);
    ASSERT_EQ(Run("labels = {} "
                  "local function Collect(t) for k, v in pairs(t) do "
                  "  if k == 'label' and type(v) == 'string' then table.insert(labels, v) "
                  "  elseif type(v) == 'table' then Collect(v) end end end "
                  "Collect(story)"),
              "");
    int count = std::stoi(Eval("table.getn(labels)"));
    EXPECT_GT(count, 0);
    TStringTable* strings = mPlatform->GetData().GetStringTable();
    for (int i = 1; i <= count; ++i) {
        std::string label = Eval("labels[" + std::to_string(i) + "]");
        EXPECT_NE(std::string(strings->GetString(label.c_str()).c_str()), "#####") << label;
    }
}

// Indexes follow the keys, so the episodes of later levels sit later in
// the records.
TEST_F(StoryContentTest, EveryEpisodeALevelNamesExistsInLevelOrder) {
    int previous = -1;
    int episodes = 0;
    for (int level = 1; level <= kLevels; ++level) {
        std::shared_ptr<VLevel> definition = ZqLevel::Create(level, LevelFile(level).c_str());
        for (const TString& name : definition->GetPlots()) {
            SCOPED_TRACE(name.c_str());
            std::shared_ptr<VPlotItem> item = Item(name.c_str());
            ASSERT_NE(item, nullptr);
            EXPECT_NE(item->GetFirstStep(), nullptr);
            EXPECT_GT(item->GetIndex(), previous);
            previous = item->GetIndex();
            ++episodes;
        }
    }
    EXPECT_EQ(episodes, static_cast<int>(Plots()->GetItems().size()));
}

TEST_F(StoryContentTest, TheGoalRewardsAnUpgradeOfTheCatalogueWithItsTexts) {
    VUpgradeManager::Get()->LoadCatalogue(kCatalogue);
    int goals = 0;
    for (const auto& [name, item] : Plots()->GetItems()) {
        auto quest = std::dynamic_pointer_cast<VQuestItem>(item);
        if (!quest) continue;
        SCOPED_TRACE(name.c_str());
        ++goals;
        EXPECT_EQ(std::string(quest->GetMessage().c_str()), "Missed");
        quest->SetState(0);
        std::string done = quest->GetMessage().c_str();
        EXPECT_NE(done, "");
        EXPECT_EQ(done.find("#####"), std::string::npos) << done;
    }
    EXPECT_EQ(goals, 1);
}

}  // namespace
