// The items of a composition window: texts and images as child windows,
// animations on the window's sprite layer and sounds, each animation and
// sound started by its own task after its delay.
#pragma once

#include <memory>

#include "foundation/task.h"
#include "game/composition/adaptrecord.h"

class RAdapt;
class TAnimatedSprite;
class TImage;
class TSound;
class TSoundInstance;
class TText;
class TTaskList;

// The platform task list, or null while no platform (or test host) serves
// one: then nothing delayed runs.
TTaskList* AdaptTaskList();

class RAdaptObject {
public:
    RAdaptObject(RAdapt& owner, const RAdaptRecord& record) : mOwner(owner), mRecord(record) {}
    // Undoes the start.
    virtual ~RAdaptObject() = default;
    RAdaptObject(const RAdaptObject&) = delete;
    RAdaptObject& operator=(const RAdaptObject&) = delete;

    virtual void Start() {}
    const RAdaptRecord& GetRecord() const { return mRecord; }

    // The item of the record's kind.
    static std::unique_ptr<RAdaptObject> Create(RAdapt& owner, const RAdaptRecord& record);

protected:
    RAdapt& mOwner;
    RAdaptRecord mRecord;
};

class RAdaptText : public RAdaptObject {
public:
    using RAdaptObject::RAdaptObject;
    ~RAdaptText() override;
    void Start() override;
    TText* GetWindow() const { return mWindow; }

private:
    TText* mWindow = nullptr;  // a child of the owner
};

class RAdaptImage : public RAdaptObject {
public:
    using RAdaptObject::RAdaptObject;
    ~RAdaptImage() override;
    void Start() override;
    TImage* GetWindow() const { return mWindow; }

private:
    TImage* mWindow = nullptr;  // a child of the owner
};

class RAdaptAnim;
class RAdaptSound;

// Plays the animation once after the delay, or, looping, again each delay
// period after it ended. It ends with the item: the item's destructor
// unlinks it, and it unlinks itself from the item when the list deletes it.
class RAdaptAnimTask : public TAnimTask {
public:
    explicit RAdaptAnimTask(RAdaptAnim* item) : mItem(item) {}
    ~RAdaptAnimTask() override;
    bool Animate() override;

private:
    friend class RAdaptAnim;
    RAdaptAnim* mItem;
};

class RAdaptAnim : public RAdaptObject {
public:
    RAdaptAnim(RAdapt& owner, const RAdaptRecord& record);
    ~RAdaptAnim() override;
    void Start() override;

    const std::shared_ptr<TAnimatedSprite>& GetSprite() const { return mSprite; }
    // Null once the list ended it.
    RAdaptAnimTask* GetTask() const { return mTask; }

private:
    friend class RAdaptAnimTask;
    RAdaptAnimTask* mTask = nullptr;  // on the task list from the start
    std::shared_ptr<TAnimatedSprite> mSprite;
};

// Plays the sound once after the delay, then keeps it until the instance
// ends, since dropping a sound stops it: a one-shot plays out after its
// item is gone, a looping one is stopped with its item.
class RAdaptSoundTask : public TAnimTask {
public:
    explicit RAdaptSoundTask(RAdaptSound* item) : mItem(item) {}
    ~RAdaptSoundTask() override;
    bool Animate() override;

private:
    friend class RAdaptSound;
    RAdaptSound* mItem;
    std::shared_ptr<TSound> mSound;
    std::shared_ptr<TSoundInstance> mInstance;
};

class RAdaptSound : public RAdaptObject {
public:
    using RAdaptObject::RAdaptObject;
    ~RAdaptSound() override;
    void Start() override;

    // Null once the list ended it.
    RAdaptSoundTask* GetTask() const { return mTask; }

private:
    friend class RAdaptSoundTask;
    RAdaptSoundTask* mTask = nullptr;  // on the task list from the start
};
