// Turns off the other buttons of a radio button's group. A group runs, in
// creation order, from a button marked as group start to the next one.
#pragma once

#include "core/windows/windowspider.h"

class TButton;
class TWindow;

class TRadioButtonSpider : public TWindowSpider {
public:
    explicit TRadioButtonSpider(TButton* button) : mButton(button) {}
    bool Visit(TWindow* window) override;

    // Walks the button's siblings and turns the others of its group off.
    void Run();

private:
    enum Pass { kFindStart, kTurnOff };

    TButton* mButton;
    Pass mPass = kFindStart;
    TWindow* mStart = nullptr;  // the last group start up to the button
    bool mInGroup = false;
};
