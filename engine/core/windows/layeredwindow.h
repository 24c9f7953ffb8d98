// A window whose children sit in layers, of which one is shown at a time.
// The layer lists do not own the children; the child list does.
#pragma once

#include <vector>

#include "core/windows/window.h"

class TLayeredWindow : public TWindow {
public:
    // Layer -1 stands for every layer.
    static constexpr int kAllLayers = -1;

    // The class is abstract: its id function answers its own address.
    static TWindow* AbstractClass();
    static TWindowClassId ClassId() { return &AbstractClass; }

    explicit TLayeredWindow(int layerCount);

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~TLayeredWindow() override;
    // The child joins the current layer, or every layer while that is -1.
    bool AddChild(TWindow* child, bool attach) override;
    void RemoveChild(TWindow* child) override;

    // Hides every direct child and shows those of the layer (layer 0 for -1).
    void SetLayer(int layer);
    int GetLayer() const { return mCurrentLayer; }
    const std::vector<TWindow*>& GetLayerChildren(int layer) const;

private:
    bool IsLayer(int layer) const;

    int mCurrentLayer = 0;
    std::vector<std::vector<TWindow*>> mLayers;
};
