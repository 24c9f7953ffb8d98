// The shop's highlighter: told of each upgrade that changes, it makes the
// upgrade's targets glow while the upgrade is owned (previewed or bought)
// and takes the glow off them otherwise.
#pragma once

#include <memory>

#include "game/level/upgrade.h"

class VGlowEffect;

class VUpgradeSelect : public VUpgradeSpider {
public:
    static std::shared_ptr<VUpgradeSelect> Create();
    // The glow stops with the highlighter.
    ~VUpgradeSelect() override;

    void SetUpgrade(const std::shared_ptr<VUpgrade>& upgrade) override { mUpgrade = upgrade; }
    // Whether the glow reaches the targets' children.
    void SetRecursive(bool recursive) override { mRecursive = recursive; }
    // Nothing once the upgrade is gone.
    bool Visit(const std::shared_ptr<VSprite>& target) override;

    const std::shared_ptr<VGlowEffect>& GetGlow() const { return mGlow; }

private:
    VUpgradeSelect();

    std::weak_ptr<VUpgrade> mUpgrade;
    bool mRecursive = false;
    std::shared_ptr<VGlowEffect> mGlow;
};
