// The game's main routine: set-up, the event loop and the teardown, each
// also callable on its own so tests and benchmarks can run one part.
#pragma once

#include <memory>

#include "foundation/tstring.h"

class TAssetMap;
class TPlatform;
struct TPlatformEvent;

// What the set-up makes that lives exactly as long as the loop.
struct TGameSession {
    TGameSession();
    ~TGameSession();

    // The button and dialog images every screen uses, loaded once.
    std::unique_ptr<TAssetMap> heldAssets;
};

// The settings, statistics, game object, display, title, managers, cursor,
// window classes and first screen, in that order.
void GameMainSetUp(TPlatform* platform, TGameSession& session);
// One event: the game's own handling, then the dispatch.
void HandleGameEvent(TPlatform* platform, const TPlatformEvent& event);
// Handles events until the quit event arrives.
void GameMainLoop(TPlatform* platform);
// Deletes the game objects in their fixed order.
void GameMainTearDown(TGameSession& session);

// The engine driver's callback: the whole game until quit.
int GameMain(TPlatform* platform, const TString& commandLine);
