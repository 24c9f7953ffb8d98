// Program entry of the game: its identity in the settings, then the engine.
#include <cstdio>
#include <cstring>

#include "core/app/platformevent.h"
#include "core/platform/driver.h"
#include "core/platform/platform.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "platform/os/version.h"

namespace {

const char* const kMainLoopScript = "scripts/mainloop.lua";

const char* const kModeNames[] = {"vandermoot_storymode", "vandermoot_endlesseasy", "vandermoot_endlessmedium",
                                  "vandermoot_endlesshard"};
const char* const kMedalNames[] = {"vandermoot_iquitos",   "vandermoot_grytviken", "vandermoot_namche",
                                   "vandermoot_krakatoa",  "vandermoot_kamchatka", "vandermoot_gaberoun",
                                   "vandermoot_endless15"};

// Keys "%s%d" counting from 1.
template <size_t count>
void SetNumberedSettings(const char* key, const char* const (&values)[count]) {
    for (size_t i = 0; i < count; ++i) SetSetting(TString::Format("%s%d", key, static_cast<int>(i + 1)), values[i]);
}

void SetGameIdentity() {
    SetSetting(kSettingPublisher, "Quenmarth");
    SetSetting(kSettingGameName, "vandermoot");
    SetSetting(kSettingEncryptionKey, "Vm7kQ2rTz9Ld");
    SetSetting(kSettingQmGameHandle, "vandermoot");
    SetNumberedSettings(kSettingQmGameModeName, kModeNames);
    SetNumberedSettings(kSettingQmGameMedalName, kMedalNames);
}

// Stands in for the game's main routine until the game shell exists: the
// display, the title, the first screen, and the event loop until quit.
int StandInMain(TPlatform* platform, const TString& /*commandLine*/) {
    platform->SetDisplay(800, 600, false);
    platform->SetWindowTitle(platform->GetStringTable()->GetString("app_title"));
    TWindowManager* manager = platform->GetWindowManager();
    // A missing script is not reported by the script host: the screen stays empty.
    if (!FileExists(kMainLoopScript)) DebugLog("Error: no %s among the assets; the screen stays empty", kMainLoopScript);
    manager->RunWindowScript(manager->GetRootWindow(), kMainLoopScript);
    TPlatformEvent event;
    platform->GetEvent(event);
    while (event.type != TPlatformEvent::kQuit) {
        if (event.type == TPlatformEvent::kCloseRequest) platform->PostQuit(0);
        manager->HandleEvent(event);
        platform->GetEvent(event);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            const os::VersionRecord& record = os::ProgramVersion();
            std::printf("%s %s\n", record.productName.c_str(), os::FileVersionText(record).c_str());
            return 0;
        }
    }
    SetGameIdentity();
    return EngineMain(argc, argv, StandInMain, 0);
}
