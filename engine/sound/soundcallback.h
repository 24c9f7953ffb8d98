// What a caller implements to hear that an instance of a sound ended, or
// moved on to the sound that was to follow it. Callbacks run on the main
// thread, in the sound manager's Update. A callback that goes away first
// detaches from every instance that carries it, so it is never called late.
#pragma once

#include <memory>
#include <set>

class TSound;
class TSoundInstance;

class TSoundCallBack {
public:
    TSoundCallBack() = default;
    virtual ~TSoundCallBack();
    TSoundCallBack(const TSoundCallBack&) = delete;
    TSoundCallBack& operator=(const TSoundCallBack&) = delete;

    // `following` is the sound the instance went on to, or the one that was
    // queued when it stopped; empty when none.
    virtual void OnDone(const std::shared_ptr<TSoundInstance>& instance, const std::shared_ptr<TSound>& following) = 0;

    // The instances that carry this callback; kept by TSoundInstance.
    void Register(const std::shared_ptr<TSoundInstance>& instance);
    void Unregister(const std::shared_ptr<TSoundInstance>& instance);

private:
    std::set<std::weak_ptr<TSoundInstance>, std::owner_less<std::weak_ptr<TSoundInstance>>> mInstances;
};
