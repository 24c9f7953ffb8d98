// The level's customer factory: the customer templates of the shop's common
// kinds and of the level's own kinds, the art every customer gets a copy of
// (thought bubble, menu card, money, sauce and drink items), and live
// customers made as copies of a template, by kind or drawn at random.
#pragma once

#include <map>
#include <memory>

#include "foundation/tstring.h"

class VCarriable;
class VCustomer;
class VLuaStyle;
class VObject;
class VThoughtBubble;

class VCustomerVendor : public std::enable_shared_from_this<VCustomerVendor> {
public:
    using Templates = std::map<TString, std::shared_ptr<VCustomer>>;

    static std::shared_ptr<VCustomerVendor> Create();

    // The four art templates from the level's "objects" table:
    // "thought_bubble", "anim_menu", "anim_money" and "orderables". A
    // missing entry leaves its template, and so every copy, empty.
    void SetUpAssets(const std::shared_ptr<VLuaStyle>& objects);
    // The templates of the shop's "posse" table (the art entries are no
    // kinds there) and of the level's "customers" table, each under its
    // "name"; a later one of the same name replaces the earlier.
    void LoadCommonTypes(const std::shared_ptr<VLuaStyle>& table);
    void LoadLevelTypes(const std::shared_ptr<VLuaStyle>& table);
    // A new customer of the kind, the common kinds first; empty, logged,
    // for an unknown kind.
    std::shared_ptr<VCustomer> CreateCustomer(const TString& type);
    // Of any kind; empty without templates.
    std::shared_ptr<VCustomer> CreateRandomCustomer();

    // A customer's own copies of the art; empty without their template.
    std::shared_ptr<VThoughtBubble> MakeBubble() const;
    std::shared_ptr<VObject> MakeMenu() const;
    std::shared_ptr<VObject> MakeMoney() const;
    std::shared_ptr<VCarriable> MakeOrderables() const;

    const Templates& GetCommonTypes() const { return mCommonTypes; }
    const Templates& GetLevelTypes() const { return mLevelTypes; }

private:
    VCustomerVendor() = default;

    static void LoadTypes(const std::shared_ptr<VLuaStyle>& table, bool common, Templates& into);
    std::shared_ptr<VCustomer> MakeFrom(const std::shared_ptr<VCustomer>& source);

    Templates mCommonTypes;
    Templates mLevelTypes;
    std::shared_ptr<VObject> mMenuTemplate;
    std::shared_ptr<VThoughtBubble> mBubbleTemplate;
    std::shared_ptr<VObject> mMoneyTemplate;
    std::shared_ptr<VCarriable> mOrderablesTemplate;
};
