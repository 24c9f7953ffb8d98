// makesounds FOLDER: writes the game's synthesised sounds below FOLDER
// ("music/theme.ogg", each location's "music/<location>.ogg" and the effects
// of "sfx/"). The same program always writes the same bytes. Each file is
// written beside its place and then renamed, so a reader never sees half a
// file.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tools/makesounds/oggencoder.h"
#include "tools/makesounds/synth.h"

namespace {

using makesounds::Channels;
using makesounds::Note;
using makesounds::NoteFrequency;

const int kSampleRate = 44100;

// A tune over a bass line, the bass a little to the left: melody notes one
// beat each, bass notes bassBeats beats each, in semitones above the key
// (itself in semitones from A4), all in one voice.
struct Score {
    std::vector<int> tune;
    std::vector<int> bassLine;
    int key;
    double beat;
    int bassBeats;
    makesounds::Voice voice;
};

Channels Tune(const Score& score) {
    std::vector<Note> melody;
    std::vector<Note> bass;
    const double beat = score.beat;
    for (size_t i = 0; i < score.tune.size(); ++i) {
        melody.push_back({static_cast<double>(i) * beat, beat * 0.95, NoteFrequency(score.key + score.tune[i]), 0.35f});
    }
    for (size_t bar = 0; bar < score.bassLine.size(); ++bar) {
        bass.push_back({static_cast<double>(bar) * score.bassBeats * beat, score.bassBeats * beat,
                        NoteFrequency(score.key + score.bassLine[bar]), 0.3f});
    }
    std::vector<float> high;
    std::vector<float> low;
    makesounds::MixNotes(high, kSampleRate, melody, score.voice);
    makesounds::MixNotes(low, kSampleRate, bass, score.voice);
    size_t frames = std::max(high.size(), low.size());
    high.resize(frames, 0.0f);
    low.resize(frames, 0.0f);
    Channels stereo(2, std::vector<float>(frames));
    for (size_t i = 0; i < frames; ++i) {
        stereo[0][i] = high[i] * 0.8f + low[i];
        stereo[1][i] = high[i] + low[i] * 0.7f;
    }
    return stereo;
}

// Four bars of a slow tune.
Channels Theme() {
    return Tune({{3, 7, 10, 7, 5, 8, 12, 8, 3, 7, 10, 15, 14, 10, 7, 3}, {-21, -16, -14, -21}, 0, 0.375, 4, {}});
}

// Each location's music: eight bars or so that end where they began, so
// they loop, each in its own key, tempo and voice.
struct LocationMusic {
    const char* location;
    Score score;
};

std::vector<LocationMusic> LocationTunes() {
    return {
        // A lilting waltz in A.
        {"grytviken",
         {{0, 4, 7, 5, 4, 2, 0, 2, 4, 5, 4, 2, 7, 9, 7, 5, 4, 2, 4, 2, -1, 0, -5, -3},
          {-24, -19, -20, -17, -24, -22, -17, -24},
          0,
          0.3,
          3,
          {}}},
        // A slow five-note air in D, rung on bells.
        {"namche",
         {{0, 2, 4, 7, 9, 7, 4, 2, 4, 7, 9, 12, 9, 7, 4, 7, 2, 4, 2, 0, -3, 0, 2, 4, 7, 4, 2, 0, -3, -5, -3, 0},
          {-24, -17, -20, -24, -22, -17, -19, -24},
          -7,
          0.36,
          4,
          {0.1f, 0.5f, 3.0f}}},
        // A quick dance in E on a plucked marimba.
        {"krakatoa",
         {{0, 4, 7, 4, 9, 7, 4, 0, 2, 5, 9, 5, 11, 9, 5, 2, 0, 4, 7, 12, 11, 7, 4, 2, 5, 4, 2, -1, 0, 2, 4, 0},
          {-24, -19, -22, -17, -24, -19, -17, -24},
          -5,
          0.22,
          4,
          {0.05f, 0.4f, 4.0f}}},
        // A grave minor air in B flat on a held, organ-like voice.
        {"kamchatka",
         {{0, 3, 7, 8, 7, 3, 5, 2, 3, 7, 10, 8, 7, 5, 3, 2, 0, 3, 5, 7, 8, 7, 5, 3, 2, -1, 2, 5, 3, 2, -1, 0},
          {-24, -21, -19, -17, -24, -16, -19, -24},
          -11,
          0.4,
          4,
          {0.5f, 0.25f, 0.7f}}},
        // A rippling dorian tune in G on a soft flute.
        {"iquitos",
         {{0, 3, 5, 7, 9, 7, 5, 3, 5, 7, 10, 9, 7, 5, 3, 2, 0, 2, 3, 5, 7, 5, 3, 0, 2, 3, 2, 0, -2, 0, -2, 0},
          {-24, -19, -21, -14, -24, -17, -19, -24},
          -2,
          0.25,
          4,
          {0.1f, 0.02f, 1.0f}}},
        // A winding tune in C with a lowered second, on a reed.
        {"gaberoun",
         {{0, 1, 4, 5, 7, 5, 4, 1, 0, 1, 4, 7, 8, 7, 5, 4, 5, 7, 8, 11, 12, 11, 8, 7, 5, 4, 1, 4, 1, 0, -1, 0},
          {-24, -23, -19, -17, -24, -20, -23, -24},
          3,
          0.28,
          4,
          {0.6f, 0.45f, 1.5f}}},
    };
}

// A mono effect of the notes.
Channels Notes(const std::vector<Note>& notes) {
    std::vector<float> mono;
    makesounds::MixNotes(mono, kSampleRate, notes);
    return Channels{mono};
}

// A short bright tick: two high notes a moment apart.
Channels Click() {
    return Notes({{0.0, 0.06, NoteFrequency(27), 0.6f}, {0.015, 0.05, NoteFrequency(34), 0.3f}});
}

// The shop's effects, each a few notes: short blips for what happens at a
// counter, rising chimes for money and goals.
struct Effect {
    const char* name;
    std::vector<Note> notes;
};

std::vector<Effect> ShopEffects() {
    return {
        // An order taken: two soft blips.
        {"menu.ogg", {{0.0, 0.08, NoteFrequency(15), 0.5f}, {0.09, 0.08, NoteFrequency(19), 0.5f}}},
        // An item handed over, a customer on the way out: a falling pair.
        {"customer_leaves.ogg", {{0.0, 0.1, NoteFrequency(22), 0.45f}, {0.1, 0.14, NoteFrequency(15), 0.4f}}},
        // A gift eaten: three quick low blips.
        {"chomp.ogg",
         {{0.0, 0.05, NoteFrequency(-2), 0.6f}, {0.07, 0.05, NoteFrequency(-4), 0.6f},
          {0.14, 0.05, NoteFrequency(-2), 0.6f}}},
        // Money collected: a rising arpeggio.
        {"score_board.ogg",
         {{0.0, 0.1, NoteFrequency(19), 0.4f}, {0.07, 0.1, NoteFrequency(23), 0.4f},
          {0.14, 0.1, NoteFrequency(26), 0.4f}, {0.21, 0.25, NoteFrequency(31), 0.45f}}},
        // The goal: a major chime.
        {"goal.ogg",
         {{0.0, 0.6, NoteFrequency(3), 0.35f}, {0.12, 0.6, NoteFrequency(7), 0.35f},
          {0.24, 0.8, NoteFrequency(10), 0.4f}}},
        // A customer at the counter: a shop bell, high, then lower and ringing on.
        {"customer_arrives.ogg", {{0.0, 0.35, NoteFrequency(19), 0.5f}, {0.16, 0.6, NoteFrequency(15), 0.45f}}},
        // Mastery: the chime climbing an octave higher.
        {"master.ogg",
         {{0.0, 0.5, NoteFrequency(3), 0.35f}, {0.1, 0.5, NoteFrequency(7), 0.35f},
          {0.2, 0.5, NoteFrequency(10), 0.35f}, {0.3, 1.0, NoteFrequency(15), 0.45f}}},
        // Something set down in a machine or picked up: a low knock under a shorter note.
        {"pickup_drop.ogg", {{0.0, 0.09, NoteFrequency(-14), 0.6f}, {0.01, 0.06, NoteFrequency(-2), 0.35f}}},
        // A machine's option button: a light tap.
        {"buttonclick.ogg", {{0.0, 0.04, NoteFrequency(19), 0.5f}}},
        // An upgrade bought: a two-tone chime, the fifth above ringing on.
        {"purchase_upgrade_button.ogg", {{0.0, 0.35, NoteFrequency(15), 0.45f}, {0.14, 0.7, NoteFrequency(22), 0.45f}}},
    };
}

// One channel of ready samples.
Channels FromSamples(std::vector<float> samples) {
    return Channels{std::move(samples)};
}

// A servo whining up as the arm lowers, over a faint hiss of air.
Channels RobotArm(double from, double to) {
    std::vector<float> mono;
    makesounds::MixGlides(mono, kSampleRate, {{0.0, 0.5, from, to, 0.35f}, {0.0, 0.5, from * 2.0, to * 2.0, 0.1f}});
    makesounds::MixNoise(mono, kSampleRate, {{0.0, 0.5, 0.8f, 0.08f, 1}});
    return FromSamples(std::move(mono));
}

// A long soft hiss.
Channels Spray() {
    std::vector<float> mono;
    makesounds::MixNoise(mono, kSampleRate, {{0.0, 0.8, 0.35f, 0.3f, 2}});
    return FromSamples(std::move(mono));
}

// A heavy weight landing: a falling thud and a short crunch.
Channels Stamp() {
    std::vector<float> mono;
    makesounds::MixGlides(mono, kSampleRate, {{0.0, 0.25, 140.0, 45.0, 0.7f}});
    makesounds::MixNoise(mono, kSampleRate, {{0.0, 0.08, 0.6f, 0.4f, 3}});
    return FromSamples(std::move(mono));
}

// A latch clacks open and the bucket falls away.
Channels TrapDoor() {
    std::vector<float> mono;
    makesounds::MixNoise(mono, kSampleRate, {{0.0, 0.06, 0.2f, 0.45f, 4}, {0.25, 0.12, 0.7f, 0.35f, 5}});
    makesounds::MixGlides(mono, kSampleRate, {{0.04, 0.3, 420.0, 110.0, 0.25f}});
    return FromSamples(std::move(mono));
}

// A motor humming up to speed under a rattle.
Channels MachineNoise() {
    std::vector<float> mono;
    makesounds::MixGlides(mono, kSampleRate, {{0.0, 0.6, 70.0, 110.0, 0.4f}, {0.0, 0.6, 140.0, 220.0, 0.12f}});
    makesounds::MixNoise(mono, kSampleRate, {{0.0, 0.6, 0.85f, 0.12f, 6}});
    return FromSamples(std::move(mono));
}

// Liquid pumped in gulps: falling bubbles.
Channels GlugMachine() {
    std::vector<float> mono;
    std::vector<makesounds::Glide> gulps;
    for (int gulp = 0; gulp < 4; ++gulp) gulps.push_back({0.22 * gulp, 0.12, 420.0 - 30.0 * gulp, 160.0, 0.45f});
    makesounds::MixGlides(mono, kSampleRate, gulps);
    return FromSamples(std::move(mono));
}

// A funnel's motor whirring.
Channels ToppingMachine() {
    std::vector<float> mono;
    makesounds::MixGlides(mono, kSampleRate, {{0.0, 0.5, 260.0, 300.0, 0.2f}});
    makesounds::MixNoise(mono, kSampleRate, {{0.0, 0.5, 0.7f, 0.1f, 7}});
    return FromSamples(std::move(mono));
}

// Sprinkles pattering down: short bright ticks.
Channels Topping() {
    std::vector<Note> ticks;
    for (int tick = 0; tick < 8; ++tick) {
        ticks.push_back({0.05 * tick, 0.03, NoteFrequency(24 + (tick * 5) % 7), 0.25f});
    }
    return Notes(ticks);
}

// A press head sinking into bubbling liquid: a low glide and a slow fizz.
Channels InfusionMachine() {
    std::vector<float> mono;
    makesounds::MixGlides(mono, kSampleRate, {{0.0, 0.4, 220.0, 90.0, 0.35f}});
    makesounds::MixNoise(mono, kSampleRate, {{0.1, 0.7, 0.5f, 0.15f, 8}});
    return FromSamples(std::move(mono));
}

// The airship's engine: a hum with a slow throb, in whole periods of every
// part, so the loop joins without a click.
Channels EngineLoop() {
    const double kPi = 3.14159265358979;
    std::vector<float> mono(kSampleRate);
    for (size_t i = 0; i < mono.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double hum = 0.5 * std::sin(2 * kPi * 55 * t) + 0.25 * std::sin(2 * kPi * 110 * t) +
                     0.1 * std::sin(2 * kPi * 165 * t);
        double throb = 0.75 + 0.25 * std::sin(2 * kPi * 6 * t);
        mono[i] = static_cast<float>(0.5 * hum * throb);
    }
    return FromSamples(std::move(mono));
}

// A box folded shut and taped: two flaps, then a rasp.
Channels BoxStation() {
    std::vector<float> mono;
    makesounds::MixNoise(mono, kSampleRate, {{0.0, 0.07, 0.5f, 0.4f, 6}, {0.15, 0.07, 0.5f, 0.4f, 7},
                                             {0.3, 0.35, 0.1f, 0.25f, 8}});
    return FromSamples(std::move(mono));
}

// The bin's lid clanging open, a thud inside and the lid falling shut.
Channels Disposal() {
    std::vector<float> mono;
    makesounds::MixNotes(mono, kSampleRate, {{0.0, 0.12, NoteFrequency(-14), 0.4f}});
    makesounds::MixNoise(mono, kSampleRate, {{0.1, 0.1, 0.6f, 0.3f, 9}, {0.3, 0.08, 0.4f, 0.3f, 10}});
    return FromSamples(std::move(mono));
}

// A hook catching the box and a rising whistle as it goes up.
Channels PickupZeppelin() {
    std::vector<float> mono;
    makesounds::MixNotes(mono, kSampleRate, {{0.0, 0.08, NoteFrequency(-7), 0.5f}});
    makesounds::MixGlides(mono, kSampleRate, {{0.08, 0.5, 300.0, 700.0, 0.3f}});
    return FromSamples(std::move(mono));
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::filesystem::path temporary = path;
    temporary += ".part";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "makesounds: cannot write %s\n", temporary.c_str());
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    std::filesystem::rename(temporary, path, error);
    if (!written || error) {
        std::fprintf(stderr, "makesounds: cannot write %s\n", path.c_str());
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

bool Make(const std::filesystem::path& path, const Channels& channels) {
    std::string bytes = makesounds::EncodeOgg(channels, kSampleRate, 0.4f);
    if (bytes.empty()) {
        std::fprintf(stderr, "makesounds: the encoder refused %s\n", path.c_str());
        return false;
    }
    return WriteFile(path, bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makesounds FOLDER\n");
        return 2;
    }
    std::filesystem::path folder = argv[1];
    bool made = Make(folder / "music" / "theme.ogg", Theme());
    made = Make(folder / "sfx" / "click.ogg", Click()) && made;
    for (const LocationMusic& music : LocationTunes()) {
        made = Make(folder / "music" / (std::string(music.location) + ".ogg"), Tune(music.score)) && made;
    }
    for (const Effect& effect : ShopEffects()) made = Make(folder / "sfx" / effect.name, Notes(effect.notes)) && made;
    made = Make(folder / "sfx" / "robot_arm.ogg", RobotArm(180.0, 330.0)) && made;
    made = Make(folder / "sfx" / "robot_arm_2.ogg", RobotArm(330.0, 180.0)) && made;
    made = Make(folder / "sfx" / "spray.ogg", Spray()) && made;
    made = Make(folder / "sfx" / "stamp.ogg", Stamp()) && made;
    made = Make(folder / "sfx" / "barrel_trap_door.ogg", TrapDoor()) && made;
    made = Make(folder / "sfx" / "machine_noise.ogg", MachineNoise()) && made;
    made = Make(folder / "sfx" / "glug_machine.ogg", GlugMachine()) && made;
    made = Make(folder / "sfx" / "topping_machine.ogg", ToppingMachine()) && made;
    made = Make(folder / "sfx" / "topping.ogg", Topping()) && made;
    made = Make(folder / "sfx" / "infusion_machine.ogg", InfusionMachine()) && made;
    made = Make(folder / "sfx" / "sauce_arm_extend.ogg", RobotArm(240.0, 400.0)) && made;
    made = Make(folder / "sfx" / "sauce_arm_retract.ogg", RobotArm(400.0, 240.0)) && made;
    made = Make(folder / "sfx" / "sauce_clink.ogg",
                Notes({{0.0, 0.12, NoteFrequency(36), 0.4f}, {0.02, 0.1, NoteFrequency(43), 0.25f}})) && made;
    made = Make(folder / "sfx" / "sauce_spray.ogg", Spray()) && made;
    made = Make(folder / "sfx" / "box_station.ogg", BoxStation()) && made;
    made = Make(folder / "sfx" / "pickup_zepplin.ogg", PickupZeppelin()) && made;
    made = Make(folder / "sfx" / "zepplin_loop.ogg", EngineLoop()) && made;
    made = Make(folder / "sfx" / "disposal.ogg", Disposal()) && made;
    return made ? 0 : 1;
}
