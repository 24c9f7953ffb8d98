// One HTTP request at a time, performed by a back end on the calling thread:
// the reply body is streamed into a sink, and an abort flag that another
// thread may set is polled while the request runs.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace http {

struct Request {
    std::string method = "GET";       // "GET" or "POST"
    std::string url;                  // the whole address, with any query
    std::string body;                 // sent when not empty
    std::vector<std::string> headers; // whole lines, "Name: value"
    bool checkHostName = true;        // false accepts a certificate for another name (its chain is still checked)
};

enum class Outcome {
    kComplete,       // the whole reply went into the sink
    kConnectFailed,  // no reply came: connection, TLS or sending failed
    kTransferFailed, // the reply broke off
    kSinkRefused,    // the sink refused a piece
    kAborted,        // the abort flag was seen
};

struct Result {
    Outcome outcome = Outcome::kComplete;
    int code = 0; // the back end's error number; 0 when complete
};

// Takes one piece of the reply body; false stops the request.
using Sink = std::function<bool(const char* data, size_t size)>;

class Transport {
public:
    virtual ~Transport() = default;
    // May be called from any thread, for several requests at once.
    virtual Result Perform(const Request& request, const Sink& sink, const std::atomic<bool>& abort) = 0;
};

}  // namespace http
