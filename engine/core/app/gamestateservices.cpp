#include "core/app/gamestateservices.h"

namespace {

TGameStateServices* gServices = nullptr;

}  // namespace

TGameStateServices* GetGameStateServices() {
    return gServices;
}

void SetGameStateServices(TGameStateServices* services) {
    gServices = services;
}
