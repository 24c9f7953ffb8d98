#include "core/app/msnzylomhandler.h"

#include <cstring>
#include <string_view>

#include "core/app/gamestate.h"
#include "core/app/gamestateservices.h"
#include "foundation/clock.h"
#include "foundation/tstring.h"
#include "platform/host/textmessage.h"
#include "platform/os/timer.h"
#include "sound/soundmanager.h"

namespace {

constexpr int kMasterGroup = -1;
constexpr uint32_t kBroadcastInterval = 5000;
constexpr std::string_view kIntervalOption = "-com_interval";
// The value follows the option's name and one separator character.
constexpr size_t kIntervalValueOffset = kIntervalOption.size() + 1;

struct PortalState {
    bool msnMode = false;
    bool zylomMode = false;
    bool broadcasting = false;     // score broadcasts allowed; msn plays sound only then
    bool readyAnnounced = false;
    bool menuRequest = false;
    bool restartRequest = false;
    bool restartModeMark = false;  // the menu was asked for: the next new game is no restart
    bool hostMenuOpen = false;
    bool gamePaused = false;
    bool hostPaused = false;
    uint32_t hostPauseStart = 0;
    uint32_t hostPausedTotal = 0;
    bool gameMute = false;
    bool soundMuted = false;       // muted by this handler
    float savedVolume = 0;
    int breakCount = 0;
    uint32_t lastBroadcast = 0;
    int restartInterval = -1;      // seconds
    TClock clock;                  // game time as the portal sees it
};

PortalState gPortal;

bool InPortalMode() {
    return gPortal.msnMode || gPortal.zylomMode;
}

int ClockSeconds() {
    return gPortal.clock.GetTime() / 1000;
}

bool IsRestartDue() {
    return gPortal.restartInterval >= 0 && ClockSeconds() > gPortal.restartInterval;
}

void RunSoundRule() {
    TGameStateServices* services = GetGameStateServices();
    TSoundManager* sound = services ? services->GetSoundManager() : nullptr;
    if (!sound) return;
    const bool shouldPlay = !gPortal.hostMenuOpen && !gPortal.gamePaused && !gPortal.hostPaused &&
                            !gPortal.gameMute && (!gPortal.msnMode || gPortal.broadcasting);
    if (shouldPlay && gPortal.soundMuted) {
        sound->SetMasterVolume(gPortal.savedVolume);
        gPortal.savedVolume = 0;
        gPortal.soundMuted = false;
    } else if (!shouldPlay && !gPortal.soundMuted) {
        gPortal.savedVolume = sound->GetGroupVolume(kMasterGroup);
        sound->SetMasterVolume(0);
        gPortal.soundMuted = true;
    }
}

void BeginHostPause() {
    if (gPortal.hostPaused) return;
    gPortal.hostPaused = true;
    gPortal.hostPauseStart = os::TimeMilliseconds();
    if (gPortal.gamePaused) return;
    gPortal.clock.Pause();
    TGameStateServices* services = GetGameStateServices();
    if (!services) return;
    services->ShowSystemCursor(false);
    services->SetArrowCursor();
}

void EndHostPause() {
    if (!gPortal.hostPaused) return;
    gPortal.hostPaused = false;
    gPortal.hostPausedTotal += os::TimeMilliseconds() - gPortal.hostPauseStart;
    if (gPortal.gamePaused) return;
    gPortal.clock.Start();
    TGameStateServices* services = GetGameStateServices();
    if (!services) return;
    services->RestoreCursor();
    services->ShowSystemCursor(true);
    services->UpdateSystemCursor();
}

// A portal-hosted run ("-pq=") posts nothing and allows broadcasts. Without
// a host nothing is posted and no host pause begins, as nobody would end it.
void PostEvent(const TString& text, bool withPause) {
    TGameStateServices* services = GetGameStateServices();
    if (services && services->IsHostedMode()) {
        gPortal.broadcasting = true;
        return;
    }
    host::Channel* channel = services ? services->GetHostChannel() : nullptr;
    const host::Handle window = services ? services->GetHostWindow() : host::kNoWindow;
    const bool hasHost = channel && window != host::kNoWindow;
    if (hasHost) host::PostTextMessage(*channel, window, text.c_str());
    if (withPause && hasHost && gPortal.msnMode && !gPortal.zylomMode) BeginHostPause();
    RunSoundRule();
}

void StartNewGame() {
    gPortal.broadcasting = true;
    gPortal.lastBroadcast = 0;
    gPortal.gamePaused = false;
    EndHostPause();
    gPortal.clock.Reset();
    gPortal.clock.Start();
    gPortal.breakCount = 0;
    if (gPortal.restartModeMark) {
        gPortal.restartModeMark = false;
    } else {
        gPortal.restartRequest = true;
    }
}

void OnHostMessage(int number) {
    TGameStateServices* services = GetGameStateServices();
    switch (number) {
    case 1: gPortal.menuRequest = true; break;
    case 2: gPortal.hostMenuOpen = true; break;
    case 3: gPortal.hostMenuOpen = false; break;
    case 4:
        if (services && services->IsHostedMode() && services->HasMouseCapture()) services->ReleaseMouseCapture();
        BeginHostPause();
        break;
    case 5:
    case 6:
    case 9:
    case 10: EndHostPause(); break;
    case 7: StartNewGame(); break;
    case 8: gPortal.restartRequest = true; break;
    default: break;
    }
    RunSoundRule();
}

void OnWindowMessage(const char* value) {
    OnHostMessage(StateValueToInt(value));
}

void OnSessionReady(const char*) {
    if (gPortal.readyAnnounced) return;
    gPortal.readyAnnounced = true;
    PostEvent("SessionReady(\"<data></data>\")", true);
}

// The value starts one separator character after the option's name; an
// option with nothing after it gives no interval.
void OnCommandLine(const char* value) {
    if (!gPortal.zylomMode) return;
    const char* option = std::strstr(value, kIntervalOption.data());
    if (!option || std::strlen(option) <= kIntervalValueOffset) {
        gPortal.restartInterval = -1;
        return;
    }
    gPortal.restartInterval = StateValueToInt(option + kIntervalValueOffset);
}

void OnPause(const char* value) {
    const bool paused = StateValueToInt(value) != 0;
    if (paused == gPortal.gamePaused) return;
    gPortal.gamePaused = paused;
    if (!gPortal.hostPaused) {
        if (paused) {
            gPortal.clock.Pause();
        } else {
            gPortal.clock.Start();
        }
        if (gPortal.zylomMode) {
            PostEvent(paused ? "GamePause(\"<data>true</data>\")" : "GamePause(\"<data>false</data>\")", true);
        }
    }
    RunSoundRule();
}

void OnMute(const char* value) {
    gPortal.gameMute = StateValueToInt(value) != 0;
    RunSoundRule();
}

void OnBreak(const char*) {
    ++gPortal.breakCount;
    PostEvent(TString::Format("GameBreak(\"<data><breakpoint>%d</breakpoint></data>\")", gPortal.breakCount), true);
}

// The difference of two tick counts stays right across the counter's wrap.
void OnScore(const char* value) {
    if (!gPortal.broadcasting) return;
    const uint32_t now = os::TimeMilliseconds();
    if (now - gPortal.lastBroadcast < kBroadcastInterval) return;
    gPortal.lastBroadcast = now;
    PostEvent(TString::Format("ScoreBroadcast(\"<game><score>%ld</score><time>%ld</time></game>\")",
                              long(StateValueToInt(value)), long(ClockSeconds())),
              false);
}

void OnGameMode(const char* value) {
    PostEvent(TString::Format("GameReady(\"<data><mode>%s</mode></data>\")", value), true);
}

void OnGameOver(const char*) {
    gPortal.broadcasting = false;
    PostEvent("GameEnd(\"<gamedata></gamedata>\")", true);
}

struct KeyAction {
    const char* key;
    void (*action)(const char* value);
    bool taken;  // the write goes no further, in a portal mode or not
};

const KeyAction kKeyActions[] = {
    {"windowmessage", &OnWindowMessage, true},
    {"sessionready", &OnSessionReady, true},
    {"cmdline", &OnCommandLine, false},
    {"pause", &OnPause, false},
    {"mute", &OnMute, true},
    {"breaknow", &OnBreak, false},
    {"score", &OnScore, false},
    {"gamemode", &OnGameMode, false},
    {"gameover", &OnGameOver, false},
};

void Install() {
    TGameState::Get();
    TGameState::AddHandler(new TMsnZylomHandler());
}

}  // namespace

