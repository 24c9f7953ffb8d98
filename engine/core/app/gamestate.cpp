#include "core/app/gamestate.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "core/app/gamestatehandler.h"
#include "core/app/gamestateservices.h"
#include "foundation/debuglog.h"
#include "sound/soundmanager.h"

namespace {

constexpr int kMasterGroup = -1;

TGameState* gInstance = nullptr;

// Made before main runs, so handlers may be added from the first moment.
std::vector<TGameStateHandler*>& Handlers() {
    static std::vector<TGameStateHandler*> handlers;
    return handlers;
}

// By index: a handler may add another while it is asked.
template <typename Query>
bool AnyHandler(Query query) {
    for (size_t i = 0; i < Handlers().size(); ++i) {
        if ((Handlers()[i]->*query)()) return true;
    }
    return false;
}

}  // namespace

int StateValueToInt(const char* text) {
    long value = std::strtol(text, nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

TGameState* TGameState::Get() {
    if (!gInstance && GetGameStateServices()) gInstance = new TGameState();
    return gInstance;
}

TGameState* TGameState::Current() {
    return gInstance;
}

TGameState::TGameState() {
    GetGameStateServices()->PublishGameStateFunctions();
}

TGameState::~TGameState() {
    std::vector<TGameStateHandler*> handlers;
    handlers.swap(Handlers());
    for (TGameStateHandler* handler : handlers) delete handler;
    if (gInstance == this) gInstance = nullptr;
}

void TGameState::SetState(const TString& key, const TString& value) {
    TString name = key;
    TString stored = value;
    if (key.CharAt(0) == '+' && key.CharAt(1) == '+') {
        name = key.SubString(2);
        int count = StateValueToInt(GetState(name).c_str());
        stored = TString::Format("%d", count < INT_MAX ? count + 1 : count);
    }
    const bool isMute = name == "mute";
    const bool wasMuted = isMute && StateValueToInt(mTable[name].c_str()) != 0;
    mTable[name] = stored;
    for (size_t i = 0; i < Handlers().size(); ++i) {
        if (Handlers()[i]->HandleSetState(name.c_str(), stored.c_str())) return;
    }
    if (isMute) ApplyMute(wasMuted, StateValueToInt(stored.c_str()) != 0);
}

void TGameState::SetStateInt(const TString& key, int value) {
    SetState(key, TString::Format("%d", value));
}

TString TGameState::GetState(const TString& key) {
    TString value = mTable[key];
    for (size_t i = 0; i < Handlers().size(); ++i) {
        const char* filtered = Handlers()[i]->FilterGetState(key.c_str(), value.c_str());
        if (filtered) value = TString(filtered);
    }
    return value;
}

void TGameState::AddHandler(TGameStateHandler* handler) {
    std::vector<TGameStateHandler*>& handlers = Handlers();
    if (!handler) {
        DebugLog("TGameState::AddHandler: no handler given");
        return;
    }
    if (std::find(handlers.begin(), handlers.end(), handler) != handlers.end()) {
        DebugLog("TGameState::AddHandler: handler %p is already listed", static_cast<void*>(handler));
        return;
    }
    handlers.push_back(handler);
}

bool TGameState::IsGameHeld() {
    return AnyHandler(&TGameStateHandler::IsHoldingGame);
}

bool TGameState::QueryRestartMode() {
    return AnyHandler(&TGameStateHandler::QueryRestartMode);
}

bool TGameState::QueryJumpToMenu() {
    return AnyHandler(&TGameStateHandler::QueryJumpToMenu);
}

bool TGameState::QueryMuteGame() {
    return AnyHandler(&TGameStateHandler::QueryMuteGame) || StateValueToInt(GetState("mute").c_str()) != 0;
}

void TGameState::ApplyMute(bool wasMuted, bool muted) {
    TGameStateServices* services = GetGameStateServices();
    TSoundManager* sound = services ? services->GetSoundManager() : nullptr;
    if (!sound || wasMuted == muted) return;
    if (muted) {
        mSavedVolume = sound->GetGroupVolume(kMasterGroup);
        sound->SetMasterVolume(0);
    } else {
        sound->SetMasterVolume(mSavedVolume);
        mSavedVolume = 0;
    }
}
