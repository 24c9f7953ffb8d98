#include "game/composition/adaptitem.h"

#include "core/app/tasklist.h"
#include "core/windows/windowmanager.h"
#include "foundation/stringtable.h"
#include "game/composition/adapt.h"
#include "game/composition/spritelayer.h"
#include "scriptedsprites/animatedsprite.h"
#include "scriptedsprites/animationhost.h"
#include "graphics/animatedtexture.h"
#include "graphics/texture.h"
#include "widgets/image.h"
#include "widgets/text.h"
#include "sound/sound.h"
#include "sound/soundinstance.h"

namespace {

const char* const kAnimFunction = "DoAnim";

// Schedules the task delay ms from now, repeating, and lists it; false
// (the task deleted) without a list.
bool Schedule(TAnimTask* task, int32_t delay) {
    TTaskList* list = AdaptTaskList();
    if (!list) {
        delete task;
        return false;
    }
    task->Start(delay, true, true, false);
    list->Add(task);
    return true;
}

// Takes the task off the list and deletes it; a task the list no longer
// holds is the list's to delete.
void Unschedule(TTask* task) {
    TTaskList* list = AdaptTaskList();
    if (list && list->Remove(task)) delete task;
}

// The window leaves the owner and goes.
void DeleteChildWindow(RAdapt& owner, TWindow* window) {
    if (!window) return;
    owner.RemoveChild(window);
    delete window;
}

}  // namespace

TTaskList* AdaptTaskList() {
    TAnimationHost* host = GetAnimationHost();
    return host ? &host->GetTaskList() : nullptr;
}

std::unique_ptr<RAdaptObject> RAdaptObject::Create(RAdapt& owner, const RAdaptRecord& record) {
    switch (record.kind) {
        case RAdaptKind::kText: return std::make_unique<RAdaptText>(owner, record);
        case RAdaptKind::kImage: return std::make_unique<RAdaptImage>(owner, record);
        case RAdaptKind::kAnim: return std::make_unique<RAdaptAnim>(owner, record);
        case RAdaptKind::kSound: return std::make_unique<RAdaptSound>(owner, record);
    }
    return nullptr;
}

// --- Text ---

RAdaptText::~RAdaptText() {
    DeleteChildWindow(mOwner, mWindow);
}

void RAdaptText::Start() {
    mWindow = new TText();
    // An empty label stays empty rather than showing the table's missing text.
    TString label = mRecord.label;
    const TStringTable* strings = RAdapt::GetStringTable();
    if (strings && label.Length() > 0) label = strings->GetString(label);
    mWindow->CreateLayout(mRecord.width, mRecord.height, mRecord.padding, mRecord.font, mRecord.fontSize,
                          mRecord.color, mRecord.AlignFlags(), label);
    mOwner.AddChild(mWindow, false);
    mWindow->SetPosition(mRecord.x, mRecord.y);
    mWindow->SetRotation(mRecord.rotation, 0, 0);
    mWindow->SetAlpha(mRecord.alpha);
}

// --- Image ---

RAdaptImage::~RAdaptImage() {
    DeleteChildWindow(mOwner, mWindow);
}

void RAdaptImage::Start() {
    mWindow = new TImage();
    mOwner.AddChild(mWindow, false);
    mWindow->SetPosition(mRecord.x, mRecord.y);
    if (mRecord.source.Length() > 0) mWindow->SetImage(TTexture::GetWithOptions(mRecord.source, 0), mRecord.scale);
    mWindow->SetAlpha(mRecord.alpha);
}

// --- Animation ---

RAdaptAnimTask::~RAdaptAnimTask() {
    if (mItem) mItem->mTask = nullptr;
}

bool RAdaptAnimTask::Animate() {
    if (!mItem || !mItem->mSprite) return true;
    TAnimatedSprite& sprite = *mItem->mSprite;
    if (!mItem->GetRecord().loop) {
        sprite.Play(kAnimFunction);
        return false;
    }
    if (!sprite.IsFinished(-1) && sprite.IsPlaying(-1)) return true;
    sprite.Play(kAnimFunction);
    return true;
}

RAdaptAnim::RAdaptAnim(RAdapt& owner, const RAdaptRecord& record)
    : RAdaptObject(owner, record), mSprite(TAnimatedSprite::Create(0)) {}

RAdaptAnim::~RAdaptAnim() {
    if (mTask) {
        mTask->mItem = nullptr;
        Unschedule(mTask);
    }
    if (RSpriteLayer* layer = mOwner.GetSpriteLayer()) layer->RemoveSprite(mSprite);
}

void RAdaptAnim::Start() {
    RSpriteLayer* layer = mOwner.GetSpriteLayer();
    if (!layer || !mSprite) return;
    if (mRecord.source.Length() > 0) mSprite->SetTexture(TAnimatedTexture::Get(mRecord.source));
    layer->AddSprite(mSprite);
    TMat3& matrix = mSprite->GetDrawState().matrix;
    matrix.m[2][0] = static_cast<float>(mRecord.x);
    matrix.m[2][1] = static_cast<float>(mRecord.y);
    auto* task = new RAdaptAnimTask(this);
    if (Schedule(task, mRecord.delay)) mTask = task;
}

// --- Sound ---

RAdaptSoundTask::~RAdaptSoundTask() {
    if (mItem) mItem->mTask = nullptr;
}

bool RAdaptSoundTask::Animate() {
    if (mSound) return mInstance && mInstance->GetStream();
    if (!mItem) return false;
    mSound = TSound::Get(mItem->GetRecord().source, 1, 0);
    if (!mSound) return false;
    mInstance = mSound->Play(mItem->GetRecord().loop);
    return mInstance != nullptr;
}

RAdaptSound::~RAdaptSound() {
    if (!mTask) return;
    mTask->mItem = nullptr;
    if (!mTask->mSound) {
        Unschedule(mTask);
        return;
    }
    // Started: a loop ends with its item, a one-shot plays out on its task.
    if (mRecord.loop && mTask->mInstance) mTask->mSound->Stop(mTask->mInstance);
}

void RAdaptSound::Start() {
    auto* task = new RAdaptSoundTask(this);
    if (Schedule(task, mRecord.delay)) mTask = task;
}
