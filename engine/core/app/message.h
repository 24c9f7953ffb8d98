// Posted notices between windows, scripts and listeners: a button was
// pressed, a slider moved, a modal closed.
#pragma once

#include <cstdint>

#include "foundation/tstring.h"

class TWindow;

// Identifies a message class: the address of that class's ClassId function.
using TMessageClassId = const void*;

class TMessage {
public:
    // Types shared by engine widgets, game widgets and scripts.
    enum : int32_t {
        kGeneric = 0,
        kCloseWindow = 1,
        kDefaultAction = 2,
        kButtonPress = 3,
        kPressAnyKey = 4,
        kQuitNow = 5,
        kModalClosed = 6,
        kTextEditChanged = 7,
        kCommandOnly = 8,
        kSliderValChanged = 9,
        kSliderMouseUp = 10,
        kSliderPageUp = 11,
        kSliderPageDown = 12,
        // The game numbers its own types from here.
        kUserMessageBase = 1000,
    };

    // target: the window the message is for (not owned), null when untargeted.
    TMessage(int32_t type, const TString& name, TWindow* target);
    virtual ~TMessage() = default;
    TMessage(const TMessage&) = delete;
    TMessage& operator=(const TMessage&) = delete;

    virtual const char* GetClassName() const;
    // True for this class's id; a subclass checks its own id, then asks its base.
    virtual bool IsKindOf(TMessageClassId id) const;
    static TMessageClassId ClassId();

    int32_t GetType() const { return mType; }
    // The sender's name or a command text, depending on the type.
    const TString& GetName() const { return mName; }
    TWindow* GetTarget() const { return mTarget; }
    // The window manager clears the target when that window goes before
    // delivery, and names the window it hands an untargeted message to.
    void SetTarget(TWindow* target) { mTarget = target; }

protected:
    int32_t mType;
    TString mName;
    TWindow* mTarget;
};

// Offered the messages that no window takes.
class TMessageListener {
public:
    virtual ~TMessageListener() = default;
    // True when the listener consumed the message.
    virtual bool OnMessage(TMessage* message) = 0;
};
