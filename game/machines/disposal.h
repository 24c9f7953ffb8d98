// The bin: the player throws away what both hands hold, and the belt's end
// drops its chocolates in here.
#pragma once

#include <memory>

#include "game/machines/station.h"

class VDisposal : public VStation {
public:
    static std::shared_ptr<VDisposal> Create(int number);
    explicit VDisposal(int number);
    ~VDisposal() override;

    // Shown with "kDisposal"; no machines to relink, no tabletop.
    void ApplyUpgrades() override;
    // Hand 2, then hand 1, into the bin; their types (and a chocolate's
    // layers) join "TrashUsedItemID". Even an empty-handed visit opens the lid.
    void Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point) override;
    // The lid's animation and the sound.
    void Activate();
};
