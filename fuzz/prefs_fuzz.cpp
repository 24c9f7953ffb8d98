// Feeds arbitrary bytes to the preferences reader as "user:prefs.dat" and
// reads back what it loaded. Saving stays off, so the input file is never
// rewritten.
#include "foundation/prefs.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The process's own data folder, removed with everything in it at exit.
class TFuzzFolder {
public:
    TFuzzFolder()
    {
        char pattern[] = "/tmp/prefs-fuzz.XXXXXX";
        const char* folder = mkdtemp(pattern);
        if (folder == nullptr) {
            std::abort();
        }
        mFolder = folder;
    }
    ~TFuzzFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(mFolder, ignored);
    }

    const std::string& Path() const { return mFolder; }

private:
    std::string mFolder;
};

std::string PrepareFolder()
{
    static const TFuzzFolder folder;
    SetDataFolders(folder.Path().c_str(), folder.Path().c_str(), folder.Path().c_str());
    SetSetting("encryptionkey", "fuzzing key");
    return folder.Path() + "/prefs.dat";
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
