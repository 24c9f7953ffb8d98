// Shared GL textures ("pages") that hold many small texture surfaces side by
// side, so that draws from different surfaces can share one draw call. Each
// surface sits in its own slot with a gutter of one pixel around it that
// repeats its edge, so that filtering at its border reads what clamping to
// its own edge would.
#pragma once

#include <epoxy/gl.h>

#include <vector>

#include "platform/display/shelfpacker.h"
#include "platform/display/types.h"

namespace display {

class GlPages {
public:
    static constexpr int kGutter = 1;
    // Pages are this size, or the device's largest texture if smaller.
    static constexpr int kSide = 2048;

    // Where a surface's pixels lie: rect within the page's texture.
    struct Slot {
        int page = -1;
        Rect rect;
        bool IsPlaced() const { return page >= 0; }
    };

    // Pages go with their last slot, so the owner frees every slot while
    // the GL context is current.
    GlPages() = default;
    GlPages(const GlPages&) = delete;
    GlPages& operator=(const GlPages&) = delete;

    // Room for a width x height surface on a page of that GL format (a new
    // page when none has room). The slot and its gutter start transparent
    // black. The caller clears earlier GL errors; leaves the framebuffer and
    // texture bindings changed.
    Result Place(int width, int height, GLenum internalFormat, Slot& slot);
    // A page whose last slot goes is deleted.
    void Free(Slot& slot);
    GLuint TextureOf(const Slot& slot) const { return mPages[slot.page].texture; }
    int SideOf(const Slot& slot) const { return mPages[slot.page].side; }
    // The page as a framebuffer, for reads, copies and fills.
    GLuint FramebufferOf(const Slot& slot);
    // Copies the slot's edge pixels into its gutter. Leaves the framebuffer
    // bindings changed.
    void RefreshGutter(const Slot& slot);
    // Slots whose texture coordinates reach this far past the edge (in
    // pixels) still read only their own pixels and gutter.
    static constexpr float kReach = kGutter - 0.5f;

private:
    struct Page {
        GLenum format = 0;
        int side = 0;
        GLuint texture = 0, framebuffer = 0;
        ShelfPacker packer{0};
    };

    // The slot's rectangle within the room for it and its gutter.
    static bool PlaceOnPage(Page& page, int width, int height, Rect& rect);
    Result MakePage(GLenum internalFormat, Page& page);
    static void DropPage(Page& page);
    void Clear(const Slot& slot, const Rect& rect);

    std::vector<Page> mPages;  // a deleted page leaves a free entry (texture 0)
};

}  // namespace display
