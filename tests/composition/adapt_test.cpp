// The composition window: items made from its file as child windows,
// animations only with a sprite layer, tasks that end with their items or
// unlink from them when the list ends them, and files without content.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/tasklist.h"
#include "foundation/virtualfiles.h"
#include "game/composition/adapt.h"
#include "game/composition/adaptitem.h"
#include "game/composition/spritelayer.h"
#include "scriptedsprites/animatedsprite.h"
#include "scriptedsprites/animationhost.h"
#include "widgets/text.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class TestHost : public TAnimationHost {
public:
    TTaskList& GetTaskList() override { return tasks; }
    uint32_t Rand() override { return 4; }
    TTaskList tasks;
};

class AdaptTest : public WidgetsTest {
protected:
    void SetUp() override {
        WidgetsTest::SetUp();
        SetAnimationHost(&host);
    }
    void TearDown() override {
        dialog->DeleteChildren();
        manager.reset();
        host.tasks.Clear();
        SetAnimationHost(nullptr);
        for (const std::string& name : files) RegisterMemoryFile(name.c_str(), nullptr, 0);
        WidgetsTest::TearDown();
    }
    // A composition file of that name holding the XML.
    void File(const std::string& name, const std::string& xml) {
        texts.push_back(std::make_unique<std::string>(xml));
        files.push_back(name);
        RegisterMemoryFile(name.c_str(), texts.back()->data(), texts.back()->size());
    }
    // An RAdapt of the file, optionally holding a sprite layer (or another
    // window) named "adapt_spritelayer".
    RAdapt* MakeAdapt(const std::string& file, TWindow* layer = nullptr) {
        EXPECT_EQ(Run("description = { x = 0, y = 0, w = 800, h = 600, xmlfile = '" + file + "' }"), "");
        std::unique_ptr<TLuaTable> table(script->GetGlobalTable("description"));
        TWindowStyle style(table.get());
        auto* adapt = new RAdapt();
        dialog->AddChild(adapt, false);
        adapt->Init(style);
        if (layer) {
            adapt->AddChild(layer, false);
            layer->SetName("adapt_spritelayer");
        }
        adapt->PostInit(style);
        return adapt;
    }
    void Pass(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        host.tasks.RunAll(0);
    }
    template <typename Item>
    Item* ItemAt(RAdapt* adapt, size_t index) {
        return dynamic_cast<Item*>(adapt->GetItems().at(index).get());
    }

    TestHost host;
    std::vector<std::unique_ptr<std::string>> texts;
    std::vector<std::string> files;
};

TEST_F(AdaptTest, TextsAndImagesBecomeChildWindows) {
    AddImage("pic.png", 40, 30);
    File("comp.xml",
         "<adapt><text/><image source=\"pic.png\" x=\"5\" y=\"6\" alpha=\"0.5\" scale=\"2\"/>"
         "<text label=\"#hi\" x=\"10\" y=\"20\" width=\"300\" height=\"50\" halign=\"right\"/></adapt>");
    RAdapt* adapt = MakeAdapt("comp.xml");
    ASSERT_EQ(adapt->GetItems().size(), 3u);
    EXPECT_EQ(adapt->GetChildren().size(), 3u);
    TText* bare = ItemAt<RAdaptText>(adapt, 0)->GetWindow();
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->GetParent(), adapt);
    EXPECT_EQ(bare->GetRect(), TRect(0, 0, 800, 600));
    ASSERT_NE(bare->GetLayout(), nullptr);
    EXPECT_EQ(bare->GetLayout()->GetFlags(), 1 + 4);
    TImage* image = ItemAt<RAdaptImage>(adapt, 1)->GetWindow();
    EXPECT_EQ(image->GetRect(), TRect(5, 6, 85, 66));
    EXPECT_EQ(image->GetAlpha(), 0.5f);
    TText* placed = ItemAt<RAdaptText>(adapt, 2)->GetWindow();
    EXPECT_EQ(placed->GetRect(), TRect(10, 20, 310, 70));
    EXPECT_EQ(placed->GetLayout()->GetFlags(), 2 + 4);
    adapt->Rebuild();
    EXPECT_EQ(adapt->GetChildren().size(), 3u);
    adapt->Clear();
    EXPECT_TRUE(adapt->GetChildren().empty());
}

