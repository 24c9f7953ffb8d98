#include "runtime/textinput.h"

#include <string_view>
#include <vector>

#include "platform/window/textcodec.h"

namespace {

bool IsControl(uint32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

}  // namespace

void TTextInput::QueueText(const char* utf8) {
    std::string_view text(utf8);
    // Never more code points than bytes.
    std::vector<uint32_t> codePoints(text.size());
    size_t count = window::DecodeUtf8(text, codePoints.data(), codePoints.size());
    for (size_t i = 0; i < count; ++i) {
        if (!IsControl(codePoints[i])) mCodes.push_back(codePoints[i]);
    }
}

bool TTextInput::Next(TPlatformEvent& event) {
    if (mCodes.empty()) return false;
    uint32_t codePoint = mCodes.front();
    mCodes.pop_front();
    event = TPlatformEvent{};
    if (mUtf8Mode) {
        event.type = TPlatformEvent::kWideChar;
        event.param = static_cast<int32_t>(codePoint);
        return true;
    }
    int byte = window::CodePointToWindows1252(codePoint);
    if (byte >= 0) {
        event.type = TPlatformEvent::kChar;
        event.param = byte;
    }
    return true;
}
