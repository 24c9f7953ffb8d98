// A reply of the hiscore service (or of a local server library): XML with the
// root "hiscore", holding a message, a protocol error, the score tables, the
// scores of one table, or the outcome of a submission.
#pragma once

#include <vector>

#include "foundation/tstring.h"
#include "foundation/xmlnode.h"
#include "online/hiscoredata.h"

struct THiscoreCategory {
    TString table; // the id the service knows it by
    TString name;  // shown to the player
};

struct THiscoreReplyRow : THiscoreRow {
    bool anonymous = false;
    bool own = false; // the row of the account the scores were asked for
};

class THiscoreReply {
public:
    // Parses the text; null reads as an empty reply.
    explicit THiscoreReply(const char* text);
    THiscoreReply(const THiscoreReply&) = delete;
    THiscoreReply& operator=(const THiscoreReply&) = delete;

    // Accepts a "hiscore" reply that carries neither a "message" (its text
    // goes to errorText) nor a "protocolError"; each refusal is logged.
    // errorText is emptied first.
    bool Check(TString& errorText) const;

    // The score tables of a "tables" reply; false (logged) without one.
    bool ReadCategories(std::vector<THiscoreCategory>& categories) const;
    // The rows of a "scores" reply and the account's own row (its valid flag
    // clear when there is none); false (logged) without one.
    bool ReadScores(std::vector<THiscoreReplyRow>& rows, THiscoreReplyRow& own) const;

    // Whether the root holds a child of that name.
    bool Holds(const char* name) const;

private:
    TXmlNode mDocument;
    TXmlNode* mRoot = nullptr;
};
