// The functions of a local hiscore server library, as the hiscore client
// calls them. The client looks each one up by name when it uses it; a library
// that stands in for the server defines them.
#pragma once

extern "C" {

// A new server; the handle the other functions take.
void* HiscoreServer_CreateLocalServer(void);
void HiscoreServer_FreeLocalServer(void* server);

// Optional: the server reads its own description of the game.
void HiscoreServer_LoadServerDefFile(void* server);
// Optional: the game's identity, its modes and its medals. medalNames is
// null when medalCount is 0.
void HiscoreServer_SetServerInfo(void* server, const char* gameId, const char* encryptionKey,
                                 const char* const* modeNames, int modeCount, const char* const* medalNames,
                                 int medalCount);

// 0 while the last request runs, 1 when its reply is ready, anything else
// when it failed.
int HiscoreServer_GetStatus(void* server);
// The reply of the last request once it is ready; the caller copies it at once.
const char* HiscoreServer_GetContents(void* server);

void HiscoreServer_RequestCategoryInformation(void* server, const char* gameId);
// tableId and accountName may be null.
void HiscoreServer_RequestScores(void* server, const char* gameId, const char* gameMode, const char* tableId,
                                 const char* accountName);
// accountName and password may be null.
void HiscoreServer_SubmitScore(void* server, const char* gameId, const char* gameMode, const char* accountName,
                               const char* password, const char* guid, const char* version, const char* gameData,
                               int score, const char* encryptionKey, const char* medals);
void HiscoreServer_SubmitMedals(void* server, const char* gameId, const char* gameMode, const char* accountName,
                                const char* password, const char* medals, const char* encryptionKey);
}
