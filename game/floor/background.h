// The level's backdrop: the object "background", whose description also
// lists static decorations ("statics") and animations ("anims") as objects
// of their own in the same sprite manager. Its look follows the location's
// aesthetic upgrades "kBackground1" and "kBackground2": the backdrop and the
// decorations show "upgrade1" or "upgrade2", and a decoration whose own
// "upgrade" (of its "category", "aesthetic" by default) is not owned hides.
#pragma once

#include <map>
#include <memory>

#include "game/objects/object.h"

class VBackground : public VObject {
public:
    // Shows its state, else "default", on every object it visits.
    class VStateSpider : public VSpriteSpider {
    public:
        static std::shared_ptr<VStateSpider> Create(const TString& state);
        explicit VStateSpider(const TString& state) : mState(state) {}
        // Always goes on into the children.
        bool Visit(const std::shared_ptr<VSprite>& sprite) override;

    private:
        TString mState;
    };

    using ObjectMap = std::map<TString, std::shared_ptr<VObject>>;

    static std::shared_ptr<VBackground> Create();
    VBackground();
    ~VBackground() override;

    // The owned upgrades' state on the backdrop and on the owned
    // decorations; the others stop and hide.
    void Reset() override;
    void Update(bool paused) override;
    // The decorations and animations follow the backdrop to a new manager.
    void SetManager(const std::shared_ptr<VSpriteManager>& manager) override;
    // Replaces the decorations and animations with those of the
    // description; entries that are no table are skipped.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    const ObjectMap& GetStatics() const { return mStatics; }
    const ObjectMap& GetAnims() const { return mAnims; }

private:
    // The objects of the description's table of that name, by key.
    ObjectMap LoadObjects(const std::shared_ptr<VLuaStyle>& description, const char* table);
    // The backdrop as the upgrades and the pre-level preview show it.
    void ShowUpgradedBackdrop();
    void DetachObjects();

    ObjectMap mStatics;
    ObjectMap mAnims;
};
