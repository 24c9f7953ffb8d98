// Program entry of the game: its identity in the settings, then the engine.
#include <cstdio>
#include <cstring>

#include "runtime/commandline.h"
#include "runtime/driver.h"
#include "foundation/settings.h"
#include "game/startup/gamemain.h"
#include "platform/os/version.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            const os::VersionRecord& record = os::ProgramVersion();
            std::printf("%s %s\n", record.productName.c_str(), os::FileVersionText(record).c_str());
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("Usage: %s [OPTION]...\n%s", argv[0], kCommandLineHelp);
            return 0;
        }
    }
    SetGameIdentity();
    return EngineMain(argc, argv, GameMain, 0);
}
