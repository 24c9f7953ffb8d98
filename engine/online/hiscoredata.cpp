#include "online/hiscoredata.h"

#include <algorithm>

#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "foundation/guid.h"
#include "foundation/settings.h"
#include "foundation/xmlnode.h"
#include "online/hiscorefile.h"

namespace {

const char kFileName[] = "user:hiscore.dat";
const char kDeclaration[] = "<?xml version=\"1.0\"?>\n";
const long kMaxFileBytes = 4 * 1024 * 1024;

void Append(std::string& out, TXmlNode& node) {
    TString text;
    node.WriteToString(text);
    out.append(text.c_str(), static_cast<size_t>(text.Length()));
}

bool IsSet(const TString& flag) {
    return flag == TString("1");
}

THiscoreRow ReadRow(const TXmlNode& node) {
    THiscoreRow row;
    row.rank = node.GetAttribute("rank").ToInt();
    row.score = node.GetAttribute("score").ToInt();
    row.submitted = IsSet(node.GetAttribute("submit"));
    row.guid = node.GetAttribute("guid");
    row.name = node.GetAttribute("name");
    row.gameData = node.GetAttribute("gameData");
    row.serverData = node.GetAttribute("serverData");
    row.version = node.GetAttribute("version");
    return row;
}

THiscoreTable ReadTable(TXmlNode& node) {
    THiscoreTable table;
    table.mode = node.GetAttribute("name");
    TString name;
    TXmlNode* child = nullptr;
    node.ResetChildIterator();
    while (table.rows.size() < THiscoreData::kMaxRows && node.NextChild(name, child)) {
        if (name == TString("row")) {
            table.rows.push_back(ReadRow(*child));
        }
    }
    return table;
}

std::vector<THiscoreMedal> ReadMedals(TXmlNode& node) {
    std::vector<THiscoreMedal> medals;
    TString name;
    TXmlNode* child = nullptr;
    node.ResetChildIterator();
    while (node.NextChild(name, child)) {
        if (name == TString("medal")) {
            THiscoreMedal& medal = medals.emplace_back();
            medal.medalName = child->GetAttribute("medalname");
            medal.type = child->GetAttribute("type");
            medal.mode = child->GetAttribute("mode");
            medal.gameData = child->GetAttribute("gameData");
            medal.submitted = IsSet(child->GetAttribute("submit"));
        }
    }
    return medals;
}

// Where a score goes in rows ordered best first: behind every row at least as high.
size_t InsertPosition(const std::vector<THiscoreRow>& rows, int score) {
    size_t at = 0;
    while (at < rows.size() && rows[at].score >= score) {
        ++at;
    }
    return at;
}

// Equal scores share a rank; any other row's rank is its position.
void Rank(std::vector<THiscoreRow>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const bool tied = i > 0 && rows[i].score == rows[i - 1].score;
        rows[i].rank = tied ? rows[i - 1].rank : static_cast<int>(i + 1);
    }
}

}  // namespace

THiscoreData::THiscoreData(const TString& encryptionKey) : mCodec(encryptionKey), mFile(kFileName, "HiScores") {}

void THiscoreData::Clear() {
    mTables.clear();
    mLogins.clear();
    mMedals.clear();
}

