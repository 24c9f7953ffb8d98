// What the test host library records and how it answers; the tests reach it
// through the library's "HandlerModuleRecordOf" export.
#pragma once

#include <string>

struct HandlerModuleRecord {
    int created = 0;
    int destroyed = 0;
    bool createNothing = false;  // CreateHandler returns null
    // Answers of QueryRestartMode, QueryJumpToMenu, QueryMuteGame, IsHoldingGame.
    bool restartMode = false;
    bool jumpToMenu = false;
    bool muteGame = false;
    bool holdingGame = false;
    std::string lastKey;
    std::string lastValue;
};

using HandlerModuleRecordFunction = HandlerModuleRecord* (*)();
