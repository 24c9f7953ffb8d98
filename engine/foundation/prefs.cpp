#include "foundation/prefs.h"

#include <cstdlib>
#include <cstring>

#include "foundation/byteorder.h"
#include "foundation/debuglog.h"
#include "foundation/readfile.h"
#include "foundation/settings.h"
#include "foundation/xmlnode.h"

namespace {

const char kPrefsFile[] = "user:prefs.dat";
const char kInstallFile[] = "install.txt";
const char kUnknownInstall[] = "unknown";

// File blocks: a 4-byte tag, a 4-byte little-endian length, the payload.
const size_t kBlockHeader = 8;
const uint32_t kMaxBlock = 4194304;
// Largest plaintext whose encrypted form (1 to 8 bytes of padding) fits a block.
const int64_t kMaxPlain = kMaxBlock - 1;
const size_t kMaxTableIndex = 1024;
const int kMaxUser = static_cast<int>(kMaxTableIndex) - 1;
const int kMaxKeyLength = 65534;

void AppendU16LE(std::vector<uint8_t>& out, size_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

TString Lower(TString text) {
    text.ToLower();
    return text;
}

// Bytes up to the first zero, never past their end.
TString TextOf(const uint8_t* bytes, size_t size) {
    if (size == 0) {
        return TString();
    }
    const void* zero = std::memchr(bytes, 0, size);
    size_t length = zero ? static_cast<const uint8_t*>(zero) - bytes : size;
    return TString(reinterpret_cast<const char*>(bytes), static_cast<int>(length));
}

TString TextOf(const std::vector<uint8_t>& bytes) {
    return TextOf(bytes.data(), bytes.size());
}

// Text with its terminating zero, as stored in the tables and key blocks.
std::vector<uint8_t> BytesWithZero(const TString& text) {
    const char* begin = text.c_str();
    return std::vector<uint8_t>(begin, begin + text.Length() + 1);
}

// Each signed byte, sign-extended, XORed in at a shift of (i mod 4) bytes.
uint32_t LegacyChecksum(const TString& text) {
    uint32_t sum = 0;
    const char* bytes = text.c_str();
    const int length = text.Length();
    for (int i = 0; i < length; ++i) {
        int32_t byte = static_cast<signed char>(bytes[i]);
        sum ^= static_cast<uint32_t>(byte) << ((i % 4) * 8);
    }
    return sum;
}

enum class TBlockState {
    kEnd,      // no bytes left
    kBroken,   // a header or length that cannot be followed to the next block
    kDamaged,  // a payload that does not decrypt; the next block can still be read
    kGood,
};

// Walks the blocks of a prefs file, decrypting every payload but that of "USER".
class TBlockReader {
public:
    TBlockReader(const std::string& contents, TCryptCodec& codec) : mContents(contents), mCodec(codec) {}

    TBlockState Next(char& kind, std::vector<uint8_t>& payload) {
        size_t left = mContents.size() - mAt;
        if (left == 0) {
            return TBlockState::kEnd;
        }
        if (left < kBlockHeader) {
            return TBlockState::kBroken;
        }
        mBlockStart = mAt;
        const uint8_t* block = reinterpret_cast<const uint8_t*>(mContents.data()) + mAt;
        uint32_t length = ReadU32LE(block + 4);
        if (length == 0 || length > kMaxBlock || left - kBlockHeader < length) {
            return TBlockState::kBroken;
        }
        kind = static_cast<char>(block[0]);
        payload.assign(block + kBlockHeader, block + kBlockHeader + length);
        mAt += kBlockHeader + length;
        return kind == 'U' || Decrypt(payload) ? TBlockState::kGood : TBlockState::kDamaged;
    }

    // Where the block last read began.
    size_t BlockStart() const { return mBlockStart; }

private:
    bool Decrypt(std::vector<uint8_t>& bytes) {
        std::vector<uint8_t> plain(bytes.size());
        int size = static_cast<int>(bytes.size());
        if (mCodec.Decrypt(bytes.data(), size, plain.data(), size, false) != 0) {
            return false;
        }
        plain.resize(mCodec.GetLastLength());
        bytes.swap(plain);
        return !bytes.empty();
    }

    const std::string& mContents;
    TCryptCodec& mCodec;
    size_t mAt = 0;
    size_t mBlockStart = 0;
};

}  // namespace

TPrefs::TPrefs(bool saveEnabled)
    : mCodec(GetSetting(kSettingEncryptionKey, "")),
      mEncryptionKey(GetSetting(kSettingEncryptionKey, "")),
      mFile(kPrefsFile, "TPrefs::Save"),
      mInstallKey(Lower(GetSetting(kSettingInstallKey, ""))),
      mSaveEnabled(saveEnabled) {
    if (mEncryptionKey.Length() == 0) {
        DebugLog("ERROR: No encryption key set before TPrefs construction!");
    }
    if (mInstallKey.Length() == 0) {
        mInstallKey = kUnknownInstall;
    }
    Init();
}

TPrefs::~TPrefs() {
    Save();
}

void TPrefs::UsePartition(const TString& key) {
    mCurrent = &mPartitions[key];
}

void TPrefs::Init() {
    std::string installText;
    bool keyFromFile = false;
    if (ReadWholeFile(kInstallFile, installText)) {
        TString text(installText.c_str());
        if (installText.empty()) {
            keyFromFile = true;
        } else if (text.Length() >= kMaxPlain) {
            DebugLog("ERROR: TPrefs: %s is too long to be an installation key", kInstallFile);
        } else if (text.Length() > 0) {
            mInstallKey = Lower(text);
        }
    }
    UsePartition(mInstallKey);

    std::string contents;
    if (!ReadWholeFile(mFile.GetName(), contents)) {
        return;
    }
    if (contents.size() >= 2 && contents[0] == '<' && contents[1] == '>') {
        LoadLegacy(contents, keyFromFile);
        Save();
        return;
    }
    if (!LoadBlocks(contents, keyFromFile)) {
        mFile.HoldDamaged(std::move(contents));
    }
}

// Where a block is damaged but its length is sound, only that block is
// lost: pairs that may belong to a lost "USER" or "IKEY" block are skipped
// up to the next sound one, rather than filed under another user.
bool TPrefs::LoadBlocks(const std::string& contents, bool keyFromFile) {
    TBlockReader reader(contents, mCodec);
    char kind = 0;
    std::vector<uint8_t> payload;
    const TBlockState first = reader.Next(kind, payload);
    if (first == TBlockState::kEnd) {
        return true;
    }
    if (first != TBlockState::kGood || kind != 'I') {
        DebugLog("ERROR: TPrefs: %s does not begin with an installation key; nothing loaded", mFile.GetName().c_str());
        return false;
    }
    TString partition = Lower(TextOf(payload));
    if (keyFromFile) {
        mInstallKey = partition;
        UsePartition(partition);
    }
    TTableSet* set = &mPartitions[partition];
    size_t table = 0;
    bool tableKnown = true;
    int skipped = 0;
    auto skip = [&](const char* why) {
        const size_t start = reader.BlockStart();
        DebugLog("ERROR: TPrefs: skipped block \"%.4s\" at offset %zu of %s: %s", contents.data() + start, start,
                 mFile.GetName().c_str(), why);
        ++skipped;
    };
    for (;;) {
        const TBlockState state = reader.Next(kind, payload);
        if (state == TBlockState::kEnd) {
            break;
        }
        if (state == TBlockState::kBroken) {
            DebugLog("ERROR: TPrefs: %s is cut short or has a bad block length; the rest is lost", mFile.GetName().c_str());
            return false;
        }
        if (state == TBlockState::kDamaged) {
            skip("it does not decrypt");
            if (kind == 'I') {
                set = nullptr;
            }
            tableKnown = tableKnown && kind == 'K';
        } else if (kind == 'I') {
            set = &mPartitions[Lower(TextOf(payload))];
        } else if (kind == 'U') {
            tableKnown = payload.size() >= 2 && ReadU16LE(payload.data()) <= kMaxTableIndex;
            if (!tableKnown) {
                skip("bad user index");
                continue;
            }
            table = ReadU16LE(payload.data());
            if (set && set->size() <= table) {
                set->resize(table + 1);
            }
        } else if (kind == 'K') {
            size_t keySize = payload.size() >= 2 ? ReadU16LE(payload.data()) : 0;
            if (payload.size() < keySize + 2 || !set || !tableKnown || table >= set->size()) {
                skip("no table for the pair, or the pair is cut short");
                continue;
            }
            TString key = TextOf(payload.data() + 2, keySize);
            (*set)[table][key].assign(payload.begin() + 2 + keySize, payload.end());
        } else {
            skip("unknown block");
            tableKnown = false;
        }
    }
    return skipped == 0;
}

void TPrefs::LoadLegacy(const std::string& contents, bool keyFromFile) {
    TXmlNode file;
    file.ParseString(contents.c_str(), static_cast<int>(contents.size()));
    TXmlNode inner;
    TXmlNode* document = &file;
    if (mEncryptionKey.Length() > 0) {
        // The encrypted inner document and its checksum; empty tables when they disagree.
        document = &inner;
        TXmlNode* data = file.FindChild("data1");
        TXmlNode* checksum = file.FindChild("data2");
        if (data && checksum) {
            TString text = mCodec.DecryptString(data->GetAttribute("data"));
            uint32_t expected = static_cast<uint32_t>(std::strtoll(checksum->GetAttribute("data").c_str(), nullptr, 10));
            if (LegacyChecksum(text) == expected) {
                inner.ParseString(text.c_str());
            }
        }
    }
    if (keyFromFile) {
        if (TXmlNode* install = document->FindChild("install")) {
            mInstallKey = Lower(install->GetAttribute("qminstallkey"));
        }
    }
    ReadLegacyDocument(*document);
    UsePartition(mInstallKey);
}

// Each "install" element is a partition; its children are the tables in
// order, and each attribute of a table is one text entry.
void TPrefs::ReadLegacyDocument(TXmlNode& document) {
    TString name;
    TXmlNode* install = nullptr;
    document.ResetChildIterator();
    while (document.NextChild(name, install)) {
        if (!(name == TString("install"))) {
            continue;
        }
        TTableSet set;
        TXmlNode* table = nullptr;
        install->ResetChildIterator();
        while (install->NextChild(name, table)) {
            const int user = static_cast<int>(set.size()) + kGlobal;
            if (user > kMaxUser) {
                DebugLog("ERROR: TPrefs: legacy file has more tables than can be saved; the rest are dropped");
                break;
            }
            TTable& entries = set.emplace_back();
            TString key;
            TString value;
            table->ResetAttributeIterator();
            while (table->NextAttribute(key, value)) {
                std::vector<uint8_t> bytes = BytesWithZero(value);
                if (Storable("legacy", user, key, static_cast<int64_t>(bytes.size()))) {
                    entries[key] = std::move(bytes);
                }
            }
        }
        mPartitions[Lower(install->GetAttribute("qminstallkey"))] = std::move(set);
    }
}

// Whether the file can hold this value and read it back.
bool TPrefs::Storable(const char* caller, int user, const TString& key, int64_t length) {
    if (user < kGlobal || user > kMaxUser) {
        DebugLog("ERROR: TPrefs::%s: user %d out of range for key %s", caller, user, key.c_str());
        return false;
    }
    if (key.Length() > kMaxKeyLength) {
        DebugLog("ERROR: TPrefs::%s: key of %d bytes is too long", caller, key.Length());
        return false;
    }
    // The stored pair is the key length, the key with its zero and the value.
    if (length < 0 || 2 + key.Length() + 1 + length > kMaxPlain) {
        DebugLog("ERROR: TPrefs::%s: value of %lld bytes for key %s does not fit", caller,
                 static_cast<long long>(length), key.c_str());
        return false;
    }
    return true;
}

const TPrefs::TTable* TPrefs::FindTable(int user) const {
    if (user < kGlobal || static_cast<size_t>(user + 1) >= mCurrent->size()) {
        return nullptr;
    }
    return &(*mCurrent)[user + 1];
}

TString TPrefs::GetString(int user, const TString& key, const TString& fallback) const {
    const TTable* table = FindTable(user);
    if (!table) {
        return fallback;
    }
    auto found = table->find(key);
    return found == table->end() ? fallback : TextOf(found->second);
}

int TPrefs::GetInt(int user, const TString& key, int fallback) const {
    return GetString(user, key, TString::Format("%d", fallback)).ToInt();
}

int TPrefs::GetData(int user, const TString& key, void* buffer, int size) const {
    const TTable* table = FindTable(user);
    if (!table) {
        return -1;
    }
    auto found = table->find(key);
    if (found == table->end()) {
        return -1;
    }
    const std::vector<uint8_t>& value = found->second;
    int length = static_cast<int>(value.size());
    if (!buffer || size < length) {
        return length;
    }
    if (length > 0) {
        std::memcpy(buffer, value.data(), value.size());
    }
    return 0;
}

bool TPrefs::SetString(int user, const TString& key, const TString& value, bool saveNow) {
    return SetData(user, key, value.c_str(), value.Length() + 1, saveNow);
}

bool TPrefs::SetInt(int user, const TString& key, int value, bool saveNow) {
    return SetString(user, key, TString::Format("%d", value), saveNow);
}

bool TPrefs::SetData(int user, const TString& key, const void* bytes, int length, bool saveNow) {
    if (!bytes && length > 0) {
        DebugLog("ERROR: TPrefs::SetData: no bytes given for key %s", key.c_str());
        return false;
    }
    if (!Storable("SetData", user, key, length)) {
        return false;
    }
    if (mCurrent->size() < static_cast<size_t>(user + 2)) {
        mCurrent->resize(user + 2);
    }
    const uint8_t* begin = static_cast<const uint8_t*>(bytes);
    (*mCurrent)[user + 1][key].assign(begin, begin + length);
    return !saveNow || Save();
}

int TPrefs::GetNumUsers() const {
    return mCurrent->empty() ? 0 : static_cast<int>(mCurrent->size()) - 1;
}

void TPrefs::RemoveUser(int user) {
    if (user >= 0 && user < GetNumUsers()) {
        mCurrent->erase(mCurrent->begin() + user + 1);
    }
}

std::vector<uint8_t> TPrefs::Encrypt(const std::vector<uint8_t>& plain) {
    // The cipher pads to the next multiple of 8, adding a whole block when already there.
    std::vector<uint8_t> out(plain.size() / 8 * 8 + 8);
    int size = static_cast<int>(out.size());
    mCodec.Encrypt(plain.data(), static_cast<int>(plain.size()), out.data(), size, false);
    out.resize(mCodec.GetLastLength());
    return out;
}

void TPrefs::AppendBlock(std::string& out, const char* tag, const std::vector<uint8_t>& payload) {
    uint32_t length = static_cast<uint32_t>(payload.size());
    out.append(tag, 4);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(length >> shift));
    }
    if (!payload.empty()) {
        out.append(reinterpret_cast<const char*>(payload.data()), payload.size());
    }
}

void TPrefs::AppendKeyBlock(std::string& out, const TString& key) {
    AppendBlock(out, "IKEY", Encrypt(BytesWithZero(key)));
}

bool TPrefs::Save() {
    if (!mSaveEnabled) {
        return true;
    }
    std::string out;
    AppendKeyBlock(out, mInstallKey);
    for (const auto& [partition, set] : mPartitions) {
        AppendKeyBlock(out, partition);
        for (size_t index = 0; index < set.size(); ++index) {
            std::vector<uint8_t> user;
            AppendU16LE(user, index);
            AppendBlock(out, "USER", user);
            for (const auto& [key, value] : set[index]) {
                std::vector<uint8_t> pair;
                AppendU16LE(pair, key.Length() + 1);
                std::vector<uint8_t> keyBytes = BytesWithZero(key);
                pair.insert(pair.end(), keyBytes.begin(), keyBytes.end());
                pair.insert(pair.end(), value.begin(), value.end());
                AppendBlock(out, "KVPR", Encrypt(pair));
            }
        }
    }
    return mFile.Save(out.data(), out.size());
}
