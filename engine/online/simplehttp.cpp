#include "online/simplehttp.h"

#include <string>
#include <utility>

#include "online/httprequeststate.h"
#include "online/httpworkerregistry.h"
#include "online/urlescape.h"
#include "platform/http/curltransport.h"

TSimpleHttp::TSimpleHttp() : TSimpleHttp(std::make_shared<http::CurlTransport>()) {}

TSimpleHttp::TSimpleHttp(std::shared_ptr<http::Transport> transport) : mTransport(std::move(transport)) {}

TSimpleHttp::~TSimpleHttp() {
    Release();
}

void TSimpleHttp::Release() {
    if (mRequest) {
        mRequest->released.store(true);
        mRequest.reset();
    }
}

void TSimpleHttp::BeginRequest(const char* address, const char* outputPath, bool post) {
    mAddress = address;
    mOutputPath = outputPath;
    mPost = post;
    mBody = TString();
    mFirstParam = true;
    Release();
}

void TSimpleHttp::AddParam(const char* name, const char* value) {
    TString& target = mPost ? mBody : mAddress;
    if (!mFirstParam) {
        target += '&';
    } else if (!mPost) {
        target += '?';
    }
    target += TString(name) + "=" + UrlEscape(value);
    mFirstParam = false;
}

void TSimpleHttp::AddParamInt(const char* name, int value) {
    AddParam(name, TString::Format("%d", value).c_str());
}

void TSimpleHttp::Send(int options) {
    Release();
    auto request = std::make_shared<HttpRequestState>();
    request->address = mAddress.c_str();
    request->outputPath = mOutputPath.c_str();
    request->body = std::string(mBody.c_str(), mBody.Length());
    request->post = mPost;
    request->options = options;
    std::shared_ptr<http::Transport> transport = mTransport;
    auto work = [request, transport] { request->Run(*transport); };
    if (!transport || !THttpWorkerRegistry::Get().Start(request, std::move(work))) {
        request->status.store(HttpRequestState::kFailed);
    }
    mRequest = request;
}

int TSimpleHttp::GetStatus() const {
    return mRequest ? mRequest->status.load() : HttpRequestState::kFailed;
}

const char* TSimpleHttp::GetData() const {
    if (GetStatus() != HttpRequestState::kComplete) {
        return nullptr;
    }
    return mRequest->reply.c_str();
}
