// Character conversions between text and XML mark-up.
#pragma once

#include "foundation/tstring.h"

// Bytes below 32 or from 128 become "&#n;"; & < > " ' become named entities.
TString XmlEscape(const TString& text);

// Converts "&#n;" (decimal, read as atoi reads it) and the five named
// entities back; any other "&" stays. leadingEntity (may be null) tells
// whether the text began with a converted entity.
TString XmlUnescape(const char* text, int length, bool* leadingEntity);
