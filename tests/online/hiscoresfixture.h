// Shared set-up of the hiscore client tests: settings, a user folder, a
// working folder of its own, a log, and a recording HTTP transport.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "foundation/cryptcodec.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "online/httpworkerregistry.h"
#include "online/qmhiscores.h"
#include "platform/http/recordingtransport.h"
#include "tests/support/luatesting.h"
#include "tests/support/tempfolder.h"

using Params = std::vector<std::pair<std::string, std::string>>;

inline constexpr char kHiscoreKey[] = "SGlTY29yZXMx";
inline constexpr char kNoLibrary[] = "qmservlet_absent.dll";
inline constexpr char kConnectText[] = "Unable to connect to server. Please try again later.";

inline int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

inline std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The query parameters of an address, in order and unescaped.
inline Params QueryOf(const std::string& url) {
    Params params;
    size_t at = url.find('?');
    while (at != std::string::npos) {
        const size_t end = url.find('&', at + 1);
        const std::string pair = url.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
        const size_t equals = pair.find('=');
        params.emplace_back(pair.substr(0, equals), Unescape(pair.substr(equals + 1)));
        at = end;
    }
    return params;
}

inline std::string ParamOf(const Params& params, const std::string& name) {
    for (const auto& [key, value] : params) {
        if (key == name) return value;
    }
    return std::string();
}

class HiscoresFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mRoot.Path().empty());
        std::filesystem::create_directories(mRoot / "user");
        std::filesystem::create_directories(mRoot / "work");
        SetDataFolders((mRoot / "user").c_str(), (mRoot / "common").c_str(), "");
        mOldFolder = std::filesystem::current_path();
        std::filesystem::current_path(mRoot / "work");
        SetSetting(kSettingEncryptionKey, kHiscoreKey);
        SetSetting(kSettingGameName, "vandermoot");
        SetSetting(kSettingVersion, "1.2");
    }
    void TearDown() override {
        mClient.reset();
        THttpWorkerRegistry::Get().Shutdown();
        std::filesystem::current_path(mOldFolder);
        ClearSettings();
        SetDataFolders("", "", "");
        ClearVirtualFiles();
    }

    // A client for player "ann" in mode "story".
    TQmHiscores& Make(const char* library = kNoLibrary) {
        mClient.reset();
        mClient = std::make_unique<TQmHiscores>(mTransport, library);
        mClient->SetSessionValue(TQmHiscores::kPlayerName, "ann");
        mClient->SetSessionValue(TQmHiscores::kGameMode, "story");
        return *mClient;
    }

    // Polls as a frame loop would until the request leaves the running state.
    int Poll(std::string* message = nullptr, bool* ranked = nullptr) {
        char buffer[512] = "untouched";
        int result = TQmHiscores::kRequestRunning;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (result == TQmHiscores::kRequestRunning && std::chrono::steady_clock::now() < end) {
            result = mClient->PollReply(buffer, sizeof buffer, ranked);
            if (result == TQmHiscores::kRequestRunning) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (message) *message = buffer;
        return result;
    }

    // Answers the next request with the body, and the parameters it was sent with.
    Params Exchange(const std::function<void()>& request, const std::string& body = "<hiscore/>") {
        mTransport->Script({http::Outcome::kComplete, 0, body});
        const size_t before = mTransport->Requests().size();
        request();
        Poll();
        const std::vector<http::Request> requests = mTransport->Requests();
        return requests.size() > before ? QueryOf(requests.back().url) : Params{};
    }

    // Expects entry `index` of the last list read to hold these values.
    void ExpectScoreEntry(bool local, int index, int rank, int score, const char* name, const char* data) {
        SCOPED_TRACE(index);
        int readRank = 0, readScore = 0;
        char readName[64], readData[64];
        ASSERT_TRUE(mClient->GetScoreEntry(local, index, &readRank, readName, sizeof readName, nullptr, &readScore,
                                           readData, sizeof readData));
        EXPECT_EQ(readRank, rank);
        EXPECT_EQ(readScore, score);
        EXPECT_STREQ(readName, name);
        EXPECT_STREQ(readData, data);
    }

    std::string Decrypt(const std::string& text) {
        TCryptCodec codec(kHiscoreKey);
        return codec.DecryptString(text.c_str()).c_str();
    }

    TestLog mLog;
    TempFolder mRoot;
    std::filesystem::path mOldFolder;
    std::shared_ptr<http::RecordingTransport> mTransport = std::make_shared<http::RecordingTransport>();
    std::unique_ptr<TQmHiscores> mClient;
};
