#include "online/qmhiscores.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "foundation/settings.h"
#include "foundation/xmlescape.h"
#include "online/hiscoreconfig.h"
#include "platform/http/curltransport.h"

namespace {

enum TRequestKind { kNoRequest = -1, kSubmission = 0, kScores = 1, kCategories = 2 };

const char kProtocolVersion[] = "1.0";
const int kScoresAsked = 500;
const int kNoCacheWrite = 1;
const char kServerFile[] = "::hiscoreserver.txt";
const int kServerLineSize = 512;
const char kDeclaration[] = "<?xml version=\"1.0\"?>\n";

const char kConnectFailed[] = "Unable to connect to server. Please try again later.";
const char kModeNotValid[] = "Score request failed because game mode is not valid";
const char kNoCategories[] = "Score request failed because no category information has been received yet";
const char kMissingType[] = "Missing required parameter: type";
const char kBadLogin[] = "hiscore.error.invalidUsernameOrPassword";

bool Given(const char* text) {
    return text && *text;
}

// Copies at most size - 1 bytes and a NUL; refuses a buffer without room.
bool CopyText(const TString& text, char* buffer, int size) {
    if (!buffer || size <= 0) {
        return false;
    }
    const int count = std::min(text.Length(), size - 1);
    std::memcpy(buffer, text.c_str(), static_cast<size_t>(count));
    buffer[count] = '\0';
    return true;
}

bool HasRoom(const char* buffer, int size) {
    return buffer && size > 0;
}

template <typename Value>
void Put(Value* out, Value value) {
    if (out) {
        *out = value;
    }
}

TString TrimLineEnd(const char* line) {
    int length = static_cast<int>(std::strlen(line));
    while (length > 0 && std::strchr(" \t\r\n", line[length - 1])) {
        --length;
    }
    return TString(line, length);
}

// The element's text with extra lines placed before its closing tag.
TString WithLinesInside(TXmlNode& element, const char* name, const TString& lines) {
    TString text;
    element.WriteToString(text);
    if (lines.Length() == 0) {
        return text;
    }
    const TString closing = TString("</") + name + ">";
    int at = -1;
    for (int next = text.Find(closing); next >= 0; next = text.Find(closing, 0, next + 1)) {
        at = next;
    }
    if (at >= 0) {
        text.Erase(at);
    }
    return text + lines + closing;
}

}  // namespace

TQmHiscores::TQmHiscores() : TQmHiscores(std::make_shared<http::CurlTransport>(), kHiscoreServerLibrary) {}

TQmHiscores::TQmHiscores(std::shared_ptr<http::Transport> transport, const TString& libraryName)
    : mEncryptionKey(GetSetting(kSettingEncryptionKey, "")),
      mHttp(std::move(transport)),
      mData(mEncryptionKey),
      mCodec(mEncryptionKey) {
    if (mEncryptionKey.Length() == 0) {
        DebugLog("ERROR: No encryption key set before TQmHiscores construction!");
    }
    mGameId = GetSetting(kSettingQmGameHandle, "");
    if (mGameId.Length() == 0) {
        mGameId = GetSetting(kSettingGameName, "");
    }
    mUserRow.valid = false;
    mData.Load();
    mServerLib.Open(libraryName, mGameId, mEncryptionKey);

    THiscoreConfig config;
    config.Load();
    mLanguage = config.language;
    mLanguageFixed = config.languageFixed;
    mDefaultError = config.defaultError;
    ReadServerAddress();
}

// The first line of the file names the service; its line end is no part of it.
void TQmHiscores::ReadServerAddress() {
    TFile file;
    char line[kServerLineSize];
    if (!file.Open(kServerFile, kFileReadText) || !file.Gets(line, sizeof line)) {
        return;
    }
    const TString address = TrimLineEnd(line);
    if (address.Length() > 0) {
        mServerAddress = address;
    }
}

void TQmHiscores::SetSessionValue(int index, const TString& value) {
    switch (index) {
        case kLanguage:
            if (!mLanguageFixed) {
                mLanguage = value;
            }
            break;
        case kPlayerName:
            mPlayerName = value;
            mAccountName = TString();
            break;
        case kGameMode:
            mGameMode = value;
            break;
        default:
            break;
    }
}

