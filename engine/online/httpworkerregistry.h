// The worker threads of HTTP requests. Workers end on their own once their
// request is done or released; the registry joins them, the finished ones
// whenever a new worker starts and all of them at shutdown.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

struct HttpRequestState;

class THttpWorkerRegistry {
public:
    static THttpWorkerRegistry& Get();

    THttpWorkerRegistry() = default;
    ~THttpWorkerRegistry();
    THttpWorkerRegistry(const THttpWorkerRegistry&) = delete;
    THttpWorkerRegistry& operator=(const THttpWorkerRegistry&) = delete;

    // Runs work on a new thread for the request; false (logged) when no
    // thread could be made.
    bool Start(const std::shared_ptr<HttpRequestState>& state, std::function<void()> work);

    // Releases every request still running and waits for all workers.
    void Shutdown();

    size_t GetWorkerCount();

private:
    struct TWorker {
        std::shared_ptr<HttpRequestState> state;
        std::thread thread;
    };

    void JoinFinished();

    std::mutex mMutex;
    std::vector<TWorker> mWorkers;
};
