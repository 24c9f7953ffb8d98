// What a modal window asks of a button: hot keys, Enter and Escape press it
// as a click would. The button class implements this beside its window base.
#pragma once

class TButtonLink {
public:
    // Presses the button; true when the press was taken (the button's modal
    // window is the top one).
    virtual bool Click() = 0;

protected:
    ~TButtonLink() = default;
};
