#include "core/app/dllgamestate.h"

#include "foundation/debuglog.h"
#include "foundation/virtualfiles.h"

TDllGameState::~TDllGameState() {
    if (mObject && mDestroy) mDestroy(mObject);
    mObject = nullptr;
    mLibrary.Close();
}

bool TDllGameState::LoadHandlerDll(const TString& name) {
    if (mLibrary.IsOpen()) {
        DebugLog("TDllGameState::LoadHandlerDll: %s not loaded, a library is loaded already", name.c_str());
        return false;
    }
    // A name the file layer does not know goes to the loader as it is.
    TString path = ResolvePath(name, true);
    if (path.Length() == 0) path = name;
    if (!mLibrary.Open(path.c_str())) {
        DebugLog("TDllGameState::LoadHandlerDll: cannot load %s: %s", name.c_str(), mLibrary.Error().c_str());
        return false;
    }
    if (!TakeExports(name)) return false;
    mObject = mCreate();
    if (!mObject) DebugLog("TDllGameState::LoadHandlerDll: %s made no handler object", name.c_str());
    return mObject != nullptr;
}

bool TDllGameState::TakeExports(const TString& name) {
    auto create = reinterpret_cast<TCreateHandlerFunction>(mLibrary.Symbol(kCreateHandlerExport));
    auto destroy = reinterpret_cast<TDestroyHandlerFunction>(mLibrary.Symbol(kDestroyHandlerExport));
    if (!create || !destroy) {
        DebugLog("TDllGameState::LoadHandlerDll: %s lacks the export %s", name.c_str(),
                 create ? kDestroyHandlerExport : kCreateHandlerExport);
        return false;
    }
    mCreate = create;
    mDestroy = destroy;
    return true;
}

bool TDllGameState::HandleSetState(const char* key, const char* value) {
    return mObject && mObject->HandleSetState(key, value);
}

const char* TDllGameState::FilterGetState(const char* key, const char* value) {
    return mObject ? mObject->FilterGetState(key, value) : value;
}

bool TDllGameState::QueryRestartMode() {
    return mObject && mObject->QueryRestartMode();
}

bool TDllGameState::QueryJumpToMenu() {
    return mObject && mObject->QueryJumpToMenu();
}

bool TDllGameState::QueryMuteGame() {
    return mObject && mObject->QueryMuteGame();
}

bool TDllGameState::IsHoldingGame() {
    return mObject && mObject->IsHoldingGame();
}
