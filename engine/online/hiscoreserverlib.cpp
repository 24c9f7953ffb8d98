#include "online/hiscoreserverlib.h"

#include <vector>

#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "online/hiscoreserverapi.h"

// Looks a library function up by its own name, typed by its declaration.
#define SERVER_FUNCTION(function) Find<decltype(function)>(#function)

namespace {

// The settings prefix + "1", "2", ... up to the first empty one.
std::vector<TString> NumberedSettings(const char* prefix) {
    std::vector<TString> values;
    for (int n = 1;; ++n) {
        TString value = GetSetting(TString::Format("%s%d", prefix, n), "");
        if (value.Length() == 0) {
            return values;
        }
        values.push_back(value);
    }
}

std::vector<const char*> Texts(const std::vector<TString>& values) {
    std::vector<const char*> texts;
    for (const TString& value : values) {
        texts.push_back(value.c_str());
    }
    return texts;
}

}  // namespace

bool THiscoreServerLib::Open(const TString& name, const TString& gameId, const TString& encryptionKey) {
    Close();
    if (!mLibrary.Open(name.c_str())) {
        return false;
    }
    if (!HasRequiredFunctions()) {
        DebugLog("HiScores: %s lacks a server function (%s); using HTTP\n", name.c_str(), mLibrary.Error().c_str());
        mLibrary.Close();
        return false;
    }
    mServer = SERVER_FUNCTION(HiscoreServer_CreateLocalServer)();
    if (!mServer) {
        DebugLog("HiScores: %s made no server; using HTTP\n", name.c_str());
        mLibrary.Close();
        return false;
    }
    DescribeGame(gameId, encryptionKey);
    return true;
}

bool THiscoreServerLib::HasRequiredFunctions() {
    return SERVER_FUNCTION(HiscoreServer_CreateLocalServer) && SERVER_FUNCTION(HiscoreServer_FreeLocalServer) &&
           SERVER_FUNCTION(HiscoreServer_GetStatus) && SERVER_FUNCTION(HiscoreServer_GetContents) &&
           SERVER_FUNCTION(HiscoreServer_RequestCategoryInformation) &&
           SERVER_FUNCTION(HiscoreServer_RequestScores) && SERVER_FUNCTION(HiscoreServer_SubmitScore) &&
           SERVER_FUNCTION(HiscoreServer_SubmitMedals);
}

// Without a game handle the server reads its own definition; otherwise it
// hears the game's modes and medals, when there is at least one mode.
void THiscoreServerLib::DescribeGame(const TString& gameId, const TString& encryptionKey) {
    if (GetSetting(kSettingQmGameHandle, "").Length() == 0) {
        if (auto load = SERVER_FUNCTION(HiscoreServer_LoadServerDefFile)) {
            load(mServer);
        }
        return;
    }
    const std::vector<TString> modes = NumberedSettings(kSettingQmGameModeName);
    const std::vector<TString> medals = NumberedSettings(kSettingQmGameMedalName);
    auto setInfo = SERVER_FUNCTION(HiscoreServer_SetServerInfo);
    if (modes.empty() || !setInfo) {
        return;
    }
    const std::vector<const char*> modeTexts = Texts(modes);
    const std::vector<const char*> medalTexts = Texts(medals);
    setInfo(mServer, gameId.c_str(), encryptionKey.c_str(), modeTexts.data(), static_cast<int>(modeTexts.size()),
            medalTexts.empty() ? nullptr : medalTexts.data(), static_cast<int>(medalTexts.size()));
}

void THiscoreServerLib::Close() {
    if (mServer) {
        if (auto release = SERVER_FUNCTION(HiscoreServer_FreeLocalServer)) {
            release(mServer);
        }
        mServer = nullptr;
    }
    mLibrary.Close();
}

int THiscoreServerLib::GetStatus() {
    auto status = mServer ? SERVER_FUNCTION(HiscoreServer_GetStatus) : nullptr;
    return status ? status(mServer) : 2;
}

const char* THiscoreServerLib::GetContents() {
    auto contents = mServer ? SERVER_FUNCTION(HiscoreServer_GetContents) : nullptr;
    return contents ? contents(mServer) : nullptr;
}

void THiscoreServerLib::RequestCategoryInformation(const TString& gameId) {
    if (auto request = mServer ? SERVER_FUNCTION(HiscoreServer_RequestCategoryInformation) : nullptr) {
        request(mServer, gameId.c_str());
    }
}

void THiscoreServerLib::RequestScores(const TString& gameId, const TString& gameMode, const char* tableId,
                                      const char* accountName) {
    if (auto request = mServer ? SERVER_FUNCTION(HiscoreServer_RequestScores) : nullptr) {
        request(mServer, gameId.c_str(), gameMode.c_str(), tableId, accountName);
    }
}

void THiscoreServerLib::SubmitScore(const TString& gameId, const TString& gameMode, const char* accountName,
                                    const char* password, const TString& guid, const TString& version,
                                    const TString& gameData, int score, const TString& encryptionKey,
                                    const TString& medals) {
    if (auto submit = mServer ? SERVER_FUNCTION(HiscoreServer_SubmitScore) : nullptr) {
        submit(mServer, gameId.c_str(), gameMode.c_str(), accountName, password, guid.c_str(), version.c_str(),
               gameData.c_str(), score, encryptionKey.c_str(), medals.c_str());
    }
}

void THiscoreServerLib::SubmitMedals(const TString& gameId, const TString& gameMode, const char* accountName,
                                     const char* password, const TString& medals, const TString& encryptionKey) {
    if (auto submit = mServer ? SERVER_FUNCTION(HiscoreServer_SubmitMedals) : nullptr) {
        submit(mServer, gameId.c_str(), gameMode.c_str(), accountName, password, medals.c_str(),
               encryptionKey.c_str());
    }
}
