// A prefs file in the legacy layout: the inner document encrypted and
// armoured in "data1", the checksum of its text in "data2".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/cryptcodec.h"
#include "foundation/tstring.h"
#include "foundation/xmlnode.h"

// A wrong checksum (one off) makes the file a loader must not trust.
inline std::string LegacyPrefsFile(const TString& inner, const char* key, bool rightChecksum = true) {
    int32_t sum = 0;
    for (int i = 0; i < inner.Length(); ++i) {
        sum ^= static_cast<int32_t>(static_cast<uint32_t>(static_cast<signed char>(inner.CharAt(i))) << ((i % 4) * 8));
    }
    TCryptCodec codec(key);
    const uint8_t* plain = reinterpret_cast<const uint8_t*>(inner.c_str());
    int size = codec.Encrypt(plain, inner.Length(), nullptr, 0, true);
    std::vector<uint8_t> armoured(size);
    codec.Encrypt(plain, inner.Length(), armoured.data(), size, true);
    TXmlNode outer;
    outer.AddChild("data1")->SetAttribute("data", reinterpret_cast<const char*>(armoured.data()));
    outer.AddChild("data2")->SetAttributeInt("data", rightChecksum ? sum : sum + 1);
    TString file;
    outer.WriteToString(file);
    return file.c_str();
}
