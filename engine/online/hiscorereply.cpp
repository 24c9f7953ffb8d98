#include "online/hiscorereply.h"

#include "foundation/debuglog.h"

namespace {

bool IsTrue(const TString& text) {
    return text == TString("true");
}

THiscoreReplyRow ReadRow(const TXmlNode& node) {
    THiscoreReplyRow row;
    row.name = node.GetAttribute("name");
    row.gameData = node.GetAttribute("data");
    row.serverData = node.GetAttribute("serverData");
    row.version = node.GetAttribute("ver");
    row.guid = node.GetAttribute("guid");
    row.anonymous = IsTrue(node.GetAttribute("anonymous"));
    row.score = node.GetAttribute("score").ToInt();
    row.rank = node.GetAttribute("rank").ToInt();
    row.own = IsTrue(node.GetAttribute("account"));
    // The service lists only scores it has taken.
    row.submitted = true;
    return row;
}

}  // namespace

THiscoreReply::THiscoreReply(const char* text) {
    mDocument.ParseString(text ? text : "");
    mRoot = mDocument.FindChild("hiscore");
}

bool THiscoreReply::Check(TString& errorText) const {
    errorText = TString();
    if (!mRoot) {
        DebugLog("HiScore XML parsing error!\n");
        return false;
    }
    if (TXmlNode* message = mRoot->FindChild("message")) {
        errorText = message->GetText();
        DebugLog("HiScore User Message: %s\n", errorText.c_str());
        return false;
    }
    if (TXmlNode* error = mRoot->FindChild("protocolError")) {
        DebugLog("HiScore Protocol Error: %s\n", error->GetText().c_str());
        return false;
    }
    return true;
}

bool THiscoreReply::ReadCategories(std::vector<THiscoreCategory>& categories) const {
    TXmlNode* tables = mRoot ? mRoot->FindChild("tables") : nullptr;
    if (!tables) {
        DebugLog("HiScore Tables parsed incorrectly\n");
        return false;
    }
    categories.clear();
    TString name;
    TXmlNode* child = nullptr;
    tables->ResetChildIterator();
    while (tables->NextChild(name, child)) {
        if (name == TString("table")) {
            categories.push_back({child->GetAttribute("table"), child->GetAttribute("name")});
        }
    }
    return true;
}

bool THiscoreReply::ReadScores(std::vector<THiscoreReplyRow>& rows, THiscoreReplyRow& own) const {
    TXmlNode* scores = mRoot ? mRoot->FindChild("scores") : nullptr;
    if (!scores) {
        DebugLog("HiScores parsed incorrectly\n");
        return false;
    }
    rows.clear();
    own = THiscoreReplyRow();
    own.valid = false;
    TString name;
    TXmlNode* child = nullptr;
    scores->ResetChildIterator();
    while (scores->NextChild(name, child)) {
        if (name == TString("score")) {
            rows.push_back(ReadRow(*child));
            if (rows.back().own) {
                own = rows.back();
            }
        }
    }
    return true;
}

bool THiscoreReply::Holds(const char* name) const {
    return mRoot && mRoot->FindChild(name);
}
