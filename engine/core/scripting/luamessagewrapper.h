// Messages that scripts post: the engine-side message pins the script's
// message userdata, so the TMessage it refers to stays alive (the collector
// deletes it with the userdata) while the wrapper is queued or delivered.
#pragma once

#include "core/scripting/luaobject.h"
#include "core/app/message.h"

// A pinned message userdata.
class TLuaMessage : public TLuaObjectWrapper {
public:
    using TLuaObjectWrapper::TLuaObjectWrapper;

    // The message the pinned userdata refers to; null when it is no message.
    TMessage* GetMessage() const;
};

class TLuaMessageWrapper : public TMessage {
public:
    // Built from the message userdata on top of the stack, which is popped;
    // copies its type, name and target.
    explicit TLuaMessageWrapper(lua_State* L);

    const char* GetClassName() const override;
    bool IsKindOf(TMessageClassId id) const override;
    static TMessageClassId ClassId();

    const TLuaMessage& GetLuaMessage() const { return mLuaMessage; }

    // The message handlers are offered: a script message stands for the
    // message it carries (null when it carries none), others for themselves.
    static TMessage* Offered(TMessage* message);

private:
    TLuaMessageWrapper(lua_State* L, const TMessage* source);

    TLuaMessage mLuaMessage;
};
