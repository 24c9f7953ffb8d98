#include "game/shell/mainscript.h"

#include "core/scripting/script.h"
#include "core/windows/windowmanager.h"

lua_State* GetMainScriptState() {
    TWindowManager* windows = TWindowManager::GetInstance();
    TScript* script = windows ? windows->GetScript() : nullptr;
    return script ? script->GetState() : nullptr;
}
