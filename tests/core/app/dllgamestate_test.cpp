#include <gtest/gtest.h>

#include <string>

#include "core/app/dllgamestate.h"
#include "platform/os/library.h"
#include "tests/core/app/gamestatefakes.h"
#include "tests/core/app/handlermodule.h"
#include "tests/support/luatesting.h"
#include "tests/support/tempfolder.h"

namespace {

// Keeps the test library loaded on its own, so that its record outlives
// the handler's unloading.
class DllGameStateTest : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        ASSERT_TRUE(mLibrary.Open(HANDLER_MODULE)) << mLibrary.Error();
        auto recordOf = reinterpret_cast<HandlerModuleRecordFunction>(mLibrary.Symbol("HandlerModuleRecordOf"));
        ASSERT_NE(recordOf, nullptr);
        record = recordOf();
        *record = HandlerModuleRecord();
    }

    // Raw disk paths reach the loader through the file layer as they are.
    static TString RawName(const char* path) { return TString("::") + path; }

    HandlerModuleRecord* record = nullptr;
    TestLog log;

private:
    os::Library mLibrary;
};

TEST_F(DllGameStateTest, EverySlotReachesTheLibrarysObject) {
    TDllGameState handler;
    ASSERT_TRUE(handler.LoadHandlerDll(RawName(HANDLER_MODULE)));
    EXPECT_EQ(record->created, 1);

    EXPECT_TRUE(handler.HandleSetState("take", "1"));
    EXPECT_FALSE(handler.HandleSetState("other", "2"));
    EXPECT_EQ(record->lastKey, "other");
    EXPECT_EQ(record->lastValue, "2");
    EXPECT_STREQ(handler.FilterGetState("k", "v"), "module:v");
    EXPECT_EQ(handler.FilterGetState("none", "v"), nullptr);
    for (bool answer : {true, false}) {
        record->restartMode = record->jumpToMenu = record->muteGame = record->holdingGame = answer;
        EXPECT_EQ(handler.QueryRestartMode(), answer);
        EXPECT_EQ(handler.QueryJumpToMenu(), answer);
        EXPECT_EQ(handler.QueryMuteGame(), answer);
        EXPECT_EQ(handler.IsHoldingGame(), answer);
    }
}

TEST_F(DllGameStateTest, InTheGameStateANullReadKeepsTheValueAndTeardownDestroysTheObjectOnce) {
    auto* handler = new TDllGameState();
    ASSERT_TRUE(handler->LoadHandlerDll(RawName(HANDLER_MODULE)));
    TGameState::AddHandler(handler);
    State().SetState("none", "kept");
    EXPECT_EQ(std::string(State().GetState("none").c_str()), "kept");
    EXPECT_EQ(std::string(State().GetState("other").c_str()), "module:");
    State().SetState("take", "x");
    EXPECT_EQ(record->lastKey, "take");
    delete TGameState::Get();
    EXPECT_EQ(record->destroyed, 1);
    EXPECT_EQ(record->created, 1);
}

TEST_F(DllGameStateTest, ALibraryThatMakesNoObjectIsRefusedAndNeverAskedToDestroy) {
    record->createNothing = true;
    {
        TDllGameState handler;
        EXPECT_FALSE(handler.LoadHandlerDll(RawName(HANDLER_MODULE)));
        EXPECT_FALSE(handler.HandleSetState("take", "1"));
        EXPECT_STREQ(handler.FilterGetState("k", "v"), "v");
        EXPECT_FALSE(handler.IsHoldingGame());
    }
    EXPECT_EQ(record->created, 1);
    EXPECT_EQ(record->destroyed, 0);
    EXPECT_EQ(log.Count("made no handler object"), 1u);
}

TEST_F(DllGameStateTest, LibrariesThatCannotServeAreRefusedWithOneLineNamingThem) {
    TempFolder temp;
    temp.Write("broken.qmmod.so", "not a library");
    struct Case {
        std::string name;
        const char* says;
    } cases[] = {
        {temp / "missing.qmmod.so", "cannot load"},
        {"::" + (temp / "broken.qmmod.so"), "cannot load"},
        {HANDLER_MODULE_NODESTROY, "lacks the export DestroyHandler"},
    };
    for (const Case& c : cases) {
        TDllGameState handler;
        EXPECT_FALSE(handler.LoadHandlerDll(c.name.c_str())) << c.name;
        EXPECT_FALSE(handler.QueryMuteGame());
    }
    // One line each, naming the library and what is wrong with it.
    EXPECT_EQ(log.Count("TDllGameState::LoadHandlerDll"), 3u);
    for (const Case& c : cases) {
        const std::string text = log.Text();
        const size_t at = text.find(c.name.substr(c.name.rfind('/') + 1));
        ASSERT_NE(at, std::string::npos) << c.name;
        const std::string line = text.substr(text.rfind('\n', at) + 1, text.find('\n', at) - text.rfind('\n', at));
        EXPECT_NE(line.find(c.says), std::string::npos) << line;
    }
}

TEST_F(DllGameStateTest, ASecondLoadIsRefused) {
    TDllGameState handler;
    ASSERT_TRUE(handler.LoadHandlerDll(RawName(HANDLER_MODULE)));
    EXPECT_FALSE(handler.LoadHandlerDll(RawName(HANDLER_MODULE)));
    EXPECT_EQ(record->created, 1);
    EXPECT_TRUE(handler.HandleSetState("take", ""));
}

}  // namespace
