// makesounds FOLDER: writes the game's synthesised sounds below FOLDER
// ("music/theme.ogg", "music/grytviken.ogg", "sfx/click.ogg",
// "sfx/customer_arrives.ogg"). The same program always writes the
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

// A tune over a bass line, the bass a little to the left: melody notes one
// beat each, bass notes bassBeats beats each (semitones from A4).
Channels Tune(const std::vector<int>& tune, const std::vector<int>& bassLine, double beat, int bassBeats) {
    std::vector<Note> melody;
    std::vector<Note> bass;
    for (size_t i = 0; i < tune.size(); ++i) {
        melody.push_back({static_cast<double>(i) * beat, beat * 0.95, NoteFrequency(tune[i]), 0.35f});
    }
    for (size_t bar = 0; bar < bassLine.size(); ++bar) {
        bass.push_back({static_cast<double>(bar) * bassBeats * beat, bassBeats * beat, NoteFrequency(bassLine[bar]), 0.3f});
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

// Four bars of a slow tune.
Channels Theme() {
    return Tune({3, 7, 10, 7, 5, 8, 12, 8, 3, 7, 10, 15, 14, 10, 7, 3}, {-21, -16, -14, -21}, 0.375, 4);
}

// The first shop's tune: eight bars of a lilting waltz that ends where it
// began, so it loops.
Channels Grytviken() {
    return Tune({0, 4, 7, 5, 4, 2, 0, 2, 4, 5, 4, 2, 7, 9, 7, 5, 4, 2, 4, 2, -1, 0, -5, -3},
                {-24, -19, -20, -17, -24, -22, -17, -24}, 0.3, 3);
}

// A shop bell: a high note, then a lower one ringing on.
Channels CustomerArrives() {
    std::vector<float> mono;
    makesounds::MixNotes(mono, kSampleRate, {{0.0, 0.35, NoteFrequency(19), 0.5f}, {0.16, 0.6, NoteFrequency(15), 0.45f}});
    return Channels{mono};
}

// A short bright tick: two high notes a moment apart.
Channels Click() {
    std::vector<float> mono;
    makesounds::MixNotes(mono, kSampleRate, {{0.0, 0.06, NoteFrequency(27), 0.6f}, {0.015, 0.05, NoteFrequency(34), 0.3f}});
    return Channels{mono};
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
    made = Make(folder / "music" / "grytviken.ogg", Grytviken()) && made;
    made = Make(folder / "sfx" / "customer_arrives.ogg", CustomerArrives()) && made;
    return made ? 0 : 1;
}