void TQmHiscores::BeginRequest(const char* action) {
    mHttp.BeginRequest(mServerAddress.c_str(), nullptr, false);
    mHttp.AddParam("lang", mLanguage.c_str());
    mHttp.AddParam("ver", kProtocolVersion);
    if (action) {
        mHttp.AddParam("action", action);
    }
}

void TQmHiscores::RequestCategoryInformation() {
    BeginRequest("tables");
    mHttp.AddParam("game", mGameId.c_str());
    if (mServerLib.IsOpen()) {
        mServerLib.RequestCategoryInformation(mGameId);
    } else {
        mHttp.Send(kNoCacheWrite);
    }
    mRequestKind = kCategories;
}

void TQmHiscores::RequestScores(int tableIndex) {
    const bool known = tableIndex >= 0 && tableIndex < GetCategoryCount();
    const char* table = known ? mCategories[static_cast<size_t>(tableIndex)].table.c_str() : nullptr;
    const char* account = mAccountName.Length() > 0 ? mAccountName.c_str() : nullptr;
    BeginRequest("get");
    mHttp.AddParam("game", mGameId.c_str());
    mHttp.AddParam("type", mGameMode.c_str());
    if (table) {
        mHttp.AddParam("table", table);
    }
    mHttp.AddParamInt("numScores", kScoresAsked);
    if (account) {
        mHttp.AddParam("username", account);
    }
    if (mServerLib.IsOpen()) {
        mServerLib.RequestScores(mGameId, mGameMode, table, account);
    } else {
        mHttp.Send(kNoCacheWrite);
    }
    mRequestKind = kScores;
}

// The document travels as base64 text of its Blowfish blocks.
void TQmHiscores::AddEncryptedDocument(const char* name, const TString& element) {
    const std::string document = kDeclaration + std::string(element.c_str(), static_cast<size_t>(element.Length()));
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(document.data());
    const int length = static_cast<int>(document.size());
    std::string text(static_cast<size_t>(mCodec.Encrypt(bytes, length, nullptr, 0, true)), '\0');
    mCodec.Encrypt(bytes, length, reinterpret_cast<uint8_t*>(text.data()), static_cast<int>(text.size()), true);
    mHttp.AddParam(name, text.c_str());
}

bool TQmHiscores::SubmitScore(const char* accountName, const char* password, bool remember) {
    mMedalsPending = false;
    THiscoreTable& table = CurrentTable();
    auto own = std::find_if(table.rows.begin(), table.rows.end(),
                            [&](const THiscoreRow& row) { return row.name == mPlayerName; });
    if (own == table.rows.end() || own->submitted) {
        const TString medalLines = UnsubmittedMedalLines();
        if (medalLines.Length() == 0) {
            return false;
        }
        mMedalsPending = SubmitMedals(medalLines, accountName, password, remember);
        return mMedalsPending;
    }
    const THiscoreRow& row = *own;
    TXmlNode score("score");
    score.SetAttribute("guid", row.guid);
    if (accountName) {
        score.SetAttribute("name", accountName);
    }
    if (Given(password)) {
        score.SetAttribute("password", password);
        mAccountName = accountName;
    } else {
        mAccountName = TString();
    }
    score.SetAttribute("type", mGameMode);
    if (mGameId.Length() > 0) {
        score.SetAttribute("game", mGameId);
    }
    score.SetAttributeInt("score", row.score);
    if (row.gameData.Length() > 0) {
        score.SetAttribute("data", row.gameData);
    }
    if (row.version.Length() > 0) {
        score.SetAttribute("ver", row.version);
    }

    BeginRequest(nullptr);
    mHttp.AddParam("game", mGameId.c_str());
    mHttp.AddParam("action", "submit");
    AddEncryptedDocument("score", WithLinesInside(score, "score", row.serverData));
    if (mServerLib.IsOpen()) {
        mServerLib.SubmitScore(mGameId, mGameMode, accountName, password, row.guid, row.version, row.gameData,
                               row.score, mEncryptionKey, row.serverData);
    } else {
        mHttp.Send(kNoCacheWrite);
    }
    mRequestKind = kSubmission;
    mMedalsPending = true;
    RememberLogin(remember, accountName, password);
    return true;
}

