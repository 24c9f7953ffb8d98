// A host library for the tests. Its handler takes the key "take" and reads
// every value with "module:" in front, except under the key "none", which
// it reads as null.
#include <cstring>
#include <string>

#include "core/app/gamestatehandler.h"
#include "tests/core/app/handlermodule.h"

namespace {

HandlerModuleRecord gRecord;

class ModuleHandler : public TGameStateHandler {
public:
    bool HandleSetState(const char* key, const char* value) override {
        gRecord.lastKey = key;
        gRecord.lastValue = value;
        return std::strcmp(key, "take") == 0;
    }
    const char* FilterGetState(const char* key, const char* value) override {
        if (std::strcmp(key, "none") == 0) return nullptr;
        mFiltered = std::string("module:") + value;
        return mFiltered.c_str();
    }
    bool QueryRestartMode() override { return gRecord.restartMode; }
    bool QueryJumpToMenu() override { return gRecord.jumpToMenu; }
    bool QueryMuteGame() override { return gRecord.muteGame; }
    bool IsHoldingGame() override { return gRecord.holdingGame; }

private:
    std::string mFiltered;
};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) HandlerModuleRecord* HandlerModuleRecordOf() {
    return &gRecord;
}

__attribute__((visibility("default"))) TGameStateHandler* CreateHandler() {
    ++gRecord.created;
    return gRecord.createNothing ? nullptr : new ModuleHandler();
}

#ifndef HANDLER_MODULE_WITHOUT_DESTROY
__attribute__((visibility("default"))) void DestroyHandler(TGameStateHandler* handler) {
    ++gRecord.destroyed;
    delete handler;
}
#endif
}
