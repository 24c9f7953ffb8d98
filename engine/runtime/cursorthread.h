// The thread that redraws the software mouse cursor between frames. Until the
// display draws a software cursor, each of its passes only waits.
#pragma once

#include <atomic>
#include <thread>

class TCursorThread {
public:
    // Starts the thread.
    TCursorThread();
    // Stops it first.
    ~TCursorThread();
    TCursorThread(const TCursorThread&) = delete;
    TCursorThread& operator=(const TCursorThread&) = delete;

    // Sets the stop flag and waits until the thread has ended.
    void Stop();
    bool IsRunning() const { return mThread.joinable(); }

private:
    void Run();

    std::atomic<bool> mStop{false};
    std::thread mThread;
};
