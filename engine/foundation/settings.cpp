#include "foundation/settings.h"

#include "foundation/cryptcodec.h"
#include "foundation/xmlnode.h"

#include <cstdlib>
#include <map>

namespace {

std::map<TString, TString>& Table()
{
    static std::map<TString, TString> table;
    return table;
}

bool gLegacyLineWrap = false;
TSettingChangeHandler gChangeHandler = nullptr;

// The developer cheat code is this machine's id, encrypted with the game's key.
void EvaluateCheatMode()
{
    const TString code = GetSetting(kSettingCheatCode, "");
    const TString key = GetSetting(kSettingEncryptionKey, "");
    if (code.Length() == 0 || key.Length() == 0) {
        return;
    }
    TCryptCodec codec(key);
    const TString decrypted = codec.DecryptString(code);
    // A code that decrypts to nothing must not match a machine without an id.
    const bool match = decrypted.Length() > 0 && decrypted == GetSetting(kSettingComputerId, "");
    Table()[kSettingCheatMode] = match ? "1" : "0";
}

} // namespace

void SetSetting(TString key, TString value)
{
    Table()[key] = value;
    if (key == TString(kSettingEncryptionKey) || key == TString(kSettingCheatCode)) {
        EvaluateCheatMode();
    }
    if (key == TString("legacylinewrap")) {
        gLegacyLineWrap = true;
    }
    if (gChangeHandler != nullptr) {
        gChangeHandler(key, value);
    }
}

TString GetSetting(const TString& key, const TString& fallback)
{
    const auto found = Table().find(key);
    return found != Table().end() ? found->second : fallback;
}

bool GetSettingBool(const TString& key)
{
    return std::atoi(GetSetting(key, "").c_str()) != 0;
}

void ClearSettings()
{
    Table().clear();
}

void LoadSettingsFile(const TString& fileName)
{
    TXmlNode document;
    document.LoadFile(fileName);
    TXmlNode* settings = document.FindChild("settings");
    if (settings == nullptr) {
        return;
    }
    TString name;
    TXmlNode* child = nullptr;
    settings->ResetChildIterator();
    while (settings->NextChild(name, child)) {
        SetSetting(name, child->GetText());
    }
}

bool GetLegacyLineWrap()
{
    return gLegacyLineWrap;
}

void SetSettingChangeHandler(TSettingChangeHandler handler)
{
    gChangeHandler = handler;
}
