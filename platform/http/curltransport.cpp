#include "platform/http/curltransport.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <utility>

namespace http {

namespace {

const char kAgent[] = "davor";
const long kMaxRedirects = 10;
const long kStallBytesPerSecond = 1;

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What the callbacks of one request share.
struct Transfer {
    const Sink& sink;
    const std::atomic<bool>& abort;
    bool responded = false;
    bool sinkRefused = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    Transfer& transfer = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (!transfer.sink(data, bytes)) {
        transfer.sinkRefused = true;
        return 0;
    }
    return bytes;
}

size_t OnHeader(char*, size_t size, size_t count, void* user) {
    static_cast<Transfer*>(user)->responded = true;
    return size * count;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(user)->abort.load() ? 1 : 0;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

class HeaderList {
public:
    HeaderList() = default;
    ~HeaderList() { curl_slist_free_all(mList); }
    HeaderList(const HeaderList&) = delete;
    HeaderList& operator=(const HeaderList&) = delete;

    bool Add(const std::string& line) {
        curl_slist* grown = curl_slist_append(mList, line.c_str());
        if (!grown) {
            return false;
        }
        mList = grown;
        return true;
    }
    curl_slist* Get() const { return mList; }

private:
    curl_slist* mList = nullptr;
};

Result Classify(CURLcode code, const Transfer& transfer) {
    if (code == CURLE_OK) {
        return {Outcome::kComplete, 0};
    }
    Outcome outcome = Outcome::kTransferFailed;
    if (code == CURLE_ABORTED_BY_CALLBACK) {
        outcome = Outcome::kAborted;
    } else if (transfer.sinkRefused) {
        outcome = Outcome::kSinkRefused;
    } else if (!transfer.responded) {
        outcome = Outcome::kConnectFailed;
    }
    return {outcome, static_cast<int>(code)};
}

}  // namespace

std::string EncodeUrlBytes(const std::string& url) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (unsigned char c : url) {
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

CurlTransport::CurlTransport() : CurlTransport(Timeouts{}) {}

CurlTransport::CurlTransport(const Timeouts& timeouts) : CurlTransport(timeouts, std::string()) {}

CurlTransport::CurlTransport(const Timeouts& timeouts, std::string caFile)
    : mTimeouts(timeouts), mCaFile(std::move(caFile)) {
    GlobalInit();
}

Result CurlTransport::Perform(const Request& request, const Sink& sink, const std::atomic<bool>& abort) {
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        return {Outcome::kConnectFailed, static_cast<int>(CURLE_FAILED_INIT)};
    }
    HeaderList headers;
    for (const std::string& line : request.headers) {
        if (!headers.Add(line)) {
            return {Outcome::kConnectFailed, static_cast<int>(CURLE_OUT_OF_MEMORY)};
        }
    }
    Transfer transfer{sink, abort};
    const std::string url = EncodeUrlBytes(request.url);
    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, kAgent);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, mTimeouts.connectSeconds);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, kStallBytesPerSecond);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, mTimeouts.stallSeconds);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, request.checkHostName ? 2L : 0L);
    if (!mCaFile.empty()) {
        curl_easy_setopt(h, CURLOPT_CAINFO, mCaFile.c_str());
    }
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.Get());
    if (request.method == "POST") {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.c_str());
    }
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    return Classify(curl_easy_perform(h), transfer);
}

}  // namespace http
