#include "game/composition/adaptrecord.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include "foundation/xmlnode.h"

namespace {

// Bits of the kinds that read an attribute.
constexpr unsigned kText = 1u << static_cast<int>(RAdaptKind::kText);
constexpr unsigned kImage = 1u << static_cast<int>(RAdaptKind::kImage);
constexpr unsigned kAnim = 1u << static_cast<int>(RAdaptKind::kAnim);
constexpr unsigned kSound = 1u << static_cast<int>(RAdaptKind::kSound);

struct TAdaptAttribute {
    const char* name;
    unsigned kinds;
    void (*apply)(RAdaptRecord& record, const TString& value);
};

const TAdaptAttribute kAttributes[] = {
    {"x", kText | kImage | kAnim, [](RAdaptRecord& r, const TString& v) { r.x = AdaptInt(v); }},
    {"y", kText | kImage | kAnim, [](RAdaptRecord& r, const TString& v) { r.y = AdaptInt(v); }},
    {"width", kText, [](RAdaptRecord& r, const TString& v) { r.width = AdaptInt(v); }},
    {"height", kText, [](RAdaptRecord& r, const TString& v) { r.height = AdaptInt(v); }},
    {"halign", kText, [](RAdaptRecord& r, const TString& v) { r.horizontalAlign = AdaptHorizontalAlign(v); }},
    {"valign", kText, [](RAdaptRecord& r, const TString& v) { r.verticalAlign = AdaptVerticalAlign(v); }},
    {"label", kText, [](RAdaptRecord& r, const TString& v) { r.label = v; }},
    {"font", kText, [](RAdaptRecord& r, const TString& v) { r.font = v; }},
    {"fontsize", kText, [](RAdaptRecord& r, const TString& v) { r.fontSize = AdaptInt(v); }},
    {"padding", kText, [](RAdaptRecord& r, const TString& v) { r.padding = AdaptInt(v); }},
    {"rotation", kText, [](RAdaptRecord& r, const TString& v) { r.rotation = AdaptFloat(v); }},
    {"alpha", kText | kImage, [](RAdaptRecord& r, const TString& v) { r.alpha = AdaptFloat(v); }},
    {"color", kText, [](RAdaptRecord& r, const TString& v) { r.color = AdaptColor(v); }},
    {"source", kImage | kAnim | kSound, [](RAdaptRecord& r, const TString& v) { r.source = v; }},
    {"scale", kImage, [](RAdaptRecord& r, const TString& v) { r.scale = AdaptFloat(v); }},
    {"loop", kAnim | kSound, [](RAdaptRecord& r, const TString& v) { r.loop = v == TString("1"); }},
    {"delay", kAnim | kSound, [](RAdaptRecord& r, const TString& v) { r.delay = AdaptInt(v); }},
};

bool KindOfElement(const TString& name, RAdaptKind& kind) {
    static const struct {
        const char* name;
        RAdaptKind kind;
    } kElements[] = {{"text", RAdaptKind::kText},
                     {"image", RAdaptKind::kImage},
                     {"anim", RAdaptKind::kAnim},
                     {"sound", RAdaptKind::kSound}};
    for (const auto& element : kElements) {
        if (name == TString(element.name)) {
            kind = element.kind;
            return true;
        }
    }
    return false;
}

void ApplyAttribute(RAdaptRecord& record, const TString& name, const TString& value) {
    const unsigned kindBit = 1u << static_cast<int>(record.kind);
    for (const TAdaptAttribute& attribute : kAttributes) {
        if ((attribute.kinds & kindBit) && name == TString(attribute.name)) {
            attribute.apply(record, value);
            return;
        }
    }
}

RAdaptRecord ReadRecord(RAdaptKind kind, TXmlNode& element) {
    RAdaptRecord record;
    record.kind = kind;
    TString name;
    TString value;
    element.ResetAttributeIterator();
    while (element.NextAttribute(name, value)) ApplyAttribute(record, name, value);
    return record;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::vector<RAdaptRecord> ParseAdaptRecords(TXmlNode& document) {
    std::vector<RAdaptRecord> records;
    TXmlNode* adapt = document.FindChild("adapt");
    if (!adapt) return records;
    TString name;
    TXmlNode* element = nullptr;
    adapt->ResetChildIterator();
    while (adapt->NextChild(name, element)) {
        RAdaptKind kind;
        if (element && KindOfElement(name, kind)) records.push_back(ReadRecord(kind, *element));
    }
    return records;
}

// Like atoi, but a number past the 32-bit range saturates instead of
// being undefined.
int32_t AdaptInt(const TString& text) {
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

float AdaptFloat(const TString& text) {
    return text.ToFloat();
}

int AdaptHorizontalAlign(const TString& text) {
    if (text == TString("0") || text == TString("left")) return 0;
    if (text == TString("2") || text == TString("right")) return 2;
    return 1;
}

int AdaptVerticalAlign(const TString& text) {
    if (text == TString("0") || text == TString("top")) return 0;
    if (text == TString("2") || text == TString("bottom")) return 8;
    return 4;
}

TColor4f AdaptColor(const TString& text) {
    TString digits;
    for (int i = 0; i < text.Length(); ++i) {
        char c = text.CharAt(i);
        if (c == '#') continue;
        digits += (c >= 'a' && c <= 'f') ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
    }
    if (digits.Length() != 6) return TColor4f(0, 0, 0, 0);
    float channels[3];
    for (int i = 0; i < 3; ++i) {
        int high = HexDigit(digits.CharAt(2 * i));
        int low = HexDigit(digits.CharAt(2 * i + 1));
        if (high < 0 || low < 0) return TColor4f(0, 0, 0, 0);
        channels[i] = static_cast<float>(high * 16 + low) / 255.0f;
    }
    return TColor4f(channels[0], channels[1], channels[2], 1.0f);
}
