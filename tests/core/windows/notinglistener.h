// A message listener that notes the untargeted messages offered to it as
// "type:name", and takes them or leaves them to the next listener.
#pragma once

#include <string>
#include <vector>

#include "core/app/message.h"

class NotingListener : public TMessageListener {
public:
    NotingListener(std::vector<std::string>& notes, bool takes) : mNotes(notes), mTakes(takes) {}
    bool OnMessage(TMessage* message) override {
        mNotes.push_back(std::to_string(message->GetType()) + ":" + message->GetName().c_str());
        return mTakes;
    }

private:
    std::vector<std::string>& mNotes;
    bool mTakes;
};
