// A small HTTP client that never blocks its caller: each request runs on a
// worker thread of its own while the main thread polls GetStatus once a frame.
#pragma once

#include <memory>

#include "foundation/tstring.h"

namespace http {
class Transport;
}

struct HttpRequestState;

class TSimpleHttp {
public:
    // Requests go through libcurl.
    TSimpleHttp();
    explicit TSimpleHttp(std::shared_ptr<http::Transport> transport);
    // Releases the current request without waiting for it.
    virtual ~TSimpleHttp();
    TSimpleHttp(const TSimpleHttp&) = delete;
    TSimpleHttp& operator=(const TSimpleHttp&) = delete;

    // Starts building a request; releases the current one. With an output
    // path (a disk path) the reply is written there instead of being kept.
    // With post set the parameters form the body, else the URL's query.
    void BeginRequest(const char* address, const char* outputPath, bool post);
    void AddParam(const char* name, const char* value);
    void AddParamInt(const char* name, int value);
    // Option bits: 1 no cache write (nothing is cached here), 2 accept a
    // certificate made out to another host name.
    void Send(int options);

    // 0 running, 1 complete, 2 failed or no request, 3 the output file
    // could not be opened.
    int GetStatus() const;
    // The reply text once complete, else null; valid until the request is released.
    const char* GetData() const;

private:
    void Release();

    std::shared_ptr<http::Transport> mTransport;
    TString mAddress;
    TString mOutputPath;
    TString mBody;
    bool mFirstParam = true;
    bool mPost = false;
    std::shared_ptr<HttpRequestState> mRequest;
};