// One line per medal of the player not yet submitted: its name, the mode it
// was earned in as "per", and its type when it has one.
TString TQmHiscores::UnsubmittedMedalLines() const {
    TString lines;
    auto medals = mData.Medals().find(mPlayerName);
    if (medals == mData.Medals().end()) {
        return lines;
    }
    for (const THiscoreMedal& medal : medals->second) {
        if (medal.submitted) {
            continue;
        }
        lines += TString::Format("<medal name=\"%s\" per=\"%s\"", XmlEscape(medal.medalName).c_str(),
                                 XmlEscape(medal.mode).c_str());
        if (medal.type.Length() > 0) {
            lines += TString::Format(" type=\"%s\"", XmlEscape(medal.type).c_str());
        }
        lines += "/>\r\n";
    }
    return lines;
}

bool TQmHiscores::SubmitMedals(const TString& medalLines, const char* accountName, const char* password,
                               bool remember) {
    mMedalsPending = false;
    TXmlNode medals("medals");
    medals.SetAttribute("name", accountName);
    medals.SetAttribute("password", password);
    if (mGameId.Length() > 0) {
        medals.SetAttribute("game", mGameId);
    }
    BeginRequest(nullptr);
    mHttp.AddParam("game", mGameId.c_str());
    mHttp.AddParam("action", "medals");
    AddEncryptedDocument("medals", WithLinesInside(medals, "medals", medalLines));
    if (mServerLib.IsOpen()) {
        mServerLib.SubmitMedals(mGameId, mGameMode, accountName, password, medalLines, mEncryptionKey);
    } else {
        mHttp.Send(kNoCacheWrite);
    }
    mRequestKind = kSubmission;
    RememberLogin(remember, accountName, password);
    return true;
}

void TQmHiscores::RememberLogin(bool remember, const char* accountName, const char* password) {
    if (remember) {
        mData.Logins()[mPlayerName] = {mPlayerName, accountName, password};
    } else {
        mData.Logins().erase(mPlayerName);
    }
    mData.Save();
}

int TQmHiscores::RequestStatus() {
    return mServerLib.IsOpen() ? mServerLib.GetStatus() : mHttp.GetStatus();
}

int TQmHiscores::PollReply(char* errorBuffer, int bufferSize, bool* ranked) {
    const int status = RequestStatus();
    if (status == 0) {
        return kRequestRunning;
    }
    // A library that reports a reply but hands over none failed as well.
    const char* contents = status == 1 ? (mServerLib.IsOpen() ? mServerLib.GetContents() : mHttp.GetData()) : nullptr;
    if (!contents) {
        mErrorText = TString();
        return Fail(errorBuffer, bufferSize);
    }
    mReplyText = contents;
    const THiscoreReply reply(mReplyText.c_str());
    switch (mRequestKind) {
        case kScores:
            return ReadScoresReply(reply, errorBuffer, bufferSize);
        case kCategories:
            if (reply.Check(mErrorText) && reply.ReadCategories(mCategories)) {
                return kReplyAccepted;
            }
            return Fail(errorBuffer, bufferSize);
        case kSubmission:
            return ReadSubmissionReply(reply, errorBuffer, bufferSize, ranked);
        default:
            return kReplyAccepted;
    }
}

int TQmHiscores::ReadScoresReply(const THiscoreReply& reply, char* errorBuffer, int bufferSize) {
    if (reply.Check(mErrorText) && reply.ReadScores(mScores, mUserRow)) {
        return kReplyAccepted;
    }
    if (mReplyText.Find(kMissingType) >= 0) {
        mErrorText = kModeNotValid;
    } else if (mCategories.empty()) {
        mErrorText = kNoCategories;
    }
    return Fail(errorBuffer, bufferSize);
}

