// A file that keeps the player's data ("user:prefs.dat", the saved scores).
// It is replaced whole through a temporary file, so a failed save leaves the
// old file as it was. A file that loaded with damage is set aside as
// "<file>.bad" just before it is first replaced, so that what could not be
// read is not lost for good. The first failed save of a run is also written
// on standard error and handed to the save failure handler: the log may
// live in the very folder that cannot be written. Main thread only.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "foundation/tstring.h"

class TUserFile {
public:
    // name: a rooted name such as "user:prefs.dat"; owner: who saves, as the
    // log lines name it.
    TUserFile(const TString& name, const char* owner);

    const TString& GetName() const { return mName; }

    // The bytes of the file as read, which had damage; held until the next
    // Save sets them aside.
    void HoldDamaged(std::string bytes);
    // The ".bad" copy set aside in this run; empty when none.
    const TString& GetDamagedCopyPath() const { return mDamagedCopyPath; }

    // Sets aside the damaged bytes held, then replaces the file with these.
    // False when the file has no folder (logged) or a write failed (reported
    // as above); the file is then as it was.
    bool Save(const void* data, size_t size);

private:
    bool SetAsideDamaged(const TString& path, std::string& error);

    TString mName;
    const char* mOwner;
    std::string mDamaged;
    TString mDamagedCopyPath;
};

// Receives the path of the file whose save failed. Setting a handler (or
// none) starts over: the next failure is reported again, once.
using TSaveFailureHandler = std::function<void(const TString& path)>;
void SetSaveFailureHandler(TSaveFailureHandler handler);
