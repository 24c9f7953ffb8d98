// What animated sprites ask of the platform: the task list their scripts run
// on, and its random numbers. The platform installs itself while it lives;
// tests install a host of their own.
#pragma once

#include <cstdint>

class TTaskList;

class TAnimationHost {
public:
    virtual ~TAnimationHost() = default;

    // The platform task list, run on idle ticks and in frames.
    virtual TTaskList& GetTaskList() = 0;
    // The platform's next random number.
    virtual uint32_t Rand() = 0;
};

// Null while none is installed: sprites then make their scripts but nothing
// schedules them.
TAnimationHost* GetAnimationHost();
// Null uninstalls the host. The platform uninstalls it once its task list is
// cleared, so sprites never remove tasks from a list that deleted them.
void SetAnimationHost(TAnimationHost* host);