int TQmHiscores::ReadSubmissionReply(const THiscoreReply& reply, char* errorBuffer, int bufferSize, bool* ranked) {
    if (!reply.Check(mErrorText)) {
        if (mReplyText.Find(kBadLogin) >= 0) {
            mData.Logins().erase(mPlayerName);
            mData.Save();
        }
        return Fail(errorBuffer, bufferSize);
    }
    bool scoreRanked = false;
    if (!reply.Holds("medals")) {
        for (THiscoreRow& row : CurrentTable().rows) {
            if (row.name == mPlayerName) {
                row.submitted = true;
            }
        }
        scoreRanked = reply.Holds("score");
    }
    if (mMedalsPending) {
        auto medals = mData.Medals().find(mPlayerName);
        if (medals != mData.Medals().end()) {
            for (THiscoreMedal& medal : medals->second) {
                medal.submitted = true;
            }
        }
        mMedalsPending = false;
    }
    mData.Save();
    Put(ranked, scoreRanked);
    return kReplyAccepted;
}

// The error text, else the configured text, else the client's own.
int TQmHiscores::Fail(char* errorBuffer, int bufferSize) {
    if (mErrorText.Length() > 0) {
        CopyText(mErrorText, errorBuffer, bufferSize);
    } else {
        CopyText(mDefaultError.Length() > 0 ? mDefaultError : TString(kConnectFailed), errorBuffer, bufferSize);
    }
    return kRequestFailed;
}

THiscoreTable& TQmHiscores::CurrentTable() {
    THiscoreTable& table = mData.Tables()[mGameMode];
    table.mode = mGameMode;
    return table;
}

const THiscoreTable* TQmHiscores::FindCurrentTable() const {
    const auto& tables = mData.Tables();
    auto found = tables.find(mGameMode);
    return found == tables.end() ? nullptr : &found->second;
}

const THiscoreRow* TQmHiscores::ScoreRow(bool local, int index) const {
    if (index < 0) {
        return nullptr;
    }
    const size_t at = static_cast<size_t>(index);
    if (!local) {
        return at < mScores.size() ? &mScores[at] : nullptr;
    }
    const THiscoreTable* table = FindCurrentTable();
    return table && at < table->rows.size() ? &table->rows[at] : nullptr;
}

const THiscoreRow* TQmHiscores::FirstUnsubmittedRow() const {
    const THiscoreTable* table = FindCurrentTable();
    if (!table) {
        return nullptr;
    }
    for (const THiscoreRow& row : table->rows) {
        if (row.name == mPlayerName && !row.submitted) {
            return &row;
        }
    }
    return nullptr;
}

bool TQmHiscores::GetCategoryName(int index, char* buffer, int bufferSize) const {
    if (index < 0 || index >= GetCategoryCount()) {
        return false;
    }
    return CopyText(mCategories[static_cast<size_t>(index)].name, buffer, bufferSize);
}

int TQmHiscores::GetScoreCount(bool local) const {
    if (!local) {
        return static_cast<int>(mScores.size());
    }
    const THiscoreTable* table = FindCurrentTable();
    return table ? static_cast<int>(table->rows.size()) : 0;
}

bool TQmHiscores::GetScoreEntry(bool local, int index, int* rank, char* name, int nameSize, bool* submitted,
                                int* score, char* data, int dataSize) const {
    const THiscoreRow* row = ScoreRow(local, index);
    if (!row || !HasRoom(name, nameSize) || !HasRoom(data, dataSize)) {
        return false;
    }
    Put(rank, row->rank);
    CopyText(row->name, name, nameSize);
    Put(submitted, row->submitted);
    Put(score, row->score);
    CopyText(row->gameData, data, dataSize);
    return true;
}

bool TQmHiscores::GetUserEntry(int source, int* score, int* rank, char* data, int dataSize) const {
    const THiscoreRow* row = source == 0 ? FirstUnsubmittedRow() : (mUserRow.valid ? &mUserRow : nullptr);
    if (!row || !HasRoom(data, dataSize)) {
        return false;
    }
    Put(score, row->score);
    Put(rank, row->rank);
    CopyText(row->gameData, data, dataSize);
    return true;
}

bool TQmHiscores::AddLocalScore(int score, bool replaceLower, const TString& gameData, const TString& medals) {
    return mData.AddLocalScore(mGameMode, mPlayerName, score, replaceLower, gameData, medals);
}

bool TQmHiscores::GetSavedLogin(TString* accountName, TString* password) const {
    const auto& logins = mData.Logins();
    auto found = logins.find(mPlayerName);
    if (found == logins.end()) {
        return false;
    }
    Put(accountName, found->second.account);
    Put(password, found->second.password);
    return true;
}
