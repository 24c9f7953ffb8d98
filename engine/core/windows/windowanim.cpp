#include "core/windows/windowanim.h"

#include "core/windows/window.h"

TWindowAnim::~TWindowAnim() {
    if (mWindow) mWindow->DetachLink();
}

bool TWindowAnim::Animate() {
    return mWindow && mWindow->Animate();
}
