#include "core/scripting/gamestatefunctions.h"

#include <gtest/gtest.h>

#include <string>

#include "core/scripting/script.h"
#include "tests/core/app/gamestatefakes.h"

namespace {

// Services whose window script is a real script state.
class ScriptServices : public FakeServices {
public:
    void PublishGameStateFunctions() override {
        FakeServices::PublishGameStateFunctions();
        ::PublishGameStateFunctions(script.GetState());
    }
    TScript script;
};

class GameStateFunctionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&timer);
        SetGameStateServices(&services);
    }
    void TearDown() override {
        delete TGameState::Current();
        SetGameStateServices(nullptr);
        os::SetCurrentTimer(nullptr);
    }

    std::string Eval(const char* expression) {
        std::string text = std::string("return ") + expression;
        EXPECT_EQ(services.script.DoLuaString(text.c_str(), -1, 1), 0) << expression;
        return services.script.PopString().c_str();
    }
    void Run(const char* text) { ASSERT_EQ(services.script.DoLuaString(text), 0) << text; }

    os::FakeTimer timer{1000};
    ScriptServices services;
};

TEST_F(GameStateFunctionsTest, ScriptsWriteAndReadTheGameState) {
    TGameState::Get();
    Run("_SetState('level', '4') _SetState('++Wins', '') _SetState('++Wins', '')");
    EXPECT_EQ(Eval("GetState('level') .. '/' .. GetState('Wins')"), "4/2");
    EXPECT_EQ(std::string(TGameState::Get()->GetState("level").c_str()), "4");
    EXPECT_EQ(Eval("tostring(QueryMuteGame())"), "false");
    Run("_SetState('mute', '1')");
    EXPECT_EQ(Eval("tostring(QueryMuteGame())"), "true");
    EXPECT_EQ(Eval("tostring(QueryRestartMode()) .. tostring(QueryJumpToMenu())"), "falsefalse");
}

TEST_F(GameStateFunctionsTest, FunctionsFollowTheGameStateThatExistsWhenTheyRun) {
    TGameState::Get()->SetState("k", "old");
    delete TGameState::Get();
    // None exists: reads are empty, writes and questions do nothing.
    Run("_SetState('k', 'lost')");
    EXPECT_EQ(Eval("'[' .. GetState('k') .. ']'"), "[]");
    EXPECT_EQ(Eval("tostring(QueryMuteGame())"), "false");
    EXPECT_EQ(TGameState::Current(), nullptr);

    TGameState::Get()->SetState("k", "new");
    EXPECT_EQ(Eval("GetState('k')"), "new");
    Run("_SetState('k', 'again')");
    EXPECT_EQ(std::string(TGameState::Get()->GetState("k").c_str()), "again");
    EXPECT_EQ(services.published, 2);
}

}  // namespace
