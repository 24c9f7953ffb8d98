#include "online/httprequeststate.h"

#include <cstdio>

#include "foundation/debuglog.h"
#include "platform/http/transport.h"

namespace {

const char kPragmaNoCache[] = "Pragma: no-cache";
const char kFormContentType[] = "Content-Type: application/x-www-form-urlencoded";

bool IsHttps(const std::string& address) {
    return address.compare(0, 6, "https:") == 0;
}

http::Request BuildRequest(const HttpRequestState& state) {
    http::Request request;
    request.url = state.address;
    request.method = state.post ? "POST" : "GET";
    request.checkHostName = (state.options & HttpRequestState::kOptionIgnoreHostName) == 0;
    if (IsHttps(state.address) || state.post) {
        request.headers.push_back(kPragmaNoCache);
    }
    if (state.post) {
        request.headers.push_back(kFormContentType);
        request.body = state.body;
    }
    return request;
}

// Which of the three connection paths the request takes, as its log line names it.
const char* ConnectionKind(const HttpRequestState& state) {
    if (IsHttps(state.address)) {
        return "HTTPS";
    }
    return state.post ? "POST" : "InternetOpenUrl";
}

// Where the reply goes: the output file, or the state's reply text up to its cap.
class ReplyWriter {
public:
    explicit ReplyWriter(HttpRequestState& state) : mState(state) {}
    ~ReplyWriter() { Close(); }
    ReplyWriter(const ReplyWriter&) = delete;
    ReplyWriter& operator=(const ReplyWriter&) = delete;

    bool Open() {
        if (mState.outputPath.empty()) {
            return true;
        }
        mFile = std::fopen(mState.outputPath.c_str(), "wb");
        if (!mFile) {
            DebugLog("ERROR: TSimpleHttp: cannot open %s for the reply", mState.outputPath.c_str());
        }
        return mFile != nullptr;
    }

    bool Put(const char* data, size_t size) {
        if (mFile) {
            mFailed = std::fwrite(data, 1, size, mFile) != size;
        } else {
            mFailed = size > HttpRequestState::kMaxReplyBytes - mState.reply.size();
            if (!mFailed) {
                mState.reply.append(data, size);
            }
        }
        return !mFailed;
    }

    // False when the file could not be written whole.
    bool Close() {
        if (mFile && std::fclose(mFile) != 0) {
            mFailed = true;
        }
        mFile = nullptr;
        return !mFailed;
    }

    void LogFailure() const {
        if (!mState.outputPath.empty()) {
            DebugLog("ERROR: TSimpleHttp: cannot write the reply to %s", mState.outputPath.c_str());
        } else {
            DebugLog("ERROR: TSimpleHttp: reply larger than %zu bytes dropped", HttpRequestState::kMaxReplyBytes);
        }
    }

private:
    HttpRequestState& mState;
    std::FILE* mFile = nullptr;
    bool mFailed = false;
};

// The status the request ends with; kRunning when it was released first.
int Perform(HttpRequestState& state, http::Transport& transport) {
    ReplyWriter writer(state);
    if (!writer.Open()) {
        return HttpRequestState::kFileError;
    }
    auto sink = [&writer](const char* data, size_t size) { return writer.Put(data, size); };
    const http::Result result = transport.Perform(BuildRequest(state), sink, state.released);
    const bool written = writer.Close();
    switch (result.outcome) {
    case http::Outcome::kComplete:
        if (written) {
            return HttpRequestState::kComplete;
        }
        writer.LogFailure();
        break;
    case http::Outcome::kAborted:
        return HttpRequestState::kRunning;
    case http::Outcome::kConnectFailed:
        DebugLog("Error creating connection (%s) %d", ConnectionKind(state), result.code);
        break;
    case http::Outcome::kSinkRefused:
        writer.LogFailure();
        break;
    case http::Outcome::kTransferFailed:
        DebugLog("ERROR: TSimpleHttp: reply of %s broke off (%d)", state.address.c_str(), result.code);
        break;
    }
    // A failed request keeps no data.
    state.reply.clear();
    state.reply.shrink_to_fit();
    return HttpRequestState::kFailed;
}

}  // namespace

void HttpRequestState::Run(http::Transport& transport) {
    const int result = Perform(*this, transport);
    if (result != kRunning) {
        status.store(result);
    }
    finished.store(true);
}
