#include "scriptedsprites/animationhost.h"

namespace {

TAnimationHost* gHost = nullptr;

}  // namespace

TAnimationHost* GetAnimationHost() {
    return gHost;
}

void SetAnimationHost(TAnimationHost* host) {
    gHost = host;
}
