// makesounds FOLDER: writes the game's synthesised sounds below FOLDER
// ("music/theme.ogg", "sfx/click.ogg", "sfx/pickup_drop.ogg",
// "sfx/buttonclick.ogg"). The same program always writes the
// same bytes. Each file is written beside its place and then renamed, so a
// reader never sees half a file.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/makesounds/oggencoder.h"
#include "tools/makesounds/synth.h"

namespace {

using makesounds::Channels;
using makesounds::Note;
using makesounds::NoteFrequency;

const int kSampleRate = 44100;

// Four bars of a slow tune over a bass line, the bass a little to the left.
Channels Theme() {
    const int kMelody[] = {3, 7, 10, 7, 5, 8, 12, 8, 3, 7, 10, 15, 14, 10, 7, 3};
    const int kBass[] = {-21, -16, -14, -21};
    const double kBeat = 0.375;
    std::vector<Note> melody;
    std::vector<Note> bass;
    for (int i = 0; i < 16; ++i) {
        melody.push_back({i * kBeat, kBeat * 0.95, NoteFrequency(kMelody[i]), 0.35f});
    }
    for (int bar = 0; bar < 4; ++bar) {
        bass.push_back({bar * 4 * kBeat, 4 * kBeat, NoteFrequency(kBass[bar]), 0.3f});
    }
    std::vector<float> high;
    std::vector<float> low;
    makesounds::MixNotes(high, kSampleRate, melody);
    makesounds::MixNotes(low, kSampleRate, bass);
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

// One channel of the notes.
Channels Mono(const std::vector<Note>& notes) {
    std::vector<float> mono;
    makesounds::MixNotes(mono, kSampleRate, notes);
    return Channels{mono};
}

// A short bright tick: two high notes a moment apart.
Channels Click() { return Mono({{0.0, 0.06, NoteFrequency(27), 0.6f}, {0.015, 0.05, NoteFrequency(34), 0.3f}}); }

// A soft knock of something set down or picked up: a low note under a shorter one.
Channels PickupDrop() { return Mono({{0.0, 0.09, NoteFrequency(-14), 0.6f}, {0.01, 0.06, NoteFrequency(-2), 0.35f}}); }

// A light tap of a machine's option button.
Channels ButtonClick() { return Mono({{0.0, 0.04, NoteFrequency(19), 0.5f}}); }

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
    made = Make(folder / "sfx" / "pickup_drop.ogg", PickupDrop()) && made;
    made = Make(folder / "sfx" / "buttonclick.ogg", ButtonClick()) && made;
    return made ? 0 : 1;
}
