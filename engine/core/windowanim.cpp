#include "core/windowanim.h"

#include "core/window.h"

TWindowAnim::~TWindowAnim() {
    if (mWindow) mWindow->DetachLink();
}

bool TWindowAnim::Animate() {
    return mWindow && mWindow->Animate();
}
