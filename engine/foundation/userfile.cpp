#include "foundation/userfile.h"

#include <cstdio>
#include <utility>

#include "foundation/debuglog.h"
#include "foundation/virtualfiles.h"
#include "platform/os/replacefile.h"

namespace {

const char kDamagedSuffix[] = ".bad";

TSaveFailureHandler gFailureHandler;
bool gFailureReported = false;

void ReportFailure(const char* owner, const TString& path, const std::string& error) {
    DebugLog("ERROR: %s: %s", owner, error.c_str());
    if (gFailureReported) {
        return;
    }
    gFailureReported = true;
    std::fprintf(stderr, "ERROR: %s: %s\n", owner, error.c_str());
    if (gFailureHandler) {
        gFailureHandler(path);
    }
}

}  // namespace

TUserFile::TUserFile(const TString& name, const char* owner) : mName(name), mOwner(owner) {}

void TUserFile::HoldDamaged(std::string bytes) {
    mDamaged = std::move(bytes);
}

bool TUserFile::Save(const void* data, size_t size) {
    const TString path = ResolvePath(mName, false);
    if (path.Length() == 0) {
        DebugLog("ERROR: %s: no folder for %s", mOwner, mName.c_str());
        return false;
    }
    CreateFoldersForWrite(path);
    std::string error;
    if (!SetAsideDamaged(path, error) || !os::ReplaceFile(path.c_str(), data, size, &error)) {
        ReportFailure(mOwner, path, error);
        return false;
    }
    return true;
}

// One generation: a later damaged load of the same file replaces the copy.
bool TUserFile::SetAsideDamaged(const TString& path, std::string& error) {
    if (mDamaged.empty()) {
        return true;
    }
    const TString copy = path + kDamagedSuffix;
    if (!os::ReplaceFile(copy.c_str(), mDamaged.data(), mDamaged.size(), &error)) {
        return false;
    }
    DebugLog("%s: the damaged %s was kept as %s", mOwner, mName.c_str(), copy.c_str());
    mDamaged.clear();
    mDamagedCopyPath = copy;
    return true;
}

void SetSaveFailureHandler(TSaveFailureHandler handler) {
    gFailureHandler = std::move(handler);
    gFailureReported = false;
}
