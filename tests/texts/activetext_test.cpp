// Floating texts on their layer: updated with the frame time, drawn in
// order, and gone once their update says so.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/texts/activetext.h"
#include "graphics/text/textlayout.h"
#include "tests/widgets/widgetstesting.h"

namespace {

// Notes its updates, draws and end; its update answers keep.
class NotedText : public RActiveText {
public:
    NotedText(std::vector<std::string>& notes, const char* name, bool keep)
        : RActiveText(name, 100, 50, 80, 20, 1, "", 12, 1, 1, 1, 1), mNotes(notes), mName(name), mKeep(keep) {}
    ~NotedText() override { mNotes.push_back(mName + " gone"); }
    void Draw() override {
        mNotes.push_back(mName + " drawn");
        RActiveText::Draw();
    }
    bool Update(uint32_t frameTime) override {
        mNotes.push_back(mName + " " + std::to_string(frameTime));
        return mKeep;
    }

private:
    std::vector<std::string>& mNotes;
    std::string mName;
    bool mKeep;
};

class ActiveTextTest : public WidgetsTest {
protected:
    void Step(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        dialog->RunTasks(0);
    }
    std::vector<std::string> notes;
};

TEST_F(ActiveTextTest, TheTextTakesItsInitialTextAndDrawsInItsCentredBox) {
    RActiveText text("+$5", 100, 50, 80, 20, 1, "", 12, 1, 0, 0, 1);
    ASSERT_NE(text.GetLayout(), nullptr);
    EXPECT_STREQ(text.GetLayout()->GetText().c_str(), "+$5");
    text.SetText("+$6");
    EXPECT_STREQ(text.GetLayout()->GetText().c_str(), "+$6");
    EXPECT_TRUE(text.Update(16));
}

TEST_F(ActiveTextTest, ATextDoneInItsFirstUpdateIsNeverDrawn) {
    auto* layer = Make<RActiveTextLayer>("{ x = 0, y = 0, w = 800, h = 600 }");
    layer->AddText(new NotedText(notes, "stay", true));
    layer->AddText(new NotedText(notes, "once", false));
    layer->AddText(nullptr);
    EXPECT_EQ(layer->GetTextCount(), 2u);
    Step(16);
    Step(20);
    DrawWindow(layer);
    EXPECT_EQ(notes, (std::vector<std::string>{"stay 0", "once 0", "once gone", "stay 20", "stay drawn"}));
    EXPECT_EQ(layer->GetTextCount(), 1u);
    layer->Clear();
    EXPECT_EQ(notes.back(), "stay gone");
    EXPECT_EQ(layer->GetTextCount(), 0u);
}

TEST_F(ActiveTextTest, TheLayerDeletesItsTextsWithIt) {
    auto* layer = Make<RActiveTextLayer>("{ x = 0, y = 0, w = 800, h = 600 }");
    layer->AddText(new NotedText(notes, "a", true));
    dialog->RemoveChild(layer);
    delete layer;
    EXPECT_EQ(notes, (std::vector<std::string>{"a gone"}));
}

}  // namespace
