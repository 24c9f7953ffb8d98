// The option upgrades of a machine kind: option i (from 1) is there when the
// upgrade named by the format with i is owned; its button (and its tank,
// when the kind has tanks) shows exactly then, and its quality upgrade
// decides whether the button shows as available.
#pragma once

class VMachine;

struct VOptionUpgrades {
    // "kMixer%i" and the like, category "station".
    const char* owned;
    // "kMixerQ%i"; null when the kind has no quality upgrades.
    const char* quality;
    // "tank%i"; null when the kind has no tanks.
    const char* tank;
};

// Applies them to the machine's options; the machine is enabled when one
// option is there. The base's upgrade step runs when it is enabled or the
// game runs endless, and the machine shows exactly when it is enabled.
void ApplyOptionUpgrades(VMachine& machine, const VOptionUpgrades& upgrades);

// The highest option (from 1) whose upgrade, named by the format, is owned;
// 0 for none.
int HighestOwnedOption(const VMachine& machine, const char* owned);
