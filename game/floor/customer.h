// A customer of a shop level. It never walks: it is placed at its station's
// customer point, fades in, shows the menu in its thought bubble and waits
// with patience that decays into its mood, plays an idle animation now and
// then, and fades out where it stands. The vendor makes customers as copies
// of loaded templates; pointing at a customer is pointing at its station.
#pragma once

#include <list>
#include <map>
#include <memory>

#include "game/floor/character.h"

class VCarriable;
struct VChocolateSpec;
class VCustomerData;
class VCustomerVendor;
class ShopWindow;
class VPlayer;
class VSpriteEffect;
class VStation;
class VThoughtBubble;

class VCustomer : public VCharacter {
public:
    enum State {
        kNotArrived = 0,
        kArrived = 1,
        kOrdering = 2,
        kWaiting = 3,
        kServed = 4,
        kAngry = 5,
        kMoneyPlaced = 6,
        kDone = 7,
    };
    // No more customers than this play an idle animation at once.
    static constexpr int kMaxIdling = 4;

    // With a vendor the customer takes its own copies of the vendor's
    // bubble, menu, money and orderables art.
    static std::shared_ptr<VCustomer> Create(const std::shared_ptr<VCustomerVendor>& vendor);
    explicit VCustomer(const std::shared_ptr<VCustomerVendor>& vendor);
    ~VCustomer() override;

    // Shows its body and its statics again, forgets its order.
    void Reset() override;
    // The customer's station hears them as its own.
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnClick() override;
    // Patience and mood, the end of the fade-out, the idle animations.
    void Update(bool paused) override;
    // "decay", "tip", "orderDelay", the "static_" and "idle_" children,
    // then the object's own keys.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;
    // In the ordering state the order is made and shown.
    bool OnResume() override;
    // A customer does not walk, so it has no walking looks.
    void SetFacingAnimation(int index) override;
    // The idle animation of its mood ("idle_angry" when annoyed or angry)
    // in place of the statics, unless one plays or too many customers idle.
    void StartIdle() override;
    // The statics again.
    void StopIdle() override;

    // Takes its place at the station with the patience; nothing without one.
    virtual void Arrive(const std::shared_ptr<VStation>& station, float patience);
    using VObject::CopyTo;
    // Makes the target a copy of this template.
    virtual void CopyTo(const std::shared_ptr<VCustomer>& target);
    // A scripted customer's name, tip and decay (those given).
    virtual void SetDefinition(const std::shared_ptr<VCustomerData>& definition);
    // Takes the item when it is the one wanted now (a chocolate of the same
    // layers) and charges its price.
    virtual bool OfferItem(const std::shared_ptr<VCarriable>& item);
    // An item given away while the customer waits: more patience.
    virtual bool OfferComplimentary(const std::shared_ptr<VCarriable>& item);
    // The definition's orders, else one or two items drawn: chocolates from
    // the level's vendor, now and then a sauce or a drink.
    virtual void GenerateOrder();
    virtual void AddOrderItem(const VChocolateSpec& spec);
    // Every item in the bubble; the first becomes the one wanted.
    virtual void ShowOrder();
    // Takes the bubble off the customer and empties it.
    virtual void DetachBubble();
    virtual bool HasOutstandingOrder() const;
    // Done, and its fades and its money's fades have ended.
    virtual bool IsFinished() const;
    // Stands at the station's customer point.
    virtual void SetStation(const std::shared_ptr<VStation>& station);
    virtual std::shared_ptr<VStation> GetStation() const { return mStation.lock(); }
    virtual void UpdateMood();
    virtual void SetMood(int mood);
    // Takes the order, is served, or gives its money, by its state.
    virtual void Interact(const std::shared_ptr<VPlayer>& player);
    // Served or angry: money on the counter when something was bought, the
    // fade-out and the player's statistics.
    virtual void Leave();
    virtual void ShowStatics(bool visible);

    // How many customers play an idle animation now.
    static int GetIdleCount();
    // The state name of a mood on the static children.
    static const char* MoodState(int mood);

