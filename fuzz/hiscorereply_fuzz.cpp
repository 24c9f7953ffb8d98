// Feeds arbitrary bytes to the hiscore reply reader as a completed reply:
// the reply check, then the tables and the scores readers, as the client's
// poll does for each kind of request.
#include "online/hiscorereply.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The client keeps the reply as a C string.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const THiscoreReply reply(text.c_str());
    TString errorText;
    reply.Check(errorText);
    std::vector<THiscoreCategory> categories;
    reply.ReadCategories(categories);
    std::vector<THiscoreReplyRow> rows;
    THiscoreReplyRow own;
    reply.ReadScores(rows, own);
    reply.Holds("medals");
    reply.Holds("score");
    return 0;
}
