#include "runtime/cursorthread.h"

#include <chrono>

namespace {

// The cursor is redrawn at most this often.
constexpr std::chrono::milliseconds kPassInterval(16);

}  // namespace

TCursorThread::TCursorThread() : mThread(&TCursorThread::Run, this) {}

TCursorThread::~TCursorThread() {
    Stop();
}

void TCursorThread::Stop() {
    mStop = true;
    if (mThread.joinable()) mThread.join();
}

void TCursorThread::Run() {
    while (!mStop) std::this_thread::sleep_for(kPassInterval);
}
