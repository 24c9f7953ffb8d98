#include "core/scripting/luamessagewrapper.h"

#include "core/scripting/messagescript.h"
#include "lua/lua.h"

TMessage* TLuaMessage::GetMessage() const {
    LuaPopState guard(mState);
    Push();
    return ToMessage(mState, -1);
}

TLuaMessageWrapper::TLuaMessageWrapper(lua_State* L) : TLuaMessageWrapper(L, ToMessage(L, -1)) {}

TLuaMessageWrapper::TLuaMessageWrapper(lua_State* L, const TMessage* source)
    : TMessage(source ? source->GetType() : kGeneric, source ? source->GetName() : TString(),
               source ? source->GetTarget() : nullptr),
      mLuaMessage(L) {}

const char* TLuaMessageWrapper::GetClassName() const {
    return "TLuaMessageWrapper";
}

TMessageClassId TLuaMessageWrapper::ClassId() {
    return reinterpret_cast<TMessageClassId>(&TLuaMessageWrapper::ClassId);
}

bool TLuaMessageWrapper::IsKindOf(TMessageClassId id) const {
    return id == ClassId() || TMessage::IsKindOf(id);
}

TMessage* TLuaMessageWrapper::Offered(TMessage* message) {
    if (!message->IsKindOf(ClassId())) return message;
    return static_cast<TLuaMessageWrapper*>(message)->GetLuaMessage().GetMessage();
}
