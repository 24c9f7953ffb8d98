// Short-lived floating texts (sale amounts, tips, bonuses) and the layer
// window that updates, draws and discards them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/color.h"
#include "foundation/tstring.h"
#include "game/widgets/gamewindow.h"

class TTextLayout;

class RActiveText {
public:
    RActiveText(const TString& text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t flags,
                const TString& font, int32_t fontSize, float r, float g, float b, float a);
    virtual ~RActiveText();
    RActiveText(const RActiveText&) = delete;
    RActiveText& operator=(const RActiveText&) = delete;

    // The layout in the box centred on the text's position.
    virtual void Draw();
    // Given the milliseconds since the last frame; false when the text is
    // done and goes.
    virtual bool Update(uint32_t frameTime);
    virtual void SetText(const TString& text);

    TTextLayout* GetLayout() const { return mLayout.get(); }

protected:
    std::unique_ptr<TTextLayout> mLayout;
    int32_t mX;
    int32_t mY;
    int32_t mWidth;
    int32_t mHeight;
    int32_t mFlags;
    TString mFont;
    int32_t mFontSize;
    TColor4f mColor;
    float mScale = 1.0f;
    int32_t mExtraSpacing = 0;
    float mAlpha = 1.0f;
};

class RActiveTextLayer : public RWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~RActiveTextLayer() override;
    // The window, then every text in the order added.
    void Draw() override;
    // Updates every text with the frame time, dropping those that are done.
    bool Animate() override;

    // The layer owns the text from here; null is ignored.
    void AddText(RActiveText* text);
    void Clear();
    size_t GetTextCount() const { return mTexts.size(); }
    // In the order added; null past the end.
    RActiveText* GetText(size_t index) const { return index < mTexts.size() ? mTexts[index].get() : nullptr; }

private:
    std::vector<std::unique_ptr<RActiveText>> mTexts;
};
