#include "online/httpworkerregistry.h"

#include <system_error>

#include "foundation/debuglog.h"
#include "online/httprequeststate.h"

THttpWorkerRegistry& THttpWorkerRegistry::Get() {
    static THttpWorkerRegistry registry;
    return registry;
}

THttpWorkerRegistry::~THttpWorkerRegistry() {
    Shutdown();
}

bool THttpWorkerRegistry::Start(const std::shared_ptr<HttpRequestState>& state, std::function<void()> work) {
    std::lock_guard<std::mutex> lock(mMutex);
    JoinFinished();
    // Room first, so that nothing can throw once the thread runs.
    mWorkers.reserve(mWorkers.size() + 1);
    try {
        std::thread thread(std::move(work));
        mWorkers.push_back({state, std::move(thread)});
    } catch (const std::system_error& error) {
        DebugLog("ERROR: TSimpleHttp: cannot start a request thread: %s", error.what());
        return false;
    }
    return true;
}

// Joining a worker whose request says it has finished does not wait.
void THttpWorkerRegistry::JoinFinished() {
    std::erase_if(mWorkers, [](TWorker& worker) {
        if (!worker.state->finished.load()) {
            return false;
        }
        worker.thread.join();
        return true;
    });
}

void THttpWorkerRegistry::Shutdown() {
    std::vector<TWorker> workers;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        workers.swap(mWorkers);
    }
    for (TWorker& worker : workers) {
        worker.state->released.store(true);
    }
    for (TWorker& worker : workers) {
        worker.thread.join();
    }
}

size_t THttpWorkerRegistry::GetWorkerCount() {
    std::lock_guard<std::mutex> lock(mMutex);
    JoinFinished();
    return mWorkers.size();
}
