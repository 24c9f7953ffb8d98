// Player data that survives between runs: a global key/value table and one
// table per user, kept encrypted in "user:prefs.dat". Tables are partitioned
// by installation key, so installations sharing a data folder keep apart.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "foundation/cryptcodec.h"
#include "foundation/tstring.h"
#include "foundation/userfile.h"

class TXmlNode;

class TPrefs {
public:
    // User numbers: -1 is the global table, 0 and up the users.
    static const int kGlobal = -1;

    explicit TPrefs(bool saveEnabled);
    ~TPrefs();
    TPrefs(const TPrefs&) = delete;
    TPrefs& operator=(const TPrefs&) = delete;

    // The value up to its first zero byte, or fallback when absent.
    TString GetString(int user, const TString& key, const TString& fallback) const;
    int GetInt(int user, const TString& key, int fallback) const;
    // -1 when the user or the key has no value; the value's length when no
    // buffer is given or it is too small; else copies the value and returns 0.
    int GetData(int user, const TString& key, void* buffer, int size) const;

    // Setters grow the table set to reach the user and save when saveNow is
    // set. They refuse (false, with a log line) users outside -1..1023, keys
    // longer than 65534 bytes and values too large for one file block.
    bool SetString(int user, const TString& key, const TString& value, bool saveNow);
    bool SetData(int user, const TString& key, const void* bytes, int length, bool saveNow);
    bool SetInt(int user, const TString& key, int value, bool saveNow);

    int GetNumUsers() const;
    // Later users move down by one. Does not save.
    void RemoveUser(int user);

    // Rewrites the file when saving is enabled; false (logged) when writing
    // failed, in which case the old file is kept.
    bool Save();
    // Where a file that loaded with damage was set aside in this run (by the
    // first save); empty when none was.
    const TString& GetDamagedCopyPath() const { return mFile.GetDamagedCopyPath(); }

private:
    using TTable = std::map<TString, std::vector<uint8_t>>;
    using TTableSet = std::vector<TTable>;

    void Init();
    // False when a block was damaged or the data ended inside one.
    bool LoadBlocks(const std::string& contents, bool keyFromFile);
    void LoadLegacy(const std::string& contents, bool keyFromFile);
    void ReadLegacyDocument(TXmlNode& document);
    void UsePartition(const TString& key);
    static bool Storable(const char* caller, int user, const TString& key, int64_t length);
    const TTable* FindTable(int user) const;
    std::vector<uint8_t> Encrypt(const std::vector<uint8_t>& plain);
    static void AppendBlock(std::string& out, const char* tag, const std::vector<uint8_t>& payload);
    void AppendKeyBlock(std::string& out, const TString& key);

    TCryptCodec mCodec;
    std::map<TString, TTableSet> mPartitions;
    TTableSet* mCurrent = nullptr;
    TString mEncryptionKey;
    TUserFile mFile;
    TString mInstallKey;
    bool mSaveEnabled;
};
