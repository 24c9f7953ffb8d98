// One running copy per executable. The first start holds a lock file and
// listens on a socket; a later start of the same executable knocks on that
// socket and ends, and the first brings its window forward.
#pragma once

#include <string>

namespace os {

// The text both names are made of: the path lower-cased, without "/" and
// ":", followed by 8 hexadecimal digits of a hash of the path as given, so
// that "/a/bc" and "/ab/c" name different programs.
std::string SingleInstanceText(const std::string& canonicalPath);

class SingleInstance {
public:
    enum class Result {
        kFirst,    // this is the only copy: the lock is held
        kAnother,  // another copy holds the lock and was knocked on
        kFailed,   // no lock file could be made; nothing is held
    };

    SingleInstance() = default;
    ~SingleInstance() { Release(); }
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock "<text>_MUTEX" in $XDG_RUNTIME_DIR (else /tmp) and
    // listens on the abstract socket "<text><hash of that folder>_WNDCLASS";
    // when another copy holds the lock, knocks on its socket instead.
    Result Acquire(const std::string& text);
    // True when another start knocked since the last call. Never blocks.
    bool PollKnock();
    // Stops listening and gives the lock back.
    void Release();

    bool IsHeld() const { return mLock >= 0; }
    // The lock file, for messages; empty before Acquire.
    const std::string& LockPath() const { return mLockPath; }

private:
    int mLock = -1;
    int mListener = -1;
    std::string mLockPath;
};

}  // namespace os
