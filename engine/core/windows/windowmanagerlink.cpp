#include "core/windows/windowmanagerlink.h"

namespace {

TWindowManagerLink* gLink = nullptr;

}  // namespace

TWindowManagerLink* GetWindowManagerLink() {
    return gLink;
}

void SetWindowManagerLink(TWindowManagerLink* link) {
    gLink = link;
}
