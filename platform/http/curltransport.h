// The transport on libcurl: one easy handle per request, the agent "davor",
// up to 10 redirects between http and https, proxies from the environment.
// A server's certificate chain is always checked; a request may only let
// the certificate's name differ from the host's.
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
    // caFile: a PEM file of the authorities to trust in place of the
    // system's; empty for the system's.
    CurlTransport(const Timeouts& timeouts, std::string caFile);

    Result Perform(const Request& request, const Sink& sink, const std::atomic<bool>& abort) override;

private:
    Timeouts mTimeouts;
    std::string mCaFile;
};

// The address with every byte libcurl refuses in a URL (controls, blanks and
// bytes above 126) written as "%XX".
std::string EncodeUrlBytes(const std::string& url);

}  // namespace http
