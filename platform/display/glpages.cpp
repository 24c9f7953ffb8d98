#include "platform/display/glpages.h"

#include <algorithm>

namespace display {

namespace {

Rect Grown(const Rect& rect, int by) {
    return {rect.left - by, rect.top - by, rect.right + by, rect.bottom + by};
}

// Within one framebuffer, stretched without filtering; the rectangles must
// not overlap.
void CopyWithin(const Rect& from, const Rect& to) {
    glBlitFramebuffer(from.left, from.top, from.right, from.bottom, to.left, to.top, to.right, to.bottom,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

}  // namespace

Result GlPages::Place(int width, int height, GLenum internalFormat, Slot& slot) {
    Rect rect;
    int chosen = -1;
    for (size_t i = 0; i < mPages.size() && chosen < 0; ++i) {
        Page& page = mPages[i];
        if (page.texture && page.format == internalFormat && PlaceOnPage(page, width, height, rect)) {
            chosen = static_cast<int>(i);
        }
    }
    if (chosen < 0) {
        size_t free = 0;
        while (free < mPages.size() && mPages[free].texture) ++free;
        if (free == mPages.size()) mPages.emplace_back();
        Result made = MakePage(internalFormat, mPages[free]);
        if (made != Result::Ok) return made;
        if (!PlaceOnPage(mPages[free], width, height, rect)) {
            DropPage(mPages[free]);
            return Result::InvalidArgument;
        }
        chosen = static_cast<int>(free);
    }
    slot = {chosen, rect};
    Clear(slot, Grown(rect, kGutter));
    return Result::Ok;
}

bool GlPages::PlaceOnPage(Page& page, int width, int height, Rect& rect) {
    Rect room;
    if (!page.packer.Place(width + 2 * kGutter, height + 2 * kGutter, room)) return false;
    rect = Grown(room, -kGutter);
    return true;
}

Result GlPages::MakePage(GLenum internalFormat, Page& page) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    int side = std::min(kSide, static_cast<int>(largest));
    page = {};
    page.format = internalFormat;
    page.side = side;
    page.packer = ShelfPacker(side);
    glGenTextures(1, &page.texture);
    glBindTexture(GL_TEXTURE_2D, page.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(internalFormat), side, side, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 nullptr);
    GLenum error = glGetError();
    if (error == GL_NO_ERROR) return Result::Ok;
    DropPage(page);
    return error == GL_OUT_OF_MEMORY ? Result::OutOfVideoMemory : Result::Failed;
}

void GlPages::Clear(const Slot& slot, const Rect& rect) {
    glBindFramebuffer(GL_FRAMEBUFFER, FramebufferOf(slot));
    glEnable(GL_SCISSOR_TEST);
    glScissor(rect.left, rect.top, rect.Width(), rect.Height());
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

void GlPages::Free(Slot& slot) {
    if (!slot.IsPlaced()) return;
    Page& page = mPages[slot.page];
    page.packer.Free(Grown(slot.rect, kGutter));
    if (page.packer.Empty()) DropPage(page);
    slot = {};
}

void GlPages::DropPage(Page& page) {
    glDeleteFramebuffers(1, &page.framebuffer);
    glDeleteTextures(1, &page.texture);
    page = {};
}

GLuint GlPages::FramebufferOf(const Slot& slot) {
    Page& page = mPages[slot.page];
    if (page.framebuffer) return page.framebuffer;
    glGenFramebuffers(1, &page.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, page.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, page.texture, 0);
    return page.framebuffer;
}

void GlPages::RefreshGutter(const Slot& slot) {
    GLuint framebuffer = FramebufferOf(slot);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    const Rect& r = slot.rect;
    const int g = kGutter;
    // The edge columns first, stretched over the gutter, so that the rows
    // carry the corners with them.
    CopyWithin({r.left, r.top, r.left + 1, r.bottom}, {r.left - g, r.top, r.left, r.bottom});
    CopyWithin({r.right - 1, r.top, r.right, r.bottom}, {r.right, r.top, r.right + g, r.bottom});
    CopyWithin({r.left - g, r.top, r.right + g, r.top + 1}, {r.left - g, r.top - g, r.right + g, r.top});
    CopyWithin({r.left - g, r.bottom - 1, r.right + g, r.bottom}, {r.left - g, r.bottom, r.right + g, r.bottom + g});
}

}  // namespace display
