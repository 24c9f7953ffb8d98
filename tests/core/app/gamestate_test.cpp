#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/app/gamestate.h"
#include "core/app/gamestatehandler.h"
#include "tests/core/app/gamestatefakes.h"
#include "tests/support/luatesting.h"

namespace {

// A handler that records what it is offered and answers as told.
class ScriptedHandler : public TGameStateHandler {
public:
    explicit ScriptedHandler(int* deletions = nullptr) : mDeletions(deletions) {}
    ~ScriptedHandler() override {
        if (mDeletions) ++*mDeletions;
    }
    bool HandleSetState(const char* key, const char* value) override {
        writes.push_back(std::string(key) + "=" + value);
        return takeKey == key;
    }
    const char* FilterGetState(const char* key, const char* value) override {
        if (filterKey != key) return value;
        if (filterToNull) return nullptr;
        mFiltered = std::to_string(std::atoi(value) + filterAdd);
        return mFiltered.c_str();
    }
    bool QueryRestartMode() override { return Ask(restart); }
    bool QueryJumpToMenu() override { return Ask(menu); }
    bool QueryMuteGame() override { return Ask(mute); }
    bool IsHoldingGame() override { return Ask(holding); }

    std::vector<std::string> writes;
    std::string takeKey;
    std::string filterKey;
    int filterAdd = 0;
    bool filterToNull = false;
    bool restart = false, menu = false, mute = false, holding = false;
    int asked = 0;

private:
    bool Ask(bool answer) {
        ++asked;
        return answer;
    }
    int* mDeletions;
    std::string mFiltered;
};

ScriptedHandler* AddScripted(int* deletions = nullptr) {
    auto* handler = new ScriptedHandler(deletions);
    TGameState::AddHandler(handler);
    return handler;
}

using GameStateCounterTest = GameStateTest;

TEST_F(GameStateCounterTest, PlusPlusCountsTheNameUpWhateverTheValue) {
    for (const char* value : {"", "7", "x"}) State().SetState("++Wins", value);
    EXPECT_EQ(std::string(State().GetState("Wins").c_str()), "3");
    EXPECT_EQ(std::string(State().GetState("++Wins").c_str()), "");
}

TEST_F(GameStateCounterTest, CountsFromWhatTheFiltersRead) {
    ScriptedHandler* handler = AddScripted();
    handler->filterKey = "Wins";
    handler->filterAdd = 10;
    State().SetState("++Wins", "");
    // The handler hears the name and the count, and reads add 10 again.
    EXPECT_EQ(handler->writes, std::vector<std::string>{"Wins=11"});
    EXPECT_EQ(std::string(State().GetState("Wins").c_str()), "21");
}

TEST_F(GameStateCounterTest, CountsFromTheStoredTextAndStayAtTheMaximum) {
    struct Case {
        const char* start;
        const char* counted;
    } cases[] = {
        {"41", "42"},
        {"-5", "-4"},
        {"abc", "1"},
        {"2147483646", "2147483647"},
        {"2147483647", "2147483647"},
        {"99999999999", "2147483647"},
    };
    for (const Case& c : cases) {
        State().SetState("Score", c.start);
        State().SetState("++Score", "");
        EXPECT_EQ(std::string(State().GetState("Score").c_str()), c.counted) << "from " << c.start;
    }
}

TEST_F(GameStateCounterTest, OnePlusIsAnOrdinaryKey) {
    State().SetState("+X", "v");
    EXPECT_EQ(std::string(State().GetState("+X").c_str()), "v");
    EXPECT_EQ(std::string(State().GetState("X").c_str()), "");
}

using GameStateHandlerTest = GameStateTest;

TEST_F(GameStateHandlerTest, TakenWriteStopsLaterHandlersAndTheMuteButStaysInTheTable) {
    UseSound(0.5f);
    ScriptedHandler* first = AddScripted();
    ScriptedHandler* second = AddScripted();
    first->takeKey = "mute";
    State().SetState("mute", "1");
    EXPECT_FLOAT_EQ(MasterVolume(), 0.5f);
    EXPECT_EQ(std::string(State().GetState("mute").c_str()), "1");
    EXPECT_EQ(first->writes, std::vector<std::string>{"mute=1"});
    EXPECT_TRUE(second->writes.empty());
    // A write the first handler leaves reaches the second.
    State().SetState("level", "3");
    EXPECT_EQ(second->writes, std::vector<std::string>{"level=3"});
}

TEST_F(GameStateHandlerTest, ReadsPassEveryFilterAndANullFilterKeepsTheValue) {
    State().SetState("Coins", "5");
    ScriptedHandler* adding = AddScripted();
    ScriptedHandler* nulling = AddScripted();
    adding->filterKey = "Coins";
    adding->filterAdd = 2;
    nulling->filterKey = "Coins";
    nulling->filterToNull = true;
    EXPECT_EQ(std::string(State().GetState("Coins").c_str()), "7");
    // A never-set key reads empty, or as the filters make it.
    EXPECT_EQ(std::string(State().GetState("Unset").c_str()), "");
    adding->filterKey = "Unset";
    EXPECT_EQ(std::string(State().GetState("Unset").c_str()), "2");
}

TEST_F(GameStateHandlerTest, QueriesAreFalseWithoutHandlersAndMuteFollowsTheKey) {
    EXPECT_FALSE(State().QueryRestartMode());
    EXPECT_FALSE(State().QueryJumpToMenu());
    EXPECT_FALSE(State().IsGameHeld());
    EXPECT_FALSE(State().QueryMuteGame());
    State().SetState("mute", "1");
    EXPECT_TRUE(State().QueryMuteGame());
    State().SetState("mute", "0");
    EXPECT_FALSE(State().QueryMuteGame());
}

TEST_F(GameStateHandlerTest, FirstTrueAnswerWinsAndLaterHandlersAreNotAsked) {
    ScriptedHandler* first = AddScripted();
    ScriptedHandler* second = AddScripted();
    first->restart = first->menu = first->mute = first->holding = true;
    EXPECT_TRUE(State().QueryRestartMode());
    EXPECT_TRUE(State().QueryJumpToMenu());
    EXPECT_TRUE(State().QueryMuteGame());
    EXPECT_TRUE(State().IsGameHeld());
    EXPECT_EQ(second->asked, 0);
    first->restart = first->menu = first->mute = first->holding = false;
    second->holding = true;
    EXPECT_TRUE(State().IsGameHeld());
    EXPECT_FALSE(State().QueryRestartMode());
}

TEST_F(GameStateHandlerTest, HandlersAddedEarlyServeAndEachIsDeletedOnceWithTheGameState) {
    TestLog log;
    int deletions = 0;
    SetGameStateServices(nullptr);
    EXPECT_EQ(TGameState::Get(), nullptr);
    ScriptedHandler* early = AddScripted(&deletions);
    TGameState::AddHandler(early);
    TGameState::AddHandler(nullptr);
    EXPECT_EQ(log.Count("TGameState::AddHandler"), 2u);

    SetGameStateServices(&services);
    State().SetState("k", "v");
    EXPECT_EQ(early->writes, std::vector<std::string>{"k=v"});
    delete TGameState::Get();
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(TGameState::Current(), nullptr);
}

TEST_F(GameStateHandlerTest, EachNewGameStatePublishesTheScriptFunctionsAndStartsEmpty) {
    State().SetState("k", "v");
    EXPECT_EQ(services.published, 1);
    EXPECT_EQ(TGameState::Get(), TGameState::Current());
    delete TGameState::Get();
    EXPECT_EQ(std::string(State().GetState("k").c_str()), "");
    EXPECT_EQ(services.published, 2);
}

using GameStateMuteTest = GameStateTest;

TEST_F(GameStateMuteTest, MuteSavesTheVolumeOnceAndGivesItBack) {
    UseSound(0.6f);
    struct Step {
        const char* value;
        float volume;
    } steps[] = {
        {"0", 0.6f},  // zero after nothing changes nothing
        {"1", 0.0f},
        {"1", 0.0f},  // the second mute keeps the first saved volume
        {"2", 0.0f},
        {"0", 0.6f},
        {"0", 0.6f},
    };
    for (const Step& step : steps) {
        State().SetState("mute", step.value);
        EXPECT_FLOAT_EQ(MasterVolume(), step.volume) << "after mute " << step.value;
    }
}

TEST_F(GameStateMuteTest, MuteWithoutSoundOnlyStoresTheValue) {
    State().SetState("mute", "1");
    EXPECT_EQ(std::string(State().GetState("mute").c_str()), "1");
    State().SetStateInt("mute", 0);
    EXPECT_EQ(std::string(State().GetState("mute").c_str()), "0");
}

TEST(StateValueToInt, ReadsLikeAtoiWithinTheIntRange) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"", 0}, {"12", 12}, {"  -3x", -3}, {"+4", 4}, {"abc", 0},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-99999999999", INT_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(StateValueToInt(c.text), c.value) << c.text;
}

}  // namespace
