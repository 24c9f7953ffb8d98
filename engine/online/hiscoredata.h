// The hiscore client's saved data: remembered logins, a local score table per
// game mode and the players' medals, kept encrypted in "user:hiscore.dat".
#pragma once

#include <map>
#include <string>
#include <vector>

#include "foundation/cryptcodec.h"
#include "foundation/tstring.h"
#include "foundation/userfile.h"

struct THiscoreRow {
    int rank = 0;
    int score = 0;
    TString name;       // the player
    TString gameData;
    TString serverData; // the medals text given when a local row was added
    TString version;
    TString guid;
    bool valid = true;
    bool submitted = false;
};

struct THiscoreTable {
    TString mode;
    std::vector<THiscoreRow> rows; // best first
};

struct THiscoreLogin {
    TString player;
    TString account;
    TString password;
};

struct THiscoreMedal {
    TString medalName;
    TString type;
    TString mode;
    TString gameData;
    bool submitted = false;
};

class THiscoreData {
public:
    static constexpr int kMaxRows = 500;

    explicit THiscoreData(const TString& encryptionKey);
    THiscoreData(const THiscoreData&) = delete;
    THiscoreData& operator=(const THiscoreData&) = delete;

    // Replaces the data with that of "user:hiscore.dat"; a missing, short,
    // oversized or damaged file leaves it empty.
    void Load();
    // Replaces the data with that of the file's bytes. Damaged bytes are
    // kept, to be set aside as "hiscore.dat.bad" by the next save.
    void Read(const std::string& bytes);
    // Writes the whole file through a temporary file; false (logged) on failure.
    bool Save();
    // The plain text that Save encrypts.
    std::string WriteToString() const;

    // Adds the player's score to the mode's table, made when missing, and
    // saves. With replaceLower a player's row is replaced only by a higher
    // score. A full table drops a score below all its rows.
    bool AddLocalScore(const TString& mode, const TString& player, int score, bool replaceLower,
                       const TString& gameData, const TString& medals);

    std::map<TString, THiscoreTable>& Tables() { return mTables; }
    std::map<TString, THiscoreLogin>& Logins() { return mLogins; }
    std::map<TString, std::vector<THiscoreMedal>>& Medals() { return mMedals; }
    const std::map<TString, THiscoreTable>& Tables() const { return mTables; }
    const std::map<TString, THiscoreLogin>& Logins() const { return mLogins; }
    const std::map<TString, std::vector<THiscoreMedal>>& Medals() const { return mMedals; }

private:
    void Clear();
    void Parse(const std::string& text);

    TCryptCodec mCodec;
    TUserFile mFile;
    std::map<TString, THiscoreTable> mTables;
    std::map<TString, THiscoreLogin> mLogins;
    std::map<TString, std::vector<THiscoreMedal>> mMedals;
};
