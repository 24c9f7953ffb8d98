// The level file's "stationType": one numbering for stations and the
// machines on them. Any other value is a plain station or machine.
#pragma once

enum StationKind {
    kPlainStation = 1,
    kMixerStation = 2,
    kIngredientStation = 3,
    kPressStation = 4,
    kToppingStation = 5,
    kSauceStation = 6,
    kInfusionStation = 7,
    kDrinkStation = 8,
    kDisposalStation = 9,
    kDeliveryStation = 10,
    kDisplayStation = 11,
    kConveyorStation = 12,
};
