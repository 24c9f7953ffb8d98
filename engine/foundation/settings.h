// The process-wide table of named text settings.
#pragma once

#include "foundation/tstring.h"

// Names of the settings that the engine reads across its parts.
inline constexpr const char* kSettingCheatCode = "cheatcode";
inline constexpr const char* kSettingCheatMode = "cheatmode";
inline constexpr const char* kSettingComputerId = "computerid";
inline constexpr const char* kSettingFirstPeek = "firstpeek";
inline constexpr const char* kSettingInstallKey = "installkey";
inline constexpr const char* kSettingBuildTag = "buildtag";
inline constexpr const char* kSettingGameName = "gamename";
inline constexpr const char* kSettingPublisher = "publisher";
inline constexpr const char* kSettingVersion = "version";
inline constexpr const char* kSettingEncryptionKey = "encryptionkey";
inline constexpr const char* kSettingHiscoreLocal = "hiscorelocal";
inline constexpr const char* kSettingHiscoreAnon = "hiscoreanon";
inline constexpr const char* kSettingFlashMajorVersion = "flashmajorversion";
inline constexpr const char* kSettingVsync = "vsync";
inline constexpr const char* kSettingMonitorFrequency = "monitorfrequency";
inline constexpr const char* kSettingTextSpriteRender = "textspriterender";
inline constexpr const char* kSettingUtf8Mode = "utf8mode";
inline constexpr const char* kSettingOverlayMouse = "overlaymouse";
inline constexpr const char* kSettingVerboseDebug = "verbosedebug";
inline constexpr const char* kSettingQmGameHandle = "qmgamehandle";
inline constexpr const char* kSettingQmGameModeName = "qmgamemodename";
inline constexpr const char* kSettingQmGameMedalName = "qmgamemedalname";

inline constexpr const char* kSettingsFile = "::assets/settings.xml";

// Stores a value. Setting "encryptionkey" or "cheatcode" re-evaluates
// "cheatmode"; setting "legacylinewrap" switches the legacy line wrap on; then
// the setting-change handler, when there is one, hears of the change.
void SetSetting(TString key, TString value);
// The stored value (even when empty), else fallback. Never inserts.
TString GetSetting(const TString& key, const TString& fallback);
// atoi of the value is non-zero; absent keys read as false.
bool GetSettingBool(const TString& key);
// Empties the table, so that each test starts from no settings.
void ClearSettings();

// Each child element of the top-level "settings" element becomes a setting:
// element name = key, text = value. A missing file or element is silent.
void LoadSettingsFile(const TString& fileName);

// Whether text layout uses the legacy line wrap; once on, it stays on.
bool GetLegacyLineWrap();

// The platform's hook for setting changes; null until the platform exists.
using TSettingChangeHandler = void (*)(const TString& key, const TString& value);
void SetSettingChangeHandler(TSettingChangeHandler handler);
