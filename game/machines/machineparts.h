// The named parts ("anim_", "static_", tanks ...) of a machine and the sounds
// of its work, for the machine kinds.
#pragma once

#include <memory>

#include "foundation/tstring.h"

class TSoundInstance;
class VCarriable;
class VChocolate;
class VChocolateLayer;
class VObject;
class VPlayer;

// Shows or hides the part; nothing when the machine lacks it.
void ShowPart(const VObject& machine, const char* part, bool visible);
// Shows the part and plays its animation; false when the machine lacks it.
bool PlayPart(const VObject& machine, const char* part, const TString& animation, bool repeat = false);
// Plays the sound once; empty without a sound manager or sound.
std::shared_ptr<TSoundInstance> PlayMachineSound(const char* name);

// The item as a chocolate that takes work of the stage; empty for anything
// else, which stays in the hand.
std::shared_ptr<VChocolate> AcceptingStage(const std::shared_ptr<VCarriable>& item, int stage);
// The hands the item takes to carry: at least one.
int HandsFor(const VCarriable& item);
// Whether the player, handing the item in, has hands enough for what the
// machine gives back (none: always).
bool CanSwap(const VPlayer& player, const VCarriable& given, const std::shared_ptr<VCarriable>& back);
// The chocolate's lowest layer; empty when it has none.
std::shared_ptr<VChocolateLayer> LowestLayer(const VChocolate& chocolate);
