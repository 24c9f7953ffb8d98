// The text window: marked-up text laid out inside its rectangle, its label
// localised through the string table, optionally rotated, with text links
// that press the button of the same name in the dialog. Scripts create it
// as "Text".
#pragma once

#include <memory>

#include "core/windows/textlink.h"
#include "core/windows/window.h"
#include "foundation/color.h"
#include "foundation/tstring.h"
#include "graphics/text/textlayout.h"

class TText : public TWindow, public TTextLink {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    // A cacheable text is drawn in the window manager's cache pass.
    explicit TText(bool cacheable = false);

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~TText() override;
    void Init(const TWindowStyle& style) override;
    void Draw() override;
    void Scroll(float fraction) override;
    bool OnMouseDown(const TPoint& point) override;
    bool OnMouseUp(const TPoint& point) override;
    bool OnMouseMove(const TPoint& point) override;
    bool OnMouseLeave(const TPoint& point) override;

    // Redraws when the text changes, unless it was empty before. Nothing
    // happens without a layout.
    void SetText(const TString& text) override;
    // "" without a layout.
    TString GetText() const override;

    // False, with no layout, when the width or the height is 0; otherwise
    // makes the layout and sizes the window to it.
    bool CreateLayout(int width, int height, int padding, const TString& face, int size, const TColor4f& colour,
                      int flags, const TString& text);
    void SetRotation(float degrees, float originX, float originY);
    void SetAlpha(float alpha) { mAlpha = alpha; }
    // The base font's size in pixels, laid out again before the next draw
    // or measurement; sizes below 1 are ignored.
    void SetFontSize(int size);
    // Extra pixels between lines (negative draws them closer).
    void SetPadding(int padding);
    void SetScale(float scale) { mScale = scale; }
    // The laid-out text at scale 1; empty without a layout.
    TRect GetTextExtents() const;
    // Null until the layout exists.
    TTextLayout* GetLayout() const { return mLayout.get(); }
    int GetPadding() const { return mPadding; }

    // The label as shown: while the window manager is in UTF-8 mode,
    // labels other than "#..." and numbers come from the string table.
    static TString LocalizeLabel(const TString& label);

private:
    void ApplyRotation(const TWindowStyle& style);
    static void Redraw();

    std::unique_ptr<TTextLayout> mLayout;
    float mScale = 1.0f;
    float mAlpha = 1.0f;
    int mPadding = 0;
    float mScrollMargin = 0.5f;
    TString mPressedLink;
};

// The window when it is a text window, else null.
TText* CastToTText(TWindow* window);
