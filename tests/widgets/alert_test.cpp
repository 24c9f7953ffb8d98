// The alert: closing by delay and by click, each way switched off, a
// single closing, and modal names that need escaping.
#include <gtest/gtest.h>

#include <string>

#include "game/utilities/luacommand.h"
#include "game/widgets/alert.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class AlertTest : public WidgetsTest {
protected:
    void SetUp() override {
        WidgetsTest::SetUp();
        ASSERT_EQ(Run("popped = '' function PopModal(name) popped = popped .. '[' .. name .. ']' end"), "");
    }
    void Step(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        dialog->RunTasks(0);
    }
    // Runs the queued commands; the names they popped.
    std::string RunQueue() {
        EXPECT_EQ(Run("for i = 1, table.getn(gCommandQueue) do gCommandQueue[i]() end gCommandQueue = {}"), "");
        return Eval("popped");
    }
};

TEST_F(AlertTest, DelayAndClickEachSwitchable) {
    const struct {
        const char* keys;
        bool byDelay;
        bool byClick;
    } cases[] = {
        {"", true, true},
        {", usedelay = false", false, true},
        {", allowclick = false", true, false},
        {", usedelay = false, allowclick = false", false, false},
    };
    for (const auto& c : cases) {
        RAlert* alert = Make<RAlert>(std::string("{ x = 0, y = 0, w = 10, h = 10, delay = 300") + c.keys + " }");
        Step(16);
        Step(299);
        EXPECT_FALSE(alert->IsDismissed()) << c.keys;
        Step(16);
        EXPECT_EQ(alert->IsDismissed(), c.byDelay) << c.keys;
        if (c.byDelay) continue;
        EXPECT_EQ(alert->OnMouseUp(TPoint(1, 1)), c.byClick) << c.keys;
        EXPECT_EQ(alert->IsDismissed(), c.byClick) << c.keys;
    }
    EXPECT_EQ(RunQueue(), "[dialog][dialog][dialog]");
}

TEST_F(AlertTest, AClickJustBeforeTheDelayClosesOnce) {
    RAlert* alert = Make<RAlert>("{ x = 0, y = 0, w = 10, h = 10, delay = 100 }");
    Step(16);
    Step(90);
    alert->OnMouseUp(TPoint(1, 1));
    Step(20);
    EXPECT_EQ(RunQueue(), "[dialog]");
}

TEST_F(AlertTest, ANegativeDelayNeverPasses) {
    RAlert* alert = Make<RAlert>("{ x = 0, y = 0, w = 10, h = 10, delay = -1 }");
    Step(16);
    Step(100000);
    EXPECT_FALSE(alert->IsDismissed());
}

TEST_F(AlertTest, NamesWithQuotesAndBackslashesArePoppedAsTheyAre) {
    for (const char* name : {"it's", "back\\slash", "line\nbreak", "end'); os.exit(); ('"}) {
        RecordingModal* modal = Push(name, TRect(0, 0, 800, 600));
        RAlert* alert = Make<RAlert>("{ x = 0, y = 0, w = 10, h = 10 }", modal);
        alert->Dismiss();
        ASSERT_EQ(Run("popped = ''"), "");
        EXPECT_EQ(RunQueue(), std::string("[") + name + "]");
    }
    EXPECT_STREQ(QuoteLuaString("plain_name").c_str(), "'plain_name'");
    EXPECT_STREQ(QuoteLuaString("a\x01" "2").c_str(), "'a\\0012'");
}

}  // namespace
