// The game's client of the online hiscore service: score tables, scores,
// score and medal submissions, and the player's local scores and remembered
// logins. Requests run in the background over HTTP, or through a local
// server library when one is present; the caller polls PollReply each frame.
#pragma once

#include <memory>
#include <vector>

#include "foundation/cryptcodec.h"
#include "foundation/tstring.h"
#include "online/hiscoredata.h"
#include "online/hiscorereply.h"
#include "online/hiscoreserverlib.h"
#include "online/simplehttp.h"

namespace http {
class Transport;
}

// Where requests go until "hiscoreserver.txt" names a service.
inline constexpr const char* kDefaultHiscoreAddress = "http://127.0.0.1/go/hiscore";

class TQmHiscores {
public:
    enum TSessionValue { kLanguage = 0, kPlayerName = 1, kGameMode = 2 };
    enum TPollResult { kReplyAccepted = 0, kRequestRunning = 1, kRequestFailed = 2 };

    // Reads the settings, the saved data, "::hiscore.xml" and the working
    // folder's "hiscoreserver.txt", and sets up the local server library.
    TQmHiscores();
    // The same over another HTTP transport, with the server library looked
    // up under another name.
    TQmHiscores(std::shared_ptr<http::Transport> transport, const TString& libraryName);
    TQmHiscores(const TQmHiscores&) = delete;
    TQmHiscores& operator=(const TQmHiscores&) = delete;

    void SetSessionValue(int index, const TString& value);

    void RequestCategoryInformation();
    // A table index outside the categories asks without a table.
    void RequestScores(int tableIndex);
    // Submits the player's first local score of the mode when it is not yet
    // submitted, else the player's medals not yet submitted; false when there
    // is neither. Without a password the score is anonymous. remember keeps
    // or forgets the login.
    bool SubmitScore(const char* accountName, const char* password, bool remember);
    bool SubmitMedals(const TString& medalLines, const char* accountName, const char* password, bool remember);

    // kRequestRunning, kReplyAccepted, or kRequestFailed with the text for
    // the player in the buffer (when it has room). After a submission,
    // *ranked tells whether the service ranked the score.
    int PollReply(char* errorBuffer, int bufferSize, bool* ranked);

    int GetCategoryCount() const { return static_cast<int>(mCategories.size()); }
    bool GetCategoryName(int index, char* buffer, int bufferSize) const;
    // Rows of the last scores reply, or with local set of the mode's local table.
    int GetScoreCount(bool local) const;
    // The flag is the row's submitted flag. False for a row or a buffer
    // that does not exist.
    bool GetScoreEntry(bool local, int index, int* rank, char* name, int nameSize, bool* submitted, int* score,
                       char* data, int dataSize) const;
    // Source 0: the player's first unsubmitted local row of the mode;
    // source 1: the player's row of the last scores reply.
    bool GetUserEntry(int source, int* score, int* rank, char* data, int dataSize) const;
    // Adds the player's score to the mode's local table and saves.
    bool AddLocalScore(int score, bool replaceLower, const TString& gameData, const TString& medals);
    // The player's remembered login; false when there is none.
    bool GetSavedLogin(TString* accountName, TString* password) const;

private:
    void ReadServerAddress();
    void BeginRequest(const char* action);
    void AddEncryptedDocument(const char* name, const TString& element);
    void RememberLogin(bool remember, const char* accountName, const char* password);
    TString UnsubmittedMedalLines() const;
    int RequestStatus();
    int Fail(char* errorBuffer, int bufferSize);
    int ReadScoresReply(const THiscoreReply& reply, char* errorBuffer, int bufferSize);
    int ReadSubmissionReply(const THiscoreReply& reply, char* errorBuffer, int bufferSize, bool* ranked);
    THiscoreTable& CurrentTable();
    const THiscoreTable* FindCurrentTable() const;
    const THiscoreRow* ScoreRow(bool local, int index) const;
    const THiscoreRow* FirstUnsubmittedRow() const;

    TString mGameId;
    TString mEncryptionKey;
    TString mLanguage = "en";
    TString mPlayerName;
    TString mGameMode;
    int mRequestKind = -1;
    TSimpleHttp mHttp;
    std::vector<THiscoreCategory> mCategories;
    TString mServerAddress = kDefaultHiscoreAddress;
    TString mErrorText;
    TString mReplyText;
    TString mAccountName;
    std::vector<THiscoreReplyRow> mScores;
    THiscoreReplyRow mUserRow;
    THiscoreData mData;
    // The player's medals went with the submission in flight: its accepted
    // reply marks them submitted.
    bool mMedalsPending = false;
    bool mLanguageFixed = false;
    TString mDefaultError;
    TCryptCodec mCodec;
    THiscoreServerLib mServerLib;
};
