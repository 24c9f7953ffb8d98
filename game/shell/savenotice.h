// What the player is told about their saved data, in the notice dialog
// ("scripts/notice.lua") over whatever screen is up, with one OK button.
// Notices are queued for the main script, so they open once it waits.
#pragma once

#include "foundation/tstring.h"

// The saved players could not be read; the damaged file was kept as copyPath.
void NoticeDamagedPlayers(const TString& copyPath);
// The player's data could not be saved to path.
void NoticeFailedSave(const TString& path);
