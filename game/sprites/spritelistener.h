// Receives the input and named events of the sprites it is added to. Every
// handler does nothing by default; a finished listener gets nothing more and
// its sprites drop it at their next update.
#pragma once

#include <memory>

#include "foundation/tstring.h"

class VSprite;

class VSpriteListener {
public:
    virtual ~VSpriteListener() = default;

    virtual void OnNamedEvent(const TString& /*name*/, const std::shared_ptr<VSprite>& /*sprite*/) {}
    virtual void OnClick(const std::shared_ptr<VSprite>& /*sprite*/) {}
    virtual void OnMouseEnter(const std::shared_ptr<VSprite>& /*sprite*/) {}
    virtual void OnMouseLeave(const std::shared_ptr<VSprite>& /*sprite*/) {}
    virtual void OnSpriteEvent1(const std::shared_ptr<VSprite>& /*sprite*/) {}
    virtual void OnPress(const std::shared_ptr<VSprite>& /*sprite*/) {}
    virtual void OnRelease(const std::shared_ptr<VSprite>& /*sprite*/) {}
    virtual void OnDrag(const std::shared_ptr<VSprite>& /*sprite*/) {}

    bool IsFinished() const { return mFinished; }
    void SetFinished(bool finished) { mFinished = finished; }

private:
    bool mFinished = false;
};
