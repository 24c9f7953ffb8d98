// Visitors that walk the window tree through TWindow::VisitChildren.
#pragma once

#include <cstdint>

class TWindow;

class TWindowSpider {
public:
    virtual ~TWindowSpider() = default;
    // False stops the walk.
    virtual bool Visit(TWindow* window) = 0;
};

// Sets each window's flags to flags AND mask, and with recursion its
// children's too.
class TWindowClearFlags : public TWindowSpider {
public:
    TWindowClearFlags(uint32_t mask, bool recursive) : mMask(mask), mRecursive(recursive) {}
    bool Visit(TWindow* window) override;

private:
    uint32_t mMask;
    bool mRecursive;
};

// Takes each child out of the parent and hands it to the window manager for
// deletion (deletes it at once when there is no manager).
class ChildrenDelete : public TWindowSpider {
public:
    explicit ChildrenDelete(TWindow* parent) : mParent(parent) {}
    bool Visit(TWindow* window) override;

private:
    TWindow* mParent;
};

// The extent that holds every visited window, starting from a given size.
class GetLargest : public TWindowSpider {
public:
    GetLargest(int width, int height) : mWidth(width), mHeight(height) {}
    bool Visit(TWindow* window) override;

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }

private:
    int mWidth;
    int mHeight;
};