TEST_F(AdaptTest, FilesWithoutContentGiveAnEmptyComposition) {
    File("empty.xml", "<other><text/></other>");
    File("broken.xml", "<adapt><text x=\"1\"");
    for (const char* name : {"", "missing.xml", "empty.xml"}) {
        RAdapt* adapt = MakeAdapt(name);
        EXPECT_TRUE(adapt->GetItems().empty()) << name;
        EXPECT_TRUE(adapt->GetChildren().empty()) << name;
    }
    MakeAdapt("broken.xml");  // whatever the reader keeps, nothing breaks
}

TEST_F(AdaptTest, AnimationsNeedASpriteLayer) {
    File("anim.xml", "<adapt><anim source=\"walk\" x=\"7\" y=\"8\"/><text/></adapt>");
    for (TWindow* layer : {static_cast<TWindow*>(nullptr), static_cast<TWindow*>(new RWindow())}) {
        RAdapt* adapt = MakeAdapt("anim.xml", layer);
        EXPECT_EQ(adapt->GetSpriteLayer(), nullptr);
        auto* anim = ItemAt<RAdaptAnim>(adapt, 0);
        EXPECT_EQ(anim->GetTask(), nullptr);
        EXPECT_EQ(anim->GetSprite()->GetParent(), nullptr);
    }
    auto* layer = new RSpriteLayer();
    RAdapt* adapt = MakeAdapt("anim.xml", layer);
    EXPECT_EQ(adapt->GetSpriteLayer(), layer);
    // In front of the text added after it.
    EXPECT_EQ(adapt->GetChildren().front(), layer);
    auto* anim = ItemAt<RAdaptAnim>(adapt, 0);
    EXPECT_NE(anim->GetTask(), nullptr);
    EXPECT_EQ(anim->GetSprite()->GetParent(), layer->GetRootSprite().get());
    EXPECT_EQ(anim->GetSprite()->GetDrawState().matrix.m[2][0], 7.0f);
    EXPECT_EQ(anim->GetSprite()->GetDrawState().matrix.m[2][1], 8.0f);
}

TEST_F(AdaptTest, AOneShotTaskUnlinksWhenTheListEndsIt) {
    File("once.xml", "<adapt><anim source=\"walk\" delay=\"100\"/><anim source=\"walk\" delay=\"0\" loop=\"1\"/></adapt>");
    RAdapt* adapt = MakeAdapt("once.xml", new RSpriteLayer());
    auto* once = ItemAt<RAdaptAnim>(adapt, 0);
    auto* looping = ItemAt<RAdaptAnim>(adapt, 1);
    Pass(50);
    EXPECT_NE(once->GetTask(), nullptr);
    Pass(50);
    EXPECT_EQ(once->GetTask(), nullptr);
    for (int i = 0; i < 5; ++i) Pass(0);
    EXPECT_NE(looping->GetTask(), nullptr);
    // The item goes after its task: nothing of the old task is touched.
    dialog->RemoveChild(adapt);
    delete adapt;
    Pass(0);
}

TEST_F(AdaptTest, ItemsTakeTheirWaitingTasksWithThem) {
    File("later.xml", "<adapt><anim source=\"walk\" delay=\"5000\"/><sound source=\"none.ogg\" delay=\"5000\"/></adapt>");
    RAdapt* adapt = MakeAdapt("later.xml", new RSpriteLayer());
    EXPECT_NE(ItemAt<RAdaptSound>(adapt, 1)->GetTask(), nullptr);
    dialog->RemoveChild(adapt);
    delete adapt;
    // Nothing is left to run: a pass past the delay touches no item.
    Pass(6000);
}

TEST_F(AdaptTest, ASoundThatCannotPlayEndsItsTask) {
    File("sound.xml", "<adapt><sound source=\"none.ogg\" loop=\"true\"/></adapt>");
    RAdapt* adapt = MakeAdapt("sound.xml");
    auto* sound = ItemAt<RAdaptSound>(adapt, 0);
    EXPECT_FALSE(sound->GetRecord().loop);
    ASSERT_NE(sound->GetTask(), nullptr);
    Pass(0);
    EXPECT_EQ(sound->GetTask(), nullptr);
}

TEST_F(AdaptTest, WithoutATaskListNothingIsScheduled) {
    SetAnimationHost(nullptr);
    File("sound.xml", "<adapt><sound source=\"none.ogg\"/><anim source=\"walk\"/></adapt>");
    RAdapt* adapt = MakeAdapt("sound.xml", new RSpriteLayer());
    EXPECT_EQ(ItemAt<RAdaptSound>(adapt, 0)->GetTask(), nullptr);
    EXPECT_EQ(ItemAt<RAdaptAnim>(adapt, 1)->GetTask(), nullptr);
}

}  // namespace
