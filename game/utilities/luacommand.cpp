#include "game/utilities/luacommand.h"

#include "core/app/message.h"
#include "core/scripting/script.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"

void QueueLuaCommand(const TString& command) {
    TWindowManager* manager = TWindowManager::GetInstance();
    TScript* script = manager ? manager->GetScript() : nullptr;
    if (!script) {
        DebugLog("QueueLuaCommand: no window script to queue '%s'", command.c_str());
        return;
    }
    // The line break keeps a command's trailing "--" comment off its "end".
    TString statement = TString::Format("table.insert( gCommandQueue, function() %s\nend );", command.c_str());
    script->DoLuaString(statement.c_str(), -1);
    // A script waiting for a message without a time-out runs the queue only
    // when a message comes: this one wakes it on the next pass.
    manager->PostMessage(new TMessage(TMessage::kCommandOnly, TString(), nullptr));
}

TString QuoteLuaString(const TString& text) {
    TString quoted = "'";
    for (int i = 0; i < text.Length(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text.CharAt(i));
        if (c == '\'' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c < 32 || c == 127) {
            // Three digits, so a digit that follows is not read with it.
            quoted += TString::Format("\\%03d", c);
        } else {
            quoted += static_cast<char>(c);
        }
    }
    quoted += '\'';
    return quoted;
}
