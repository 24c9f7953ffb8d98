#include "sound/soundcallback.h"

#include <vector>

#include "sound/soundinstance.h"

TSoundCallBack::~TSoundCallBack() {
    // Detaching changes the set: walk a copy.
    std::vector<std::weak_ptr<TSoundInstance>> instances(mInstances.begin(), mInstances.end());
    for (const auto& link : instances) {
        auto instance = link.lock();
        if (instance && instance->GetCallBack() == this) {
            instance->SetCallBack(nullptr, nullptr);
        }
    }
}

void TSoundCallBack::Register(const std::shared_ptr<TSoundInstance>& instance) {
    mInstances.insert(instance);
}

void TSoundCallBack::Unregister(const std::shared_ptr<TSoundInstance>& instance) {
    mInstances.erase(instance);
}
