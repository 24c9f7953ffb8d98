// A stand-in local hiscore server for tests: keeps score tables and ranked
// scores in memory and answers in the service's reply format. The game id
// "fail" makes every request fail; "noreply" reports replies it never gives.
// Built without the optional functions when STUB_WITHOUT_OPTIONAL is defined,
// and without "HiscoreServer_SubmitMedals" when STUB_WITHOUT_MEDALS is.
#include <map>
#include <string>
#include <vector>

#include "online/hiscoreserverapi.h"
#include "tests/online/stub/qmservletstub.h"

namespace {

struct Entry {
    std::string name;
    std::string account;
    std::string data;
    std::string version;
    std::string guid;
    int score = 0;
};

struct Server {
    std::vector<std::pair<std::string, std::string>> tables; // id, name
    std::map<std::string, std::vector<Entry>> scores;       // by mode, best first
    std::string reply;
    bool requested = false;
    bool failing = false;
    bool silent = false;
    int polls = 0;
};

std::string gCalls;

std::string Text(const char* text) {
    return text ? text : "null";
}

void Record(const std::string& function, const std::vector<std::string>& arguments) {
    gCalls += function + "(";
    for (size_t i = 0; i < arguments.size(); ++i) {
        gCalls += (i ? "," : "") + arguments[i];
    }
    gCalls += ")\n";
}

#ifndef STUB_WITHOUT_OPTIONAL
std::string List(const char* const* texts, int count) {
    if (!texts) {
        return "null";
    }
    std::string list = "[";
    for (int i = 0; i < count; ++i) {
        if (i) list += '|';
        list += Text(texts[i]);
    }
    return list + "]";
}
#endif

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + Escape(value) + "\"";
}

void Answer(void* handle, const char* gameId, const std::string& body) {
    Server& server = *static_cast<Server*>(handle);
    server.requested = true;
    server.polls = 0;
    const std::string game = Text(gameId);
    server.failing = game == "fail";
    server.silent = game == "noreply";
    server.reply = "<?xml version=\"1.0\"?>\n<hiscore>" + body + "</hiscore>";
}

// Equal scores share a rank; any other row's rank is its position.
std::vector<int> Ranks(const std::vector<Entry>& entries) {
    std::vector<int> ranks;
    for (size_t i = 0; i < entries.size(); ++i) {
        const bool tied = i > 0 && entries[i].score == entries[i - 1].score;
        ranks.push_back(tied ? ranks.back() : static_cast<int>(i + 1));
    }
    return ranks;
}

}  // namespace

extern "C" {

const char* HiscoreServerStub_Calls(void) {
    return gCalls.c_str();
}

void HiscoreServerStub_ClearCalls(void) {
    gCalls.clear();
}

void* HiscoreServer_CreateLocalServer(void) {
    Record("CreateLocalServer", {});
    return new Server;
}

void HiscoreServer_FreeLocalServer(void* server) {
    Record("FreeLocalServer", {});
    delete static_cast<Server*>(server);
}

#ifndef STUB_WITHOUT_OPTIONAL
void HiscoreServer_LoadServerDefFile(void* server) {
    Record("LoadServerDefFile", {});
    static_cast<Server*>(server)->tables = {{"alltime", "All Time"}, {"weekly", "This Week"}};
}

void HiscoreServer_SetServerInfo(void* server, const char* gameId, const char* encryptionKey,
                                 const char* const* modeNames, int modeCount, const char* const* medalNames,
                                 int medalCount) {
    Record("SetServerInfo", {Text(gameId), Text(encryptionKey), List(modeNames, modeCount), std::to_string(modeCount),
                             List(medalNames, medalCount), std::to_string(medalCount)});
    auto& tables = static_cast<Server*>(server)->tables;
    tables.clear();
    for (int i = 0; i < modeCount; ++i) {
        tables.emplace_back("table" + std::to_string(i + 1), Text(modeNames[i]));
    }
}
#endif

int HiscoreServer_GetStatus(void* handle) {
    Server& server = *static_cast<Server*>(handle);
    if (!server.requested) {
        return 2;
    }
    if (server.failing) {
        return 3;
    }
    return server.polls++ == 0 ? 0 : 1;
}

const char* HiscoreServer_GetContents(void* handle) {
    Server& server = *static_cast<Server*>(handle);
    return server.silent ? nullptr : server.reply.c_str();
}

void HiscoreServer_RequestCategoryInformation(void* handle, const char* gameId) {
    Record("RequestCategoryInformation", {Text(gameId)});
    std::string body = "<tables>";
    for (const auto& [id, name] : static_cast<Server*>(handle)->tables) {
        body += "<table" + Attribute("table", id) + Attribute("name", name) + "/>";
    }
    Answer(handle, gameId, body + "</tables>");
}

void HiscoreServer_RequestScores(void* handle, const char* gameId, const char* gameMode, const char* tableId,
                                 const char* accountName) {
    Record("RequestScores", {Text(gameId), Text(gameMode), Text(tableId), Text(accountName)});
    const std::vector<Entry>& entries = static_cast<Server*>(handle)->scores[Text(gameMode)];
    const std::vector<int> ranks = Ranks(entries);
    std::string body = "<scores>";
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        body += "<score" + Attribute("name", entry.name) + Attribute("data", entry.data) +
                Attribute("ver", entry.version) + Attribute("guid", entry.guid) +
                Attribute("anonymous", entry.account.empty() ? "true" : "false") +
                Attribute("score", std::to_string(entry.score)) + Attribute("rank", std::to_string(ranks[i]));
        if (accountName && !entry.account.empty() && entry.account == accountName) {
            body += Attribute("account", "true");
        }
        body += "/>";
    }
    Answer(handle, gameId, body + "</scores>");
}

void HiscoreServer_SubmitScore(void* handle, const char* gameId, const char* gameMode, const char* accountName,
                               const char* password, const char* guid, const char* version, const char* gameData,
                               int score, const char* encryptionKey, const char* medals) {
    Record("SubmitScore", {Text(gameId), Text(gameMode), Text(accountName), Text(password), Text(guid),
                           Text(version), Text(gameData), std::to_string(score), Text(encryptionKey), Text(medals)});
    Entry entry;
    const bool signedIn = password && *password && accountName;
    entry.account = signedIn ? accountName : "";
    entry.name = accountName ? accountName : "";
    entry.data = Text(gameData);
    entry.version = Text(version);
    entry.guid = Text(guid);
    entry.score = score;
    std::vector<Entry>& entries = static_cast<Server*>(handle)->scores[Text(gameMode)];
    size_t at = 0;
    while (at < entries.size() && entries[at].score >= score) {
        ++at;
    }
    entries.insert(entries.begin() + static_cast<long>(at), entry);
    const int rank = Ranks(entries)[at];
    Answer(handle, gameId, "<score" + Attribute("rank", std::to_string(rank)) + "/>");
}

#ifndef STUB_WITHOUT_MEDALS
void HiscoreServer_SubmitMedals(void* handle, const char* gameId, const char* gameMode, const char* accountName,
                                const char* password, const char* medals, const char* encryptionKey) {
    Record("SubmitMedals",
           {Text(gameId), Text(gameMode), Text(accountName), Text(password), Text(medals), Text(encryptionKey)});
    Answer(handle, gameId, "<medals/>");
}
#endif
}
