// The game's shipped content that the shell reads: the named values and the
// generated sounds, as the build leaves them in its assets.
#include <cfloat>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "foundation/xmlnode.h"
#include "sound/sound.h"
#include "sound/sounddata.h"
#include "sound/soundinstance.h"
#include "sound/soundmanager.h"
#include "platform/audio/manualdevice.h"
#include "tests/shell/shelltesting.h"

namespace {

std::string ReadAsset(const std::string& name) {
    std::ifstream file(std::string(VANDERMOOT_ASSETS) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class ContentTest : public ShellTest {
protected:
    void TearDown() override {
        VSoundManager::Release();
        mPlatform->GetTaskList().Clear();
        SetSoundManager(nullptr);
        mEngine.reset();
        ShellTest::TearDown();
    }

    std::unique_ptr<TSoundManager> mEngine;
};

// Each row of the string sheet pairs one label with its text, and no label
// comes twice: a row holding two pairs would hide the second label.
TEST_F(ContentTest, EveryStringRowIsOneLabelAndItsText) {
    TXmlNode sheet;
    std::string text = ReadAsset("strings/en/strings.xml");
    sheet.ParseString(text.c_str(), static_cast<int>(text.size()));
    TXmlNode* table = nullptr;
    for (TXmlNode* node : {sheet.FindChild("Workbook")}) {
        TXmlNode* worksheet = node ? node->FindChild("Worksheet") : nullptr;
        table = worksheet ? worksheet->FindChild("Table") : nullptr;
    }
    ASSERT_NE(table, nullptr);
    std::set<std::string> labels;
    TString name;
    TXmlNode* row = nullptr;
    int rows = 0;
    for (table->ResetChildIterator(); table->NextChild(name, row);) {
        if (name != "Row") continue;
        ++rows;
        std::vector<std::string> cells;
        TString cellName;
        TXmlNode* cell = nullptr;
        for (row->ResetChildIterator(); row->NextChild(cellName, cell);) {
            TXmlNode* data = cell->FindChild("Data");
            cells.push_back(data ? data->GetText().c_str() : "");
        }
        ASSERT_EQ(cells.size(), 2u) << "row " << rows << (cells.empty() ? "" : ": " + cells[0]);
        EXPECT_TRUE(labels.insert(cells[0]).second) << cells[0];
    }
    EXPECT_GT(rows, 100);
}

TEST_F(ContentTest, EveryShippedValueReadsItsDeclaredNumberWithinItsLimits) {
    std::string xml = ReadAsset("values.xml");
    ASSERT_FALSE(xml.empty());
    AddFile("values.xml", xml);
    auto values = VValueManager::Get();
    TXmlNode document;
    document.ParseString(xml.c_str());
    TXmlNode* section = document.FindChild("values");
    ASSERT_NE(section, nullptr);
    TString element;
    TXmlNode* child = nullptr;
    int declared = 0;
    for (section->ResetChildIterator(); section->NextChild(element, child);) {
        if (element != "value") continue;
        TString name = child->GetAttribute("name");
        SCOPED_TRACE(name.c_str());
        auto value = values->Find(name);
        ASSERT_NE(value, nullptr);
        EXPECT_LE(value->GetMin(), value->GetInitial());
        EXPECT_LE(value->GetInitial(), value->GetMax());
        EXPECT_FLOAT_EQ(values->GetReal(name, -1.0f), value->GetInitial());
        ++declared;
    }
    EXPECT_GT(declared, 20);
    EXPECT_TRUE(values->Find("current_worth")->IsSaved());
}

TEST_F(ContentTest, GeneratedSoundsPlayInTheirGroups) {
    mEngine = std::make_unique<TSoundManager>(std::make_unique<audio::ManualDevice>());
    ASSERT_TRUE(mEngine->Start());
    SetSoundManager(mEngine.get());
    for (const char* name : {"audio/music/theme.ogg", "audio/sfx/click.ogg"}) {
        AddFile(name, ReadAsset(name));
    }
    VSoundManager* sounds = VSoundManager::Create();
    auto music = sounds->PlayMusic("audio/music/theme.ogg", nullptr, true, false);
    auto click = sounds->PlaySFX("audio/sfx/click.ogg");
    ASSERT_NE(music, nullptr);
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(music->GetGroup(), VSoundManager::kMusicGroup);
    EXPECT_EQ(click->GetGroup(), VSoundManager::kEffectGroup);
    const auto& theme = music->GetSound()->GetData();
    EXPECT_EQ(theme->GetChannels(), 2);
    EXPECT_NEAR(theme->GetDuration(), 6.0, 0.1);
    EXPECT_LT(click->GetSound()->GetData()->GetDuration(), 0.2);
}

}  // namespace
