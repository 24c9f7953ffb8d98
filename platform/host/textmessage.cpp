#include "platform/host/textmessage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace host {

namespace {

uint32_t LittleEndianWord(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

}  // namespace

bool PostTextMessage(Channel& channel, Handle window, const char* text) {
    const size_t size = std::strlen(text) + 1;
    bool allPosted = true;
    for (size_t at = 0; at < size; at += kTextPieceSize) {
        uint8_t piece[kTextPieceSize] = {};
        std::memcpy(piece, text + at, std::min(kTextPieceSize, size - at));
        allPosted &= channel.Post(window, kUserMessage, LittleEndianWord(piece), LittleEndianWord(piece + 4));
    }
    return allPosted;
}

}  // namespace host
