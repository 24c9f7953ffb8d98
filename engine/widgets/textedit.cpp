#include "widgets/textedit.h"

#include <algorithm>

#include "core/app/message.h"
#include "core/windows/modalwindowlink.h"
#include "core/windows/platformlink.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowspider.h"
#include "core/windows/windowstyle.h"
#include "widgets/widgetnotify.h"

namespace {

// Characters and virtual keys the field acts on.
enum : int {
    kBackspace = 8,
    kTabCharacter = 9,
    kReturn = 13,
    kFirstPrintable = 32,
    kFirstHighByte = 128,
    kLeftKey = 37,
    kRightKey = 39,
    kInsertKey = 45,
    kDeleteKey = 46,
    kLastLetterKey = 'Z',
};
// Key modifiers: keys with these go on to hot keys.
enum : int { kCtrl = 2, kAlt = 4, kExtended = 8 };

const char kCursorTag[] = "<cursor>";

// Finds the first other edit field of a dialog that already has a ring,
// leaving nested dialogs alone.
class TextSpider : public TWindowSpider {
public:
    explicit TextSpider(const TTextEdit* self) : mSelf(self) {}

    bool Visit(TWindow* window) override {
        if (window->GetFlags() & TWindow::kModal) return true;
        auto* edit = dynamic_cast<TTextEdit*>(window);
        if (edit && edit != mSelf && edit->GetRing()) {
            mFound = edit;
            return false;
        }
        return window->VisitChildren(*this, true);
    }

    TTextEdit* GetFound() const { return mFound; }

private:
    const TTextEdit* mSelf;
    TTextEdit* mFound = nullptr;
};

}  // namespace

TWindow* TTextEdit::Create() {
    return new TTextEdit();
}

TTextEdit::TTextEdit() {
    SetKindFlags((GetFlags() & 0xFF) | kFocusable);
    mBlinkClock.Start();
}

TTextEdit::~TTextEdit() {
    if (mRing) std::erase(*mRing, this);
}

const char* TTextEdit::GetClassName() const {
    return "TTextEdit";
}

bool TTextEdit::IsA(TWindowClassId id) const {
    return id == ClassId() || TText::IsA(id);
}

void TTextEdit::Init(const TWindowStyle& style) {
    mPassword = style.GetBool("password", false);
    mMaxLength = style.GetInt("length", mMaxLength);
    mIgnore = style.GetString("ignore", TString());
    // The label is the text the player starts from, never a string label.
    TWindowManager* manager = TWindowManager::GetInstance();
    bool utf8 = manager && manager->IsUtf8Mode();
    if (utf8) manager->SetUtf8Mode(false);
    TText::Init(style);
    if (utf8) manager->SetUtf8Mode(true);
    SetText(TText::GetText());
    JoinRing();
    if (GetParentModal()) StartAnimation(kBlinkStep, true, true, false);
}

void TTextEdit::JoinRing() {
    if (mRing) return;
    TextSpider spider(this);
    if (auto* modal = dynamic_cast<TWindow*>(GetParentModal())) modal->VisitChildren(spider, true);
    TTextEdit* member = spider.GetFound();
    mRing = member ? member->mRing : std::make_shared<Ring>();
    mRing->push_back(this);
}

void TTextEdit::Draw() {
    JoinRing();
    TText::Draw();
}

bool TTextEdit::Animate() {
    Refresh();
    return true;
}

void TTextEdit::SetText(const TString& text) {
    mText = text;
    mCursor = text.Length();
    Refresh();
}

bool TTextEdit::HasFocus() const {
    TWindowManager* manager = TWindowManager::GetInstance();
    return manager && manager->GetFocus() == this;
}

TString TTextEdit::Shown(int start, int end) const {
    TString shown;
    for (int i = start; i < end; ++i) {
        char character = mText.CharAt(i);
        if (mPassword) {
            shown += '*';
            continue;
        }
        if (character == '<' || character == '\\') shown += '\\';
        shown += character;
    }
    return shown;
}

void TTextEdit::Refresh() {
    TString head = Shown(0, mCursor);
    TString tail = Shown(mCursor, mText.Length());
    bool visible = false;
    if (HasFocus()) {
        visible = mBlinkClock.GetTime() % kBlinkPeriod > kBlinkHidden;
        if (visible != mCursorShown) RedrawScreen();
        mCursorShown = visible;
    }
    TText::SetText(visible ? head + kCursorTag + tail : head + tail);
}

