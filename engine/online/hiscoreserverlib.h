// The hiscore client's binding to a local hiscore server library: loading it,
// telling it about the game, passing requests on, and freeing it.
#pragma once

#include "foundation/tstring.h"
#include "platform/os/library.h"

inline constexpr const char* kHiscoreServerLibrary = "qmservlet_stub.dll";

class THiscoreServerLib {
public:
    THiscoreServerLib() = default;
    ~THiscoreServerLib() { Close(); }
    THiscoreServerLib(const THiscoreServerLib&) = delete;
    THiscoreServerLib& operator=(const THiscoreServerLib&) = delete;

    // Loads the library and sets up a server for the game; false, silently,
    // when it does not load, and false with a log line when it lacks one of
    // the functions every request needs.
    bool Open(const TString& name, const TString& gameId, const TString& encryptionKey);
    // Frees the server, then the library.
    void Close();
    bool IsOpen() const { return mServer != nullptr; }

    // 2 (failed) when no server is open.
    int GetStatus();
    // Null when no server is open or the library has no reply.
    const char* GetContents();

    void RequestCategoryInformation(const TString& gameId);
    void RequestScores(const TString& gameId, const TString& gameMode, const char* tableId, const char* accountName);
    void SubmitScore(const TString& gameId, const TString& gameMode, const char* accountName, const char* password,
                     const TString& guid, const TString& version, const TString& gameData, int score,
                     const TString& encryptionKey, const TString& medals);
    void SubmitMedals(const TString& gameId, const TString& gameMode, const char* accountName, const char* password,
                      const TString& medals, const TString& encryptionKey);

private:
    bool HasRequiredFunctions();
    void DescribeGame(const TString& gameId, const TString& encryptionKey);

    // The function of that name, looked up now; null when not exported.
    template <typename Function>
    Function* Find(const char* name) {
        return reinterpret_cast<Function*>(mLibrary.Symbol(name));
    }

    os::Library mLibrary;
    void* mServer = nullptr;
};
