#include "game/floor/background.h"

#include "core/scripting/luaobject.h"
#include "game/level/upgrademanager.h"
#include "game/objects/objectdescription.h"
#include "game/shell/luastyle.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"

namespace {

const char kName[] = "background";
const char kCategory[] = "aesthetic";
const char kUpgrade1[] = "kBackground1";
const char kUpgrade2[] = "kBackground2";
const char kDefaultState[] = "default";

bool IsOwned(const VUpgradeManager& upgrades, const char* name) {
    return upgrades.IsUpgradeOwned(name, kCategory);
}

// The state of the owned upgrades.
const char* OwnedState(const VUpgradeManager& upgrades) {
    if (IsOwned(upgrades, kUpgrade2)) return "upgrade2";
    if (IsOwned(upgrades, kUpgrade1)) return "upgrade1";
    return kDefaultState;
}

}  // namespace

// VStateSpider

std::shared_ptr<VBackground::VStateSpider> VBackground::VStateSpider::Create(const TString& state) {
    return std::make_shared<VStateSpider>(state);
}

bool VBackground::VStateSpider::Visit(const std::shared_ptr<VSprite>& sprite) {
    if (auto object = std::dynamic_pointer_cast<VObject>(sprite)) object->SetAssetState(mState, kDefaultState);
    return true;
}

// VBackground

std::shared_ptr<VBackground> VBackground::Create() {
    auto background = std::make_shared<VBackground>();
    Adopt(background);
    return background;
}

VBackground::VBackground() : VObject(kName, kName, 0) {}

VBackground::~VBackground() = default;

void VBackground::Update(bool paused) {
    VObject::Update(paused);
}

void VBackground::Load(const std::shared_ptr<VLuaStyle>& description) {
    VObject::Load(description);
    DetachObjects();
    if (description && description->IsValid()) {
        mStatics = LoadObjects(description, "statics");
        mAnims = LoadObjects(description, "anims");
    }
    ShowUpgradedBackdrop();
}

VBackground::ObjectMap VBackground::LoadObjects(const std::shared_ptr<VLuaStyle>& description, const char* table) {
    ObjectMap objects;
    std::shared_ptr<VLuaStyle> entries;
    {
        VStyleReach own(*description, 0);
        entries = description->GetSubStyle(table);
    }
    if (!entries->IsValid()) return objects;
    std::shared_ptr<VSpriteManager> manager = GetManager();
    ForEachTableEntry(*entries->GetLuaTable(), [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable()) return;
        std::shared_ptr<VObject> object = VObject::Create(LowerCase(key), TString(), 0);
        object->Load(VLuaStyle::CreateFromObject(entries, value));
        // Shows its first look and starts a continuous animation.
        object->Reset();
        objects[key] = object;
        if (manager) manager->AddSprite(object);
    });
    return objects;
}

// Each upgrade counts as shown when owned, in endless mode, or while the
// pre-level shop previews it; the last step that applies decides.
void VBackground::ShowUpgradedBackdrop() {
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::GetIfCreated();
    if (!upgrades) return;
    ShopWindow* screen = ShopWindow::GetCurrent();
    bool endless = screen && screen->IsEndlessMode();
    bool preview = screen && screen->LevelNeedsPrelevel();
    auto shown = [&](const char* upgrade) {
        return IsOwned(*upgrades, upgrade) || endless || (preview && upgrades->IsUpgradeActive(upgrade, kCategory));
    };
    bool owned1 = IsOwned(*upgrades, kUpgrade1);
    bool owned2 = IsOwned(*upgrades, kUpgrade2);
    if (shown(kUpgrade2)) SetAsset(kName, "upgrade2", kDefaultState);
    if (!owned2 && shown(kUpgrade1)) SetAsset(kName, "upgrade1", kDefaultState);
    if (!owned1 && !owned2) SetAsset(kName, kDefaultState, kDefaultState);
}

void VBackground::Reset() {
    VObject::Reset();
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::GetIfCreated();
    TString state = upgrades ? OwnedState(*upgrades) : kDefaultState;
    if (upgrades) SetAssetState(state, kDefaultState);
    for (const auto& [key, object] : mStatics) {
        TString category = object->GetProperty("category", kCategory);
        TString upgrade = object->GetProperty("upgrade", TString());
        bool owned = upgrades && upgrades->IsUpgradeOwned(upgrade, category);
        if (owned) {
            object->SetAssetState(state, kDefaultState);
            object->Reset();
            std::shared_ptr<VStateSpider> spider = VStateSpider::Create(state);
            spider->Visit(object);
            object->Visit(spider, true);
        } else {
            object->StopAnimation(false);
        }
        object->SetVisible(owned);
    }
}

void VBackground::SetManager(const std::shared_ptr<VSpriteManager>& manager) {
    std::shared_ptr<VSpriteManager> old = GetManager();
    if (manager != old) {
        for (const ObjectMap* objects : {&mStatics, &mAnims}) {
            for (const auto& [key, object] : *objects) {
                if (old) old->RemoveSprite(object);
                if (manager) manager->AddSprite(object);
            }
        }
    }
    VObject::SetManager(manager);
}

// Out of the managers that hold them, and forgotten.
void VBackground::DetachObjects() {
    for (ObjectMap* objects : {&mStatics, &mAnims}) {
        for (const auto& [key, object] : *objects) {
            if (std::shared_ptr<VSpriteManager> holder = object->GetManager()) holder->RemoveSprite(object);
        }
        objects->clear();
    }
}
