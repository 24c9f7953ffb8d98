// A cap on the size of the files the process writes, so that a write stops
// part of the way through. The signal the cap raises is ignored meanwhile;
// both are given back when the cap goes, whatever the test did.
#pragma once

#include <sys/resource.h>

#include <csignal>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (getrlimit(RLIMIT_FSIZE, &mSaved) != 0) return;
        mPrevious = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = mSaved;
        small.rlim_cur = bytes;
        mOk = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        if (mOk) setrlimit(RLIMIT_FSIZE, &mSaved);
        if (mPrevious != SIG_ERR) std::signal(SIGXFSZ, mPrevious);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the cap could not be set.
    bool Ok() const { return mOk; }

private:
    rlimit mSaved{};
    void (*mPrevious)(int) = SIG_ERR;
    bool mOk = false;
};