bool TTextEdit::OnEditEvent(int kind, char character) {
    switch (kind) {
    case kInsert:
        if (mText.Length() < mMaxLength) return true;
        OnEditEvent(kRefused, character);
        return false;
    case kDeleteOrMove:
    case kPaste:
        return true;
    default:
        return false;
    }
}

void TTextEdit::ReportChange() {
    PostWidgetMessage(TMessage::kTextEditChanged, GetName(), nullptr);
}

// --- Characters ---

bool TTextEdit::OnChar(char character) {
    JoinRing();
    if (!HandleCharacter(static_cast<unsigned char>(character))) return false;
    Refresh();
    ReportChange();
    return true;
}

bool TTextEdit::HandleCharacter(unsigned char character) {
    auto typed = static_cast<char>(character);
    switch (character) {
    case kBackspace:
        Backspace();
        return true;
    case kTabCharacter:
        if (!OnEditEvent(kTab, typed)) FocusNext();
        return true;
    case kReturn:
        // Unless a derived field takes it, Enter goes on to the default button.
        return OnEditEvent(kEnter, typed);
    default:
        break;
    }
    if (character < kFirstPrintable) return false;
    if (character >= kFirstHighByte && !mPassword) return false;
    if (mIgnore.FindChar(typed) >= 0) return true;
    if (OnEditEvent(kInsert, typed)) InsertCharacter(typed);
    return true;
}

void TTextEdit::Backspace() {
    if (mCursor == 0) {
        OnEditEvent(kRefused, static_cast<char>(kBackspace));
        return;
    }
    if (!OnEditEvent(kDeleteOrMove, static_cast<char>(kBackspace))) return;
    mText.Erase(mCursor - 1, 1);
    --mCursor;
}

void TTextEdit::InsertCharacter(char character) {
    mText = mText.SubString(0, mCursor) + character + mText.SubString(mCursor);
    ++mCursor;
}

void TTextEdit::FocusNext() {
    TWindowManager* manager = TWindowManager::GetInstance();
    if (!manager || !mRing) return;
    auto at = std::find(mRing->begin(), mRing->end(), this);
    if (at == mRing->end()) return;
    ++at;
    manager->SetFocus(at == mRing->end() ? mRing->front() : *at);
}

// --- Keys ---

bool TTextEdit::OnKeyDown(int key, int modifiers) {
    JoinRing();
    if (HandleEditKey(key, modifiers)) {
        Refresh();
        ReportChange();
        return true;
    }
    if (key > kLastLetterKey) return false;
    // Letters and digits come again as characters; with Ctrl or Alt they
    // are left to the dialog's hot keys.
    return (modifiers & (kCtrl | kAlt | kExtended)) == 0;
}

bool TTextEdit::HandleEditKey(int key, int modifiers) {
    int length = mText.Length();
    switch (key) {
    case kLeftKey:
        if (mCursor == 0) {
            OnEditEvent(kRefused, 0);
        } else if (OnEditEvent(kDeleteOrMove, 0)) {
            --mCursor;
        }
        return true;
    case kRightKey:
        if (mCursor >= length) {
            OnEditEvent(kRefused, 0);
        } else if (OnEditEvent(kDeleteOrMove, 0)) {
            ++mCursor;
        }
        return true;
    case kDeleteKey:
        if (mCursor >= length) {
            OnEditEvent(kRefused, 0);
        } else {
            mText.Erase(mCursor, 1);
        }
        return true;
    case kInsertKey:
        Paste();
        return true;
    case 'V':
        if (!(modifiers & kCtrl)) return false;
        Paste();
        return true;
    default:
        return false;
    }
}

void TTextEdit::Paste() {
    if (!OnEditEvent(kPaste, 0)) return;
    TPlatformLink* platform = GetPlatformLink();
    TString clipboard = platform ? platform->GetClipboardText() : TString();
    // Cut first, so a clipboard of any size costs no more than the field holds.
    clipboard = clipboard.SubString(0, std::max(mMaxLength, 0));
    TString kept;
    for (int i = 0; i < clipboard.Length(); ++i) {
        char character = clipboard.CharAt(i);
        if (static_cast<unsigned char>(character) >= kFirstPrintable && mIgnore.FindChar(character) < 0) {
            kept += character;
        }
    }
    SetText(kept);
}
