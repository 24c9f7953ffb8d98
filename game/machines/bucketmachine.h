// The machines that pour a bucket of liquid chocolate in and drop the empty
// bucket through a trap door: the press and the infuser. The player swaps a
// fresh bucket for the machine's finished product in one visit; a copy of
// the bucket's look empties while it pours and sinks away when the art's
// door script calls "drop"; the art's "unlock" marks the product as ready.
#pragma once

#include <memory>

#include "game/machines/machine.h"

class VChocolate;
class VChocolateLayer;

class VBucketMachine : public VMachine {
public:
    // The stage the machine adds, and the sprite layer a bucket goes in on.
    VBucketMachine(int stage, int bucketLayer);
    ~VBucketMachine() override;

    // Starts on a held bucket; else takes a bucket from the player's hands,
    // giving back a finished product; else hands the product over.
    void Interact(const std::shared_ptr<VPlayer>& player) override;
    // Takes the bucket's copy away.
    void GoIdle() override;

    // The art's "unlock": the product is ready and the station free.
    virtual void Unlock() = 0;
    // The art's "drop": the empty bucket sinks through the trap door.
    void DropBucket();

    const std::shared_ptr<VChocolateLayer>& GetBucketSprite() const { return mBucketSprite; }
    const std::shared_ptr<VObject>& GetBucketIcon() const { return mBucketIcon; }

protected:
    // The held chocolate when work may start on it: the machine rests, the
    // chocolate takes the stage and an option is selected.
    std::shared_ptr<VChocolate> ReadyChocolate() const;
    // Shows a copy of the chocolate's lowest layer as the "bucket".
    void CopyBucket(const VChocolate& chocolate);
    // The bucket empties from the top while the machine waits.
    void Pour();
    // "unlock" in the named part's script, "drop" in the door's.
    void BindScriptFunctions(const char* unlockPart);

private:
    // Takes the bucket from the player's hands in exchange for the finished
    // product; false when nothing moved.
    bool SwapIn(VPlayer& player);

    int mStage;
    int mBucketLayer;
    std::shared_ptr<VChocolateLayer> mBucketSprite;
    std::shared_ptr<VObject> mBucketIcon;
};
