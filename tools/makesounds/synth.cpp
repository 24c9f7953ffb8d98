#include "tools/makesounds/synth.h"

#include <algorithm>
#include <cmath>

namespace makesounds {

namespace {

const double kTwoPi = 6.283185307179586;
// Short enough to keep the start crisp, long enough not to click.
const double kAttackSeconds = 0.01;

float Envelope(double t, double length) {
    if (t < kAttackSeconds) {
        return static_cast<float>(t / kAttackSeconds);
    }
    double rest = (t - kAttackSeconds) / std::max(length - kAttackSeconds, kAttackSeconds);
    return static_cast<float>(std::pow(1.0 - std::min(rest, 1.0), 2.0));
}

}  // namespace

double NoteFrequency(int semitones) {
    return 440.0 * std::pow(2.0, semitones / 12.0);
}

void MixNotes(std::vector<float>& samples, int sampleRate, const std::vector<Note>& notes) {
    for (const Note& note : notes) {
        size_t first = static_cast<size_t>(note.start * sampleRate);
        size_t count = static_cast<size_t>(note.length * sampleRate);
        if (samples.size() < first + count) {
            samples.resize(first + count, 0.0f);
        }
        for (size_t i = 0; i < count; ++i) {
            double t = static_cast<double>(i) / sampleRate;
            double phase = kTwoPi * note.frequency * t;
            double tone = std::sin(phase) + 0.3 * std::sin(2.0 * phase) + 0.1 * std::sin(3.0 * phase);
            samples[first + i] += static_cast<float>(tone / 1.4) * note.level * Envelope(t, note.length);
        }
    }
}

}  // namespace makesounds
