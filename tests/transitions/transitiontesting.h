// The transition tests' fixture: the widget fixture's window manager, dialog
// and window script with a transition manager made over them. Passes of
// 16 ms move the fake timer, draw a frame and run the manager's monitor.
#pragma once

#include <vector>

#include "game/transitions/overlay.h"
#include "game/transitions/transitionmanager.h"
#include "tests/widgets/widgetstesting.h"

class TransitionTest : public WidgetsTest {
protected:
    void SetUp() override {
        WidgetsTest::SetUp();
        ASSERT_EQ(Run("if not Yield then Yield = coroutine.yield end"), "");
        RTransitionManager::Create();
        transitions = RTransitionManager::Get();
        ASSERT_NE(transitions, nullptr);
    }
    void TearDown() override {
        RTransitionManager::Destroy();
        WidgetsTest::TearDown();
    }

    // Time moves on by a pass and an idle tick draws a frame (the
    // invalidator is on no list here, and the fake frame services open no
    // renderer frame).
    void Frame() {
        recorder->ClearCalls();
        timer.Advance(kPass);
        manager->Invalidate();
        ASSERT_TRUE(TRenderer::GetInstance()->BeginDraw(false));
        TickAt(services.now + kPass);
        TRenderer::GetInstance()->EndDraw(false);
    }
    // A frame, then a run of the monitor.
    void Pass() {
        Frame();
        transitions->MonitorStep();
    }
    void Passes(int count) {
        for (int i = 0; i < count; ++i) Pass();
    }

    // The alpha byte of every solid quad drawn since the last pass began.
    std::vector<int> QuadAlphas() const {
        std::vector<int> alphas;
        for (const auto& call : recorder->GetCalls()) {
            if (call.kind == TRecordingRenderBackEnd::kDrawVertices && call.vertices.size() == 4) {
                alphas.push_back(static_cast<int>(call.vertices[0].diffuse >> 24));
            }
        }
        return alphas;
    }

    static constexpr uint32_t kPass = 16;
    RTransitionManager* transitions = nullptr;
};
