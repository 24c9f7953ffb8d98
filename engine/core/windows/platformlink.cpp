#include "core/windows/platformlink.h"

namespace {

TPlatformLink* gLink = nullptr;

}  // namespace

TPlatformLink* GetPlatformLink() {
    return gLink;
}

void SetPlatformLink(TPlatformLink* link) {
    gLink = link;
}
