// The process-wide managers of the game: one instance each, made on first use
// by its accessor and dropped by ReleaseManagerSingleton at shutdown. Holders
// that still keep a shared pointer keep the released instance alive.
#pragma once

#include <memory>

template <typename T>
class VManagerSingleton : public std::enable_shared_from_this<T> {
public:
    // The instance, made on first use.
    static std::shared_ptr<T> Get() {
        if (!sInstance) {
            sInstance = std::shared_ptr<T>(new T());
        }
        return sInstance;
    }
    // The instance when one lives; never makes one.
    static std::shared_ptr<T> GetIfCreated() { return sInstance; }

protected:
    VManagerSingleton() = default;

private:
    template <typename U>
    friend void ReleaseManagerSingleton();

    static inline std::shared_ptr<T> sInstance;
};

template <typename T>
void ReleaseManagerSingleton() {
    T::sInstance.reset();
}
