// A sprite that shows marked-up text through a text layout: a label or
// literal text in a vector font, optionally bold, italic, outlined and with
// a drop shadow, inside a box with margins. It takes no mouse input; only
// the translation of its draw state moves it, the text turns by its own
// rotation.
#pragma once

#include <memory>

#include "foundation/color.h"
#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "game/sprites/sprite.h"

class TLuaTable;
class TTextLayout;

class VTextSprite : public VSprite {
public:
    static std::shared_ptr<VTextSprite> Create();
    VTextSprite();
    ~VTextSprite() override;

    // The text at the sprite's rounded position, after the shadow.
    void Draw(const TDrawState& parentState, int depth) override;

    // Reads the description's keys over the current settings.
    virtual void Load(const TLuaTable& description);
    // Built on first use and after changes of font, flags or description.
    virtual TTextLayout* GetLayout();
    // The laid-out text's extents widened by the margins; empty without a layout.
    virtual TRect GetTextBounds();
    virtual void SetFont(const TString& name);
    virtual void SetFontSize(int size);
    virtual void SetFlags(int flags);
    virtual void SetBold(bool bold);
    virtual void SetItalic(bool italic);
    virtual void SetOutline(const TColor4f& colour, int size);
    // The plain text; the bold, italic and outline tags are added here.
    virtual void SetText(const TString& text);
    virtual void SetColor(const TColor4f& colour);
    virtual void SetBoxSize(int width, int height);

    // The settings and the sprite part, not the layout, go to the target.
    void CopyTextTo(const std::shared_ptr<VTextSprite>& target);
    const TString& GetText() const { return mSettings.text; }
    // The text as marked up for the layout.
    TString GetMarkedUpText() const;

private:
    struct Settings {
        TString text;
        int fontSize = 10;
        TColor4f colour;
        TString font;
        int flags = 5;
        TRect box;
        int marginLeft = 0;
        int marginTop = 0;
        int marginLeftRight = 0;  // left plus right
        int marginTopBottom = 0;  // top plus bottom
        float scale = 1.0f;
        TVec2 rotationOrigin;
        float rotation = 0;  // degrees
        bool bold = false;
        bool italic = false;
        int outlineSize = 0;
        TColor4f outlineColour;
        TColor4f shadowColour;
        TVec2 shadowOffset;
    };

    void LoadFont(const TLuaTable& description);
    void LoadEffects(const TLuaTable& description);
    void RebuildLayout();
    // The box less the margins, never negative.
    int LayoutWidth(int boxWidth) const;
    int LayoutHeight(int boxHeight) const;

    std::unique_ptr<TTextLayout> mLayout;
    Settings mSettings;
};
