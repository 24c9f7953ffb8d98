// The transport on libcurl: one easy handle per request, the agent "davor",
// up to 10 redirects between http and https, proxies from the environment.
#pragma once

#include <string>

#include "platform/http/transport.h"

namespace http {

class CurlTransport : public Transport {
public:
    struct Timeouts {
        long connectSeconds = 60;
        // A reply slower than 1 byte/s for this long is given up.
        long stallSeconds = 60;
    };

    // Initialises libcurl on first use; make the first one on the main thread.
    CurlTransport();
    explicit CurlTransport(const Timeouts& timeouts);

    // The certificate chain is never checked: servers with unknown
    // authorities are accepted.
    Result Perform(const Request& request, const Sink& sink, const std::atomic<bool>& abort) override;

private:
    Timeouts mTimeouts;
};

// The address with every byte libcurl refuses in a URL (controls, blanks and
// bytes above 126) written as "%XX".
std::string EncodeUrlBytes(const std::string& url);

}  // namespace http
