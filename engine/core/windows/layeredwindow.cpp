#include "core/windows/layeredwindow.h"

#include <algorithm>

#include "core/windows/windowmanagerlink.h"
#include "core/windows/windowspider.h"
#include "foundation/debuglog.h"

namespace {

void AddOnce(std::vector<TWindow*>& layer, TWindow* child) {
    if (std::find(layer.begin(), layer.end(), child) == layer.end()) layer.push_back(child);
}

}  // namespace

TLayeredWindow::TLayeredWindow(int layerCount) : mLayers(static_cast<size_t>(std::max(layerCount, 0))) {}

TLayeredWindow::~TLayeredWindow() = default;

TWindow* TLayeredWindow::AbstractClass() {
    // Answering its own address marks the class as one that creates nothing.
    return reinterpret_cast<TWindow*>(reinterpret_cast<void*>(&AbstractClass));
}

const char* TLayeredWindow::GetClassName() const {
    return "TLayeredWindow";
}

bool TLayeredWindow::IsA(TWindowClassId id) const {
    return id == ClassId() || TWindow::IsA(id);
}

bool TLayeredWindow::IsLayer(int layer) const {
    return layer >= 0 && layer < static_cast<int>(mLayers.size());
}

bool TLayeredWindow::AddChild(TWindow* child, bool attach) {
    if (!TWindow::AddChild(child, attach)) return false;
    if (mCurrentLayer == kAllLayers) {
        for (auto& layer : mLayers) AddOnce(layer, child);
    } else if (IsLayer(mCurrentLayer)) {
        AddOnce(mLayers[static_cast<size_t>(mCurrentLayer)], child);
    }
    return true;
}

void TLayeredWindow::RemoveChild(TWindow* child) {
    TWindow::RemoveChild(child);
    for (auto& layer : mLayers) layer.erase(std::remove(layer.begin(), layer.end(), child), layer.end());
}

void TLayeredWindow::SetLayer(int layer) {
    if (layer == mCurrentLayer) return;
    int shown = layer == kAllLayers ? 0 : layer;
    if (!IsLayer(shown)) {
        DebugLog("TLayeredWindow::SetLayer: '%s' has no layer %d", GetName().c_str(), layer);
        return;
    }
    mCurrentLayer = layer;
    TWindowClearFlags hide(~static_cast<uint32_t>(kVisible), false);
    VisitChildren(hide, false);
    for (TWindow* child : mLayers[static_cast<size_t>(shown)]) child->SetFlags(child->GetFlags() | kVisible);
    if (TWindowManagerLink* link = GetWindowManagerLink()) link->Invalidate();
}

const std::vector<TWindow*>& TLayeredWindow::GetLayerChildren(int layer) const {
    static const std::vector<TWindow*> kNone;
    return IsLayer(layer) ? mLayers[static_cast<size_t>(layer)] : kNone;
}
