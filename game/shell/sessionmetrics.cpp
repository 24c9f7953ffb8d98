#include "game/shell/sessionmetrics.h"

#include "core/app/gamestate.h"
#include "foundation/settings.h"

namespace {

const char kSessionRecord[] = "SessionData";
const char* const kSessionTimers[] = {"SessionTime",      "StoryModePlayTime", "MainMenuScreenTime",
                                      "MetaMapScreenTime", "HelpScreenTime",    "UpgradeScreenTime",
                                      "SweetRewardsScreenTime"};
// Minutes into the story at which progress is reported.
const int kCheckpoints[] = {15, 30, 45, 59};

void DeclareCheckpoint(TGameState& state, int minutes) {
    TString name = TString::Format("Progress-%d", minutes);
    state.SetState(TString::Format("begin-elapsed(%d)", minutes), name);
    state.SetState("add-state", "LatestLevelStory");
    state.SetState("add-timer", "StoryModePlayTime");
    state.SetState(TString::Format("end-elapsed(%d)", minutes), name);
}

}  // namespace

void DeclareSessionMetrics() {
    TGameState* state = TGameState::Get();
    if (!state) return;
    state->SetStateInt("SessionTime", 1);
    state->SetState("begin-session", kSessionRecord);
    state->SetState("add-value", GetSetting(kSettingVersion, ""));
    for (const char* timer : kSessionTimers) state->SetState("add-timer", timer);
    state->SetState("end-session", kSessionRecord);
    for (int minutes : kCheckpoints) DeclareCheckpoint(*state, minutes);
}
