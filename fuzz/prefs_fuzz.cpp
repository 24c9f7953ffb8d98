// Feeds arbitrary bytes to the preferences reader as "user:prefs.dat" and
// reads back what it loaded. Saving stays off, so the input file is never
// rewritten.
#include "foundation/prefs.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string PrepareFolder()
{
    char pattern[] = "/tmp/prefs-fuzz.XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (folder == nullptr) {
        std::abort();
    }
    SetDataFolders(folder, folder, folder);
    SetSetting("encryptionkey", "fuzzing key");
    return std::string(folder) + "/prefs.dat";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = PrepareFolder();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    TPrefs prefs(false);
    for (int user = TPrefs::kGlobal; user < prefs.GetNumUsers(); ++user) {
        prefs.GetString(user, "name", "");
        prefs.GetData(user, "data", nullptr, 0);
    }
    return 0;
}