bool TMsnZylomHandler::HandleSetState(const char* key, const char* value) {
    for (const KeyAction& entry : kKeyActions) {
        if (std::strcmp(key, entry.key) != 0) continue;
        if (InPortalMode()) entry.action(value);
        return entry.taken;
    }
    return false;
}

const char* TMsnZylomHandler::FilterGetState(const char* key, const char* value) {
    if (std::strcmp(key, "systemmode") == 0) {
        if (gPortal.msnMode) return "msn";
        if (gPortal.zylomMode) return "zylom";
        return value;
    }
    if (std::strcmp(key, "restartbutton") == 0) return IsRestartDue() ? "1" : "0";
    return value;
}

bool TMsnZylomHandler::QueryRestartMode() {
    if (!InPortalMode() || !gPortal.restartRequest) return false;
    gPortal.restartRequest = false;
    gPortal.broadcasting = true;
    RunSoundRule();
    return true;
}

bool TMsnZylomHandler::QueryJumpToMenu() {
    if (!InPortalMode() || !gPortal.menuRequest) return false;
    gPortal.menuRequest = false;
    gPortal.restartModeMark = true;
    gPortal.broadcasting = false;
    RunSoundRule();
    return true;
}

bool TMsnZylomHandler::QueryMuteGame() {
    return gPortal.gameMute;
}

bool TMsnZylomHandler::IsHoldingGame() {
    return InPortalMode() && gPortal.hostPaused;
}

void InstallMsnHandler() {
    gPortal.msnMode = true;
    Install();
}

void InstallZylomHandler() {
    gPortal.zylomMode = true;
    Install();
}

bool IsMsnMode() {
    return gPortal.msnMode;
}

bool IsZylomMode() {
    return gPortal.zylomMode;
}

uint32_t GetHostPausedTime() {
    return InPortalMode() ? gPortal.hostPausedTotal : 0;
}

void ResetPortalState() {
    gPortal = PortalState();
}
