// The transition manager: input held while transitions run or wait, the
// order of transitions from scripts and posted messages, the monitor's
// end-of-transition steps and the script functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/app/platformevent.h"
#include "game/transitions/transitions.h"
#include "transitiontesting.h"

namespace {

TPlatformEvent EventOfType(int32_t type) {
    TPlatformEvent event;
    event.type = type;
    return event;
}

TEST_F(TransitionTest, InputIsTakenOnlyWhileATransitionRunsOrWaits) {
    struct Case {
        int32_t type;
        bool takenWhileBusy;
    };
    const Case cases[] = {
        {TPlatformEvent::kMouseDown, true}, {TPlatformEvent::kMouseButton, true}, {TPlatformEvent::kMouseUp, true},
        {TPlatformEvent::kMouseMove, true}, {TPlatformEvent::kMouseHover, true}, {TPlatformEvent::kKeyDown, true},
        {TPlatformEvent::kKeyUp, true},     {TPlatformEvent::kChar, true},        {TPlatformEvent::kMouseCancel, false},
        {TPlatformEvent::kWideChar, false}, {TPlatformEvent::kQuit, false},       {TPlatformEvent::kIdle, false},
    };
    EXPECT_FALSE(transitions->FilterEvent(nullptr));
    for (const Case& c : cases) {
        TPlatformEvent event = EventOfType(c.type);
        EXPECT_FALSE(transitions->FilterEvent(&event)) << "idle, type " << c.type;
    }
    ASSERT_TRUE(transitions->PlayTransition(kFadeToBlack, ""));
    ASSERT_FALSE(transitions->PlayTransition(kFadeFromBlack, ""));
    for (const Case& c : cases) {
        TPlatformEvent event = EventOfType(c.type);
        EXPECT_EQ(transitions->FilterEvent(&event), c.takenWhileBusy) << "busy, type " << c.type;
    }
    // Only the queued one is left once the first has finished: still busy.
    Passes(40);
    ASSERT_NE(transitions->GetCurrent(), nullptr);
    EXPECT_EQ(transitions->GetCurrent()->GetType(), kFadeFromBlack);
    TPlatformEvent press = EventOfType(TPlatformEvent::kMouseDown);
    EXPECT_TRUE(transitions->FilterEvent(&press));
    Passes(40);
    EXPECT_FALSE(transitions->IsBusy());
    EXPECT_FALSE(transitions->FilterEvent(&press));
}

TEST_F(TransitionTest, ASecondScriptWaitsUntilTheFirstTransitionEndsAndItsOwnHasRunItsFullTime) {
    ASSERT_EQ(Run("first = coroutine.create(function() r1 = DoTransition(1001) end) coroutine.resume(first) "
                  "second = coroutine.create(function() r2 = DoTransition(1003) end) coroutine.resume(second)"),
              "");
    EXPECT_EQ(transitions->GetCurrent()->GetType(), kFadeToBlack);
    EXPECT_EQ(transitions->GetQueuedCount(), 1u);
    TPlatformEvent key = EventOfType(TPlatformEvent::kKeyDown);

    int passes = 0;
    while (Eval("r1") == "nil" && passes < 100) {
        EXPECT_TRUE(transitions->FilterEvent(&key));
        EXPECT_EQ(Eval("coroutine.status(second)"), "suspended");
        Pass();
        ++passes;
    }
    EXPECT_EQ(Eval("r1"), "true");
    EXPECT_EQ(Eval("coroutine.status(first)"), "dead");
    ROverlay* secondOverlay = transitions->GetCurrent();
    ASSERT_NE(secondOverlay, nullptr);
    EXPECT_EQ(secondOverlay->GetType(), kFadeToWhite);
    EXPECT_EQ(secondOverlay->GetElapsed(), 0u);

    while (Eval("r2") == "nil" && passes < 200) {
        EXPECT_TRUE(transitions->FilterEvent(&key));
        EXPECT_EQ(Eval("coroutine.status(second)"), "suspended");
        EXPECT_LT(secondOverlay->GetElapsed(), secondOverlay->GetDuration());
        Pass();
        ++passes;
    }
    EXPECT_EQ(Eval("r2"), "true");
    EXPECT_FALSE(transitions->FilterEvent(&key));
}

TEST_F(TransitionTest, APostedTransitionQueuesBehindAScriptsAndQueuesItsCommandAtItsEnd) {
    ASSERT_EQ(Run("coroutine.resume(coroutine.create(function() r = DoTransition(1002) end))"), "");
    manager->PostMessage(new TMessage(1001, "posted = true", nullptr));
    Pass();
    EXPECT_EQ(transitions->GetCurrent()->GetType(), kFadeFromBlack);
    EXPECT_EQ(transitions->GetQueuedCount(), 1u);

    Passes(40);
    EXPECT_EQ(Eval("r"), "true");
    EXPECT_EQ(Eval("table.getn(gCommandQueue)"), "0");
    ASSERT_NE(transitions->GetCurrent(), nullptr);
    EXPECT_EQ(transitions->GetCurrent()->GetType(), kFadeToBlack);

    Passes(40);
    EXPECT_FALSE(transitions->IsBusy());
    ASSERT_EQ(Eval("table.getn(gCommandQueue)"), "1");
    ASSERT_EQ(Run("gCommandQueue[1]()"), "");
    EXPECT_EQ(Eval("posted"), "true");
}

TEST_F(TransitionTest, TheEndedFadeStaysDrawnUntilTheMonitorsNextRun) {
    ASSERT_EQ(Run("coroutine.resume(coroutine.create(function() DoTransition(1001) r = DoTransition(1002) end))"), "");
    // Until the black-out ends, one quad per frame, growing to opaque.
    int lastAlpha = -1;
    int passes = 0;
    while (transitions->GetCurrent() && transitions->GetCurrent()->GetType() == kFadeToBlack && passes < 100) {
        Pass();
        ++passes;
        std::vector<int> alphas = QuadAlphas();
        ASSERT_EQ(alphas.size(), 1u);
        EXPECT_GE(alphas[0], lastAlpha);
        lastAlpha = alphas[0];
    }
    EXPECT_EQ(lastAlpha, 255);
    ASSERT_NE(transitions->GetCurrent(), nullptr);
    EXPECT_EQ(transitions->GetCurrent()->GetType(), kFadeFromBlack);
    EXPECT_TRUE(manager->IsOverlayActive());

    // The next frame still draws the ended black-out under the new fade,
    // which starts opaque; the monitor then removes the black-out.
    Frame();
    EXPECT_EQ(QuadAlphas(), (std::vector<int>{255, 255}));
    transitions->MonitorStep();
    EXPECT_TRUE(manager->IsOverlayActive());
    Pass();
    ASSERT_EQ(QuadAlphas().size(), 1u);
    EXPECT_LT(QuadAlphas()[0], 255);

    Passes(40);
    EXPECT_EQ(Eval("r"), "true");
    Pass();
    EXPECT_FALSE(manager->IsOverlayActive());
    EXPECT_TRUE(QuadAlphas().empty());
}

TEST_F(TransitionTest, TheWrapperWaitsThroughResumptionsThatAreNotTrueOrFalse) {
    ASSERT_EQ(Run("co = coroutine.create(function() r = DoTransition(1001) end) coroutine.resume(co) "
                  "coroutine.resume(co) coroutine.resume(co, 'tick') coroutine.resume(co, 7)"),
              "");
    EXPECT_EQ(Eval("coroutine.status(co)"), "suspended");
    EXPECT_EQ(Eval("r"), "nil");
    Passes(40);
    EXPECT_EQ(Eval("r"), "true");
}

TEST_F(TransitionTest, AnUnreferencedWaitingCoroutineSurvivesAFullCollection) {
    ASSERT_EQ(Run("coroutine.resume(coroutine.create(function() r = DoTransition(1001) end)) "
                  "collectgarbage() collectgarbage()"),
              "");
    EXPECT_EQ(Eval("r"), "nil");
    Passes(40);
    EXPECT_EQ(Eval("r"), "true");
    EXPECT_FALSE(log.Contains("ROverlay:"));
}

TEST_F(TransitionTest, ACoroutineThatEndedWhileWaitingIsNotResumed) {
    // The wrapper is bypassed: the coroutine yields once and is then run to
    // its end by the script itself.
    ASSERT_EQ(Run("co = coroutine.create(function() Lua_DoTransition(1001) end) coroutine.resume(co) "
                  "coroutine.resume(co)"),
              "");
    EXPECT_EQ(Eval("coroutine.status(co)"), "dead");
    Passes(40);
    EXPECT_FALSE(transitions->IsBusy());
    EXPECT_TRUE(log.Contains("not suspended"));
}

TEST_F(TransitionTest, AnErrorInTheResumedScriptIsLogged) {
    ASSERT_EQ(Run("coroutine.resume(coroutine.create(function() DoTransition(1001) error('after the fade') end))"),
              "");
    Passes(40);
    EXPECT_FALSE(transitions->IsBusy());
    EXPECT_TRUE(log.Contains("after the fade"));
}

TEST_F(TransitionTest, BadRequestsAnswerFalseAtOnceAndHoldNoInput) {
    const char* calls[] = {"DoTransition('fade')", "DoTransition()", "DoTransition(1000)", "DoTransition(1012)",
                           "DoTransition(1e30)", "DoTransition(0/0)"};
    for (const char* call : calls) {
        ASSERT_EQ(Run(std::string("co = coroutine.create(function() r = ") + call + " end) coroutine.resume(co)"), "");
        EXPECT_EQ(Eval("r"), "false") << call;
        EXPECT_EQ(Eval("coroutine.status(co)"), "dead") << call;
        EXPECT_FALSE(transitions->IsBusy()) << call;
    }
    // Outside a coroutine there is nobody to resume.
    EXPECT_EQ(Eval("Lua_DoTransition(1001)"), "false");
    EXPECT_FALSE(transitions->IsBusy());
}

TEST_F(TransitionTest, PostedTypesFrom1001To1013AreConsumedAndOnlyListedOnesPlay) {
    struct Case {
        int32_t type;
        bool consumed;
        bool plays;
    };
    const Case cases[] = {{1000, false, false}, {1001, true, true},   {1004, true, true},   {1011, true, true},
                          {1012, true, false},  {1013, true, false},  {1014, false, false}, {5, false, false}};
    for (const Case& c : cases) {
        TMessage message(c.type, "", nullptr);
        EXPECT_EQ(transitions->OnMessage(&message), c.consumed) << c.type;
        EXPECT_EQ(transitions->IsBusy(), c.plays) << c.type;
        Passes(40);
        EXPECT_FALSE(transitions->IsBusy()) << c.type;
    }
    EXPECT_FALSE(transitions->OnMessage(nullptr));
    EXPECT_FALSE(transitions->StartOverlay(nullptr));
}

TEST_F(TransitionTest, AfterDestroyTheNativeFunctionAnswersFalseAndTheWrapperIsGone) {
    ASSERT_TRUE(transitions->PlayTransition(kFadeToBlack, ""));
    ASSERT_EQ(Run("co = coroutine.create(function() r = DoTransition(1002) end) coroutine.resume(co)"), "");
    RTransitionManager::Destroy();
    EXPECT_EQ(RTransitionManager::Get(), nullptr);
    EXPECT_FALSE(manager->IsOverlayActive());
    EXPECT_EQ(Eval("DoTransition"), "nil");
    ASSERT_EQ(Run("co2 = coroutine.create(function() r2 = Lua_DoTransition(1001) end) coroutine.resume(co2)"), "");
    EXPECT_EQ(Eval("r2"), "false");
    // Frames go on without the overlays.
    Frame();
    EXPECT_TRUE(QuadAlphas().empty());
    // The fixture's tear-down destroys again: nothing is left to delete.
    transitions = nullptr;
}

TEST_F(TransitionTest, CreatingAgainReplacesTheManager) {
    ASSERT_TRUE(transitions->PlayTransition(kFadeToBlack, ""));
    RTransitionManager::Create();
    transitions = RTransitionManager::Get();
    EXPECT_FALSE(transitions->IsBusy());
    EXPECT_FALSE(manager->IsOverlayActive());
    ASSERT_EQ(Run("coroutine.resume(coroutine.create(function() r = DoTransition(1001) end))"), "");
    Passes(40);
    EXPECT_EQ(Eval("r"), "true");
}

TEST_F(TransitionTest, AWindowManagerGoingFirstTakesTheManagerWithIt) {
    ASSERT_TRUE(transitions->PlayTransition(kFadeToBlack, ""));
    manager.reset();
    EXPECT_EQ(RTransitionManager::Get(), nullptr);
    transitions = nullptr;
}

// A dialog's script fades to black, swaps its screen and fades back in: the
// frames show the fade out, then the fade in over the new screen, and input
// is held from the first request to the end of the second.
TEST_F(TransitionTest, AScriptFadesOutSwapsTheScreenAndFadesIn) {
    ASSERT_EQ(Run("co = coroutine.create(function() "
                  "  out = DoTransition(1001) PopModal('dialog') swapped = true in_ = DoTransition(1002) end) "
                  "coroutine.resume(co)"),
              "");
    TPlatformEvent click = EventOfType(TPlatformEvent::kMouseDown);
    std::vector<int> alphas;
    int passes = 0;
    while (Eval("in_") == "nil" && passes < 100) {
        EXPECT_TRUE(transitions->FilterEvent(&click));
        Pass();
        ++passes;
        std::vector<int> frame = QuadAlphas();
        if (!frame.empty()) alphas.push_back(frame.back());
    }
    EXPECT_EQ(Eval("out"), "true");
    EXPECT_EQ(Eval("swapped"), "true");
    EXPECT_EQ(Eval("in_"), "true");
    EXPECT_EQ(Stack().find("dialog"), std::string::npos);
    EXPECT_FALSE(transitions->FilterEvent(&click));

    // Up to opaque, then down to clear.
    auto top = std::max_element(alphas.begin(), alphas.end());
    ASSERT_NE(top, alphas.end());
    EXPECT_EQ(*top, 255);
    EXPECT_TRUE(std::is_sorted(alphas.begin(), top));
    EXPECT_TRUE(std::is_sorted(top, alphas.end(), std::greater<int>()));
    EXPECT_EQ(alphas.front(), 0);
    EXPECT_EQ(alphas.back(), 0);
}

}  // namespace
