#include "core/app/gamestatepump.h"

#include <chrono>
#include <thread>

#include "core/app/gamestate.h"
#include "core/app/gamestateservices.h"
#include "core/app/msnzylomhandler.h"
#include "foundation/tstring.h"
#include "platform/host/channel.h"

namespace {

constexpr auto kHoldSleep = std::chrono::milliseconds(1);

// A host window was given and no longer exists.
bool IsHostGone(TGameStateServices& services) {
    const host::Handle window = services.GetHostWindow();
    if (window == host::kNoWindow) return false;
    host::Channel* channel = services.GetHostChannel();
    return !channel || !channel->IsAlive(window);
}

bool Quit(TPlatformEvent& event) {
    event = TPlatformEvent();
    event.type = TPlatformEvent::kQuit;
    return true;
}

}  // namespace

bool TGameStatePump::BeginEvent(TPlatformEvent& event, const TakeMessage& takeMessage) {
    TGameStateServices* services = GetGameStateServices();
    if (services && (IsZylomMode() || services->IsHostedMode()) && IsHostGone(*services)) return Quit(event);
    TGameState* state = TGameState::Get();
    if (!mSessionAnnounced && state) {
        mSessionAnnounced = true;
        state->SetState("sessionready", "");
    }
    // A host that dies while holding the game would leave it held for ever.
    while (state && state->IsGameHeld()) {
        if (services && IsHostGone(*services)) return Quit(event);
        std::this_thread::sleep_for(kHoldSleep);
        DispatchHostRecord();
        if (takeMessage && takeMessage()) return Quit(event);
        state = TGameState::Current();
    }
    return false;
}

bool TGameStatePump::DispatchHostRecord() {
    TGameStateServices* services = GetGameStateServices();
    host::Channel* channel = services ? services->GetHostChannel() : nullptr;
    host::Record record;
    if (!channel || !channel->Poll(record)) return false;
    TGameState* state = TGameState::Get();
    if (record.message == host::kUserMessage && state) {
        state->SetState("windowmessage", TString::Format("%d", static_cast<int32_t>(record.wParam)));
    }
    return true;
}

void TGameStatePump::SendFullScreen(bool on) {
    TGameStateServices* services = GetGameStateServices();
    if (!services || !services->IsHostedMode()) return;
    host::Channel* channel = services->GetHostChannel();
    if (channel) channel->Post(services->GetHostWindow(), host::kUserMessage, on ? 1 : 0, 0);
}