void THiscoreData::Load() {
    Clear();
    TFile file;
    if (!file.Open(kFileName, kFileReadBinary)) {
        return;
    }
    const long size = file.GetSize();
    if (size > kMaxFileBytes) {
        DebugLog("HiScores: Saved score data of %ld bytes is too large! Ignoring it.\n", size);
        return;
    }
    std::string bytes(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    Read(bytes);
}

void THiscoreData::Read(const std::string& bytes) {
    Clear();
    std::string text;
    const THiscoreEnvelope envelope = OpenHiscoreFile(mCodec, bytes, text);
    if (envelope == THiscoreEnvelope::kDamaged) {
        DebugLog("HiScores: Checksum did not match! Ignoring saved score data.\n");
        mFile.HoldDamaged(bytes);
    } else if (envelope == THiscoreEnvelope::kOpened) {
        Parse(text);
    }
}

void THiscoreData::Parse(const std::string& text) {
    TXmlNode document;
    document.ParseString(text.data(), static_cast<int>(text.size()));
    TString name;
    TXmlNode* node = nullptr;
    document.ResetChildIterator();
    while (document.NextChild(name, node)) {
        if (name == TString("user")) {
            const TString player = node->GetAttribute("player");
            mLogins[player] = {player, node->GetAttribute("name"), node->GetAttribute("pass")};
        } else if (name == TString("score")) {
            THiscoreTable table = ReadTable(*node);
            mTables[table.mode] = std::move(table);
        } else if (name == TString("medals")) {
            mMedals[node->GetAttribute("user")] = ReadMedals(*node);
        }
    }
}

std::string THiscoreData::WriteToString() const {
    std::string out = kDeclaration;
    for (const auto& [player, login] : mLogins) {
        TXmlNode node("user");
        node.SetAttribute("player", login.player);
        node.SetAttribute("name", login.account);
        node.SetAttribute("pass", login.password);
        Append(out, node);
    }
    for (const auto& [mode, table] : mTables) {
        TXmlNode node("score");
        node.SetAttribute("name", table.mode);
        for (const THiscoreRow& row : table.rows) {
            TXmlNode* child = node.AddChild("row");
            child->SetAttributeInt("rank", row.rank);
            child->SetAttributeInt("score", row.score);
            child->SetAttributeInt("submit", row.submitted ? 1 : 0);
            child->SetAttribute("guid", row.guid);
            child->SetAttribute("name", row.name);
            child->SetAttribute("gameData", row.gameData);
            child->SetAttribute("serverData", row.serverData);
            child->SetAttribute("version", row.version);
        }
        Append(out, node);
    }
    for (const auto& [player, medals] : mMedals) {
        TXmlNode node("medals");
        node.SetAttribute("user", player);
        for (const THiscoreMedal& medal : medals) {
            TXmlNode* child = node.AddChild("medal");
            child->SetAttribute("medalname", medal.medalName);
            child->SetAttribute("type", medal.type);
            child->SetAttribute("mode", medal.mode);
            child->SetAttribute("gameData", medal.gameData);
            child->SetAttributeInt("submit", medal.submitted ? 1 : 0);
        }
        Append(out, node);
    }
    return out;
}

bool THiscoreData::Save() {
    const std::string bytes = SealHiscoreFile(mCodec, WriteToString());
    return mFile.Save(bytes.data(), bytes.size());
}

bool THiscoreData::AddLocalScore(const TString& mode, const TString& player, int score, bool replaceLower,
                                 const TString& gameData, const TString& medals) {
    THiscoreTable& table = mTables[mode];
    table.mode = mode;
    std::vector<THiscoreRow>& rows = table.rows;
    TString guid;
    if (replaceLower) {
        auto own = std::find_if(rows.begin(), rows.end(), [&](const THiscoreRow& row) { return row.name == player; });
        if (own != rows.end()) {
            if (score <= own->score) {
                return Save();
            }
            guid = own->guid;
            rows.erase(own);
        }
    }
    const size_t at = InsertPosition(rows, score);
    if (at >= static_cast<size_t>(kMaxRows)) {
        return Save();
    }
    THiscoreRow row;
    row.score = score;
    row.name = player;
    row.gameData = gameData;
    row.serverData = medals;
    row.version = GetSetting(kSettingVersion, "");
    row.guid = guid.Length() > 0 ? guid : NewGuidString();
    rows.insert(rows.begin() + static_cast<long>(at), row);
    if (rows.size() > static_cast<size_t>(kMaxRows)) {
        rows.pop_back();
    }
    Rank(rows);
    return Save();
}
