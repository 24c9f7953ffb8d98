// Text sent to a host window as user messages: the text and its NUL cut
// into 8-byte pieces, bytes 0-3 of a piece in wParam and 4-7 in lParam
// (little-endian). The last piece is padded with zeros.
#pragma once

#include <cstddef>

#include "platform/host/channel.h"

namespace host {

constexpr size_t kTextPieceSize = 8;

// Posts every piece in order; false when some piece was dropped.
bool PostTextMessage(Channel& channel, Handle window, const char* text);

}  // namespace host
