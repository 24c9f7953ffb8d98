// The delivery station boxes chocolates for airship orders. Now and then it
// shows an order in a thought bubble over itself; the player brings a
// matching chocolate, the level books its price at once, the station boxes
// it and the airship flies in to pick the box up. An order nobody serves
// loses patience in five moods and expires, booking nothing.
#pragma once

#include <list>
#include <memory>

#include "game/chocolates/chocolatespec.h"
#include "game/machines/machine.h"

class BZeppelin;
class VAlphaEffect;
class VChocolate;
class VThoughtBubble;
class ZqLevel;

class VDelivery : public VMachine {
public:
    enum DeliveryState { kWaiting = 0, kOrderShown, kBoxing, kAwaitingPickup };

    static std::shared_ptr<VDelivery> Create();
    VDelivery();
    ~VDelivery() override;

    // Places the airship on the level screen and makes the bubble once.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;
    // Queues the level's airship orders, in file order, outside endless mode.
    void ApplyUpgrades() override;
    // Runs the order timer, the bubble's fade and the order's patience.
    void Update(bool paused) override;
    // Drops the order and draws the time to the next one.
    void GoIdle() override;
    // The box is ready: the airship takes it over.
    bool ContinueWork() override;
    // Boxes the held chocolate and calls the airship in.
    void StartWork() override;
    // Takes a chocolate matching the order, hand 2 first, and books its price.
    void Interact(const std::shared_ptr<VPlayer>& player) override;

    // The next order: the queue's front, else one the vendor draws. Nothing
    // while an order stands or without a vendor.
    void MakeOrder();
    // Fades the bubble in with the order, or out, over 300 ms.
    void ShowOrder(bool show);
    void SetMood(int mood);

    int GetDeliveryState() const { return mDeliveryState; }
    int GetMood() const { return mMood; }
    int GetOrderInterval() const { return mOrderInterval; }
    float GetPatience() const { return mPatience; }
    const std::shared_ptr<VChocolate>& GetOrder() const { return mOrder; }
    const std::shared_ptr<VThoughtBubble>& GetBubble() const { return mOrderBubble; }
    const std::shared_ptr<BZeppelin>& GetZeppelin() const { return mZeppelin; }
    const std::list<VChocolateSpec>& GetOrderQueue() const { return mOrderQueue; }

private:
    void QueueLevelOrders();
    // Counts the interval down; true when it has run out.
    bool CountInterval(bool paused);
    void UpdatePatience();
    // Hides and empties the bubble.
    void PutBubbleAway();
    bool IsFading() const;

    std::shared_ptr<VChocolate> mOrder;
    std::shared_ptr<VThoughtBubble> mOrderBubble;
    int mOrderInterval = 0;
    std::shared_ptr<VAlphaEffect> mFadeEffect;
    int mMood = 1;
    float mPatience = 100.0f;
    std::shared_ptr<BZeppelin> mZeppelin;
    std::shared_ptr<ZqLevel> mLevel;
    std::list<VChocolateSpec> mOrderQueue;
    int mDeliveryState = kWaiting;
};