    float GetPatience() const { return mPatience; }
    void SetPatience(float patience) { mPatience = patience; }
    float GetDecayRate() const { return mDecayRate; }
    float GetTip() const { return mTip; }
    int GetOrderDelay() const { return mOrderDelay; }
    float GetMoneyOwed() const { return mMoneyOwed; }
    int GetState() const { return mState; }
    void SetState(int state) { mState = state; }
    int GetMood() const { return mMood; }
    int GetIdleCooldown() const { return mIdleCooldown; }
    bool IsIdlePlaying() const { return mIdlePlaying; }
    const std::shared_ptr<VObject>& GetPlayingIdle() const { return mIdleSprite; }
    const std::shared_ptr<VThoughtBubble>& GetBubble() const { return mBubble; }
    const std::shared_ptr<VObject>& GetMenuSprite() const { return mMenuSprite; }
    const std::shared_ptr<VObject>& GetMoneySprite() const { return mMoneySprite; }
    const std::shared_ptr<VCarriable>& GetOrderables() const { return mOrderables; }
    // The order item it waits for now; empty when none.
    virtual std::shared_ptr<VCarriable> GetCurrentItem() const { return mCurrentItem; }
    const std::map<TString, std::shared_ptr<VObject>>& GetStaticChildren() const { return mStaticChildren; }
    const std::map<TString, std::shared_ptr<VObject>>& GetIdleChildren() const { return mIdleChildren; }
    const std::shared_ptr<VCustomerData>& GetDefinition() const { return mDefinition; }
    const std::shared_ptr<VSpriteEffect>& GetFadeOut() const { return mFadeOut; }
    const std::shared_ptr<VSpriteEffect>& GetMoneyFade() const { return mMoneyFade; }
    const std::list<std::shared_ptr<VCarriable>>& GetOrder() const { return mOrder; }
    uint32_t GetMoneyPlacedTime() const { return mMoneyPlacedTime; }
    // "chocolate" for a chocolate, else the item's name.
    static TString ItemName(const std::shared_ptr<VCarriable>& item);

private:
    using ChildMap = std::map<TString, std::shared_ptr<VObject>>;

    // The children of the keys with the prefix: the old one of the key
    // again, else a new one of the type.
    void LoadChildren(VLuaStyle& description, const char* prefix, const char* type, ChildMap& old, ChildMap& into);
    void DecayPatience(uint32_t elapsed);
    void ScheduleIdle(uint32_t elapsed);
    void DrawIdleCooldown();
    // Forwards a pointer event to the station.
    void TellStation(int kind);
    void TakeOrder();
    int DrawItemCount(ShopWindow& screen);
    // A sauce or a drink now and then when they are made; 0 for a chocolate.
    int DrawExtraKind() const;
    bool CanOrderExtra(const char* upgrade, const char* asset) const;
    void ShowItem(const std::shared_ptr<VCarriable>& item);
    // The front of the order becomes the one wanted; none when it is empty.
    void NextItem();
    void Serve(const std::shared_ptr<VPlayer>& player);
    // The item's price onto the money owed; false when it is not the one wanted.
    bool Charge(const TString& wanted, const std::shared_ptr<VCarriable>& item);
    // Coins on the money sprite, which lies at the station's money place.
    void PlaceMoney();
    void AddCoin(int index);
    void CountDeparture(bool served);
    void CollectMoney();
    void FadeMoney();
    // In endless mode money left on the counter too long is lost.
    void ExpireMoney();
    uint32_t ClockNow() const;

    float mPatience = 100.0f;
    float mDecayRate = 0.001f;
    float mTip = 100.0f;
    int mOrderDelay = 5000;
    float mMoneyOwed = 0.0f;
    uint32_t mMoneyPlacedTime = 0;
    int mState = kNotArrived;
    int mMood = 0;
    std::shared_ptr<VThoughtBubble> mBubble;
    std::shared_ptr<VObject> mMenuSprite;
    std::shared_ptr<VObject> mMoneySprite;
    std::shared_ptr<VCarriable> mOrderables;
    ChildMap mIdleChildren;
    ChildMap mStaticChildren;
    std::shared_ptr<VCustomerVendor> mVendor;
    std::list<std::shared_ptr<VCarriable>> mOrder;
    std::shared_ptr<VCarriable> mCurrentItem;
    std::shared_ptr<VCustomerData> mDefinition;
    std::weak_ptr<VStation> mStation;
    std::shared_ptr<VSpriteEffect> mFadeOut;
    std::shared_ptr<VSpriteEffect> mMoneyFade;
    // The idle animation: the character's own idle fields are its walkers'.
    std::shared_ptr<VObject> mIdleSprite;
    bool mIdlePlaying = false;
    int mIdleCooldown = 0;
};
