// The press gives a chocolate its shape: the player brings the liquid
// chocolate (carried as a bucket) and chooses a shape on the press's
// buttons; the press pours the bucket into the mould, stamps it with a
// large weight while a wheel turns, drops the empty bucket through a trap
// door, and keeps the shaped chocolate until the player takes it. The
// moments of the stamp and of the drop belong to the art: the weight's and
// the door's animation scripts call back "unlock" and "drop".
#pragma once

#include <memory>

#include "foundation/tstring.h"
#include "game/machines/bucketmachine.h"

class VPress : public VBucketMachine {
public:
    // The chocolate's stage that the press adds: its shape.
    static constexpr int kStage = 2;
    // Work phases: pouring, then stamping.
    enum { kPouring = 1, kStamping };
    // The press's own frames: at rest, and pressed down under the weight.
    enum { kRestFrame = 3, kPressedFrame = 4 };
    // The weight's frame that meets the mould.
    static constexpr int kStampFrame = 5;

    static std::shared_ptr<VPress> Create();
    VPress();
    ~VPress() override;

    // A bucket and a selected shape: the chocolate gets its shape layer,
    // hidden until the stamp, and the pour begins.
    bool TryStartWork() override;
    // The bucket empties from the top while the chocolate flows in.
    void StartWork() override;
    bool ContinueWork() override;
    void GoIdle() override;
    // Buttons of the owned shapes; the weight's and the door's scripts get
    // "unlock" and "drop".
    void ApplyUpgrades() override;
    // Pressed down while the weight meets the mould.
    void Update(bool paused) override;

    // The weight met the mould: the station is free and the shaped
    // chocolate shows.
    void Stamp();
    void Unlock() override { Stamp(); }

    int GetShape() const { return mShape; }
    const TString& GetFillAnimation() const { return mFillAnimation; }

private:
    int mShape = -1;
    TString mFillAnimation{"DoAnim_0"};
};
