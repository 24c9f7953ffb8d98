// What the windows of core ask of a text window: its text. The text window
// class implements this beside its window base, and windows find it by that.
#pragma once

#include "foundation/tstring.h"

class TTextLink {
public:
    virtual TString GetText() const = 0;
    virtual void SetText(const TString& text) = 0;

protected:
    ~TTextLink() = default;
};
