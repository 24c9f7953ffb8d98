// Messages seen from scripts: full userdata referring to a TMessage, with the
// metatable kept in the registry under "qmMessageMetatable". Scripts read a
// message's "type" and "name" fields; the collector deletes the message.
#pragma once

struct lua_State;
class TMessage;

extern const char* const kMessageMetatableKey;

// Creates the message metatable in the registry when it is not there yet.
void RegisterMessageMetatable(lua_State* L);

// Pushes the message as userdata (nil for null). The userdata owns the
// message from then on, so push a message once and never delete it after.
void PushMessage(lua_State* L, TMessage* message);

// The message of the userdata at the index; null for nil and for any value
// that is not a message userdata.
TMessage* ToMessage(lua_State* L, int index);
