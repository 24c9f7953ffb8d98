// The shipped stories of the six locations, read from the build's assets:
// each plot table loads, every label it shows has a text and every picture
// a file, each location opens with its arrival, the episodes of the first
// location's levels come in level order, and each goal rewards an upgrade
// every location's catalogue holds.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/readfile.h"
#include "foundation/stringtable.h"
#include "game/level/upgrademanager.h"
#include "game/progression/plotresponse.h"
#include "game/progression/questitem.h"
#include "tests/progression/plottesting.h"

namespace {

// The catalogue whose keys (and the hidden "kComfySeats") every location's
// catalogue holds.
const char kCatalogue[] = "locations/grytviken/upgrades.xml";
constexpr int kLevels = 10;
// The bytes of a location's "plot_" record.
constexpr size_t kRecordSize = 60;

struct Location {
    const char* name;
    std::vector<std::string> goals;
};

const Location kLocations[] = {
    {"grytviken", {"story_06_bunting"}},
    {"namche", {"story_06_errand"}},
    {"krakatoa", {}},
    {"kamchatka", {"story_06_errand"}},
    {"iquitos", {}},
    {"gaberoun", {}},
};

std::string PlotFile(const std::string& location) { return "locations/" + location + "/plot.lua"; }

std::string LevelFile(int level) {
    char name[32];
    std::snprintf(name, sizeof name, "levels/level%02d.xml", level);
    return name;
}

std::string BuiltAsset(const std::string& name) { return "::" + std::string(VANDERMOOT_ASSETS) + "/" + name; }

class StoryContentTest : public PlotTest {
protected:
    void SetUp() override {
        PlotTest::SetUp();
        if (IsSkipped()) return;
        Ship("strings/en/strings.xml");
        ASSERT_TRUE(mPlatform->GetData().GetStringTable()->AddFile("strings/en/strings.xml"));
        Ship("locations/plotparts.lua");
        for (const Location& location : kLocations) Ship(PlotFile(location.name));
        Ship(kCatalogue);
        for (int level = 1; level <= kLevels; ++level) Ship(LevelFile(level));
    }
    void TearDown() override {
        ReleaseManagerSingleton<VUpgradeManager>();
        PlotTest::TearDown();
    }

    // The build's copy of the asset.
    void Ship(const std::string& name) {
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(BuiltAsset(name).c_str(), bytes)) << name;
        AddFile(name, bytes);
    }

    // The location's plot table as the global "story", loaded into the
    // plot manager.
    void LoadStory(const std::string& location) {
        ASSERT_EQ(Run("story = ReadFile('" + PlotFile(location) + "')"), "");
        LoadPlot("story");
    }

    // Every text value of the key anywhere in the story.
    std::vector<std::string> Collect(const std::string& key) {
        EXPECT_EQ(Run("found = {} "
                      "local function Collect(t) for k, v in pairs(t) do "
                      "  if k == '" + key + "' and type(v) == 'string' then table.insert(found, v) "
                      "  elseif type(v) == 'table' then Collect(v) end end end "
                      "Collect(story)"),
                  "");
        std::vector<std::string> values;
        int count = std::stoi(Eval("table.getn(found)"));
        for (int i = 1; i <= count; ++i) values.push_back(Eval("found[" + std::to_string(i) + "]"));
        return values;
    }
};

TEST_F(StoryContentTest, EveryPlotLoadsWithinTheRecordAndEveryLabelAndPictureExists) {
    TStringTable* strings = mPlatform->GetData().GetStringTable();
    for (const Location& location : kLocations) {
        SCOPED_TRACE(location.name);
        LoadStory(location.name);
        EXPECT_GT(Plots()->GetItems().size(), 0u);
        EXPECT_LE(Plots()->GetItems().size(), kRecordSize);
        std::vector<std::string> labels = Collect("label");
        EXPECT_FALSE(labels.empty());
        for (const std::string& label : labels) {
            EXPECT_NE(std::string(strings->GetString(label.c_str()).c_str()), "#####") << label;
        }
        // The speakers' portraits are drawn by the build.
        std::vector<std::string> files = Collect("file");
        EXPECT_FALSE(files.empty());
        for (const std::string& file : files) {
            std::string bytes;
            EXPECT_TRUE(ReadWholeFile(BuiltAsset(file).c_str(), bytes)) << file;
        }
    }
}

// Every location opens with two or three pages, the last asking one
// question of at least two answers that end the episode.
TEST_F(StoryContentTest, EveryLocationOpensWithItsArrivalEndingInOneChoice) {
    for (const Location& location : kLocations) {
        SCOPED_TRACE(location.name);
        LoadStory(location.name);
        std::shared_ptr<VPlotItem> arrival = Item("story_01_arrival");
        ASSERT_NE(arrival, nullptr);
        int pages = 1;
        std::shared_ptr<VPlotStep> page = arrival->GetFirstStep();
        ASSERT_NE(page, nullptr);
        while (page->GetAnswers().size() == 1 && page->GetAnswers().begin()->second->GetNextPage()) {
            page = page->GetAnswers().begin()->second->GetNextPage();
            ++pages;
        }
        EXPECT_GE(pages, 2);
        EXPECT_LE(pages, 3);
        EXPECT_GE(page->GetAnswers().size(), 2u);
        for (const auto& [name, answer] : page->GetAnswers()) {
            EXPECT_EQ(answer->GetNextPage(), nullptr) << name.c_str();
            EXPECT_GT(answer->GetValue(), 0) << name.c_str();
        }
    }
}

// Indexes follow the keys, so the episodes of later levels sit later in
// the records.
TEST_F(StoryContentTest, EveryEpisodeALevelNamesExistsInLevelOrder) {
    LoadStory("grytviken");
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

// A goal's reward that the catalogue lacks would give an empty message.
TEST_F(StoryContentTest, EveryGoalRewardsAnUpgradeOfTheCatalogueWithItsTexts) {
    VUpgradeManager::Get()->LoadCatalogue(kCatalogue);
    for (const Location& location : kLocations) {
        SCOPED_TRACE(location.name);
        LoadStory(location.name);
        std::vector<std::string> goals;
        for (const auto& [name, item] : Plots()->GetItems()) {
            auto quest = std::dynamic_pointer_cast<VQuestItem>(item);
            if (!quest) continue;
            SCOPED_TRACE(name.c_str());
            goals.emplace_back(name.c_str());
            EXPECT_EQ(std::string(quest->GetMessage().c_str()), "Missed");
            quest->SetState(0);
            std::string done = quest->GetMessage().c_str();
            EXPECT_NE(done, "");
            EXPECT_EQ(done.find("#####"), std::string::npos) << done;
        }
        EXPECT_EQ(goals, location.goals);
    }
}

}  // namespace
