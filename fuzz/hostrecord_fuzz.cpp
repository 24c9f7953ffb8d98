// Feeds a byte stream through the host record reader into the portal
// handler. The first byte picks the portal (msn, zylom, portal-hosted); the
// text up to the first NUL is the command line; every further 12 bytes are
// one host record: a user message reaches the game state as
// "windowmessage", any other makes one game write chosen by its lParam,
// with wParam as value, after the time moved on by wParam milliseconds.
#include <cstdint>
#include <cstring>
#include <string>

#include "core/app/gamestate.h"
#include "core/app/gamestateservices.h"
#include "core/app/msnzylomhandler.h"
#include "foundation/tstring.h"
#include "platform/host/recordingchannel.h"
#include "platform/host/recordreader.h"
#include "platform/os/timer.h"

namespace {

constexpr host::Handle kHost = 3;

class FuzzServices : public TGameStateServices {
public:
    TSoundManager* GetSoundManager() override { return nullptr; }
    void PublishGameStateFunctions() override {}
    bool IsHostedMode() const override { return hosted; }
    host::Channel* GetHostChannel() override { return &channel; }
    host::Handle GetHostWindow() const override { return kHost; }
    bool HasMouseCapture() const override { return true; }
    void ReleaseMouseCapture() override {}
    void ShowSystemCursor(bool) override {}
    void SetArrowCursor() override {}
    void RestoreCursor() override {}
    void UpdateSystemCursor() override {}

    host::RecordingChannel channel;
    bool hosted = false;
};

const char* const kGameKeys[] = {"pause", "mute", "breaknow", "score", "gamemode", "gameover", "sessionready",
                                 "cmdline"};
const char* const kReadKeys[] = {"restartbutton", "systemmode"};

void Play(TGameState& state, const host::Record& record, os::FakeTimer& timer) {
    if (record.message == host::kUserMessage) {
        state.SetState("windowmessage", TString::Format("%d", static_cast<int32_t>(record.wParam)));
        return;
    }
    timer.Advance(record.wParam);
    const size_t count = sizeof kGameKeys / sizeof kGameKeys[0];
    state.SetState(kGameKeys[record.lParam % count], TString::Format("%u", record.wParam));
    state.GetState(kReadKeys[record.lParam % 2]);
    state.QueryRestartMode();
    state.QueryJumpToMenu();
    state.IsGameHeld();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    os::FakeTimer timer(0xFFFF0000u);
    os::SetCurrentTimer(&timer);
    FuzzServices services;
    services.hosted = (data[0] & 4) != 0;
    services.channel.SetAlive(kHost, true);
    SetGameStateServices(&services);
    if (data[0] & 1) InstallMsnHandler();
    if (data[0] & 2) InstallZylomHandler();
    TGameState* state = TGameState::Get();

    // The command line as a text of its exact length.
    const uint8_t* rest = data + 1;
    size_t left = size - 1;
    const void* end = std::memchr(rest, 0, left);
    const size_t lineLength = end ? static_cast<const uint8_t*>(end) - rest : left;
    state->SetState("cmdline", TString(reinterpret_cast<const char*>(rest), static_cast<int>(lineLength)));
    rest += lineLength;
    left -= lineLength;

    host::RecordReader reader;
    reader.Feed(rest, left);
    for (host::Record record; reader.Next(record);) Play(*state, record, timer);

    delete state;
    SetGameStateServices(nullptr);
    ResetPortalState();
    os::SetCurrentTimer(nullptr);
    return 0;
}
