#include "core/app/message.h"

TMessage::TMessage(int32_t type, const TString& name, TWindow* target)
    : mType(type), mName(name), mTarget(target) {}

const char* TMessage::GetClassName() const {
    return "TMessage";
}

bool TMessage::IsKindOf(TMessageClassId id) const {
    return id == ClassId();
}

TMessageClassId TMessage::ClassId() {
    return reinterpret_cast<TMessageClassId>(&TMessage::ClassId);
}
