#include "tools/makesounds/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace makesounds {

namespace {

const double kTwoPi = 6.283185307179586;
// Short enough to keep the start crisp, long enough not to click.
const double kAttackSeconds = 0.01;

float Envelope(double t, double length, double fade = 2.0) {
    if (t < kAttackSeconds) {
        return static_cast<float>(t / kAttackSeconds);
    }
    double rest = (t - kAttackSeconds) / std::max(length - kAttackSeconds, kAttackSeconds);
    return static_cast<float>(std::pow(1.0 - std::min(rest, 1.0), fade));
}

// The samples from start for length seconds, the buffer grown to hold them.
float* Span(std::vector<float>& samples, int sampleRate, double start, double length, size_t& count) {
    size_t first = static_cast<size_t>(start * sampleRate);
    count = static_cast<size_t>(length * sampleRate);
    if (samples.size() < first + count) samples.resize(first + count, 0.0f);
    return samples.data() + first;
}

}  // namespace

double NoteFrequency(int semitones) {
    return 440.0 * std::pow(2.0, semitones / 12.0);
}

void MixNotes(std::vector<float>& samples, int sampleRate, const std::vector<Note>& notes, const Voice& voice) {
    // The harmonics together peak about as high as the sine alone.
    const double weight = 1.0 + voice.second + voice.third;
    for (const Note& note : notes) {
        size_t count = 0;
        float* out = Span(samples, sampleRate, note.start, note.length, count);
        for (size_t i = 0; i < count; ++i) {
            double t = static_cast<double>(i) / sampleRate;
            double phase = kTwoPi * note.frequency * t;
            double tone = std::sin(phase) + voice.second * std::sin(2.0 * phase) + voice.third * std::sin(3.0 * phase);
            out[i] += static_cast<float>(tone / weight) * note.level * Envelope(t, note.length, voice.fade);
        }
    }
}

void MixGlides(std::vector<float>& samples, int sampleRate, const std::vector<Glide>& glides) {
    for (const Glide& glide : glides) {
        size_t count = 0;
        float* out = Span(samples, sampleRate, glide.start, glide.length, count);
        double phase = 0.0;
        for (size_t i = 0; i < count; ++i) {
            double t = static_cast<double>(i) / sampleRate;
            double along = t / glide.length;
            phase += kTwoPi * (glide.from + (glide.to - glide.from) * along) / sampleRate;
            double tone = std::sin(phase) + 0.25 * std::sin(2.0 * phase);
            out[i] += static_cast<float>(tone / 1.25) * glide.level * Envelope(t, glide.length);
        }
    }
}

void MixNoise(std::vector<float>& samples, int sampleRate, const std::vector<Noise>& bursts) {
    for (const Noise& burst : bursts) {
        size_t count = 0;
        float* out = Span(samples, sampleRate, burst.start, burst.length, count);
        // A small linear congruential generator: the same bytes on every machine.
        uint32_t state = burst.seed * 2654435761u + 1u;
        float smoothed = 0.0f;
        for (size_t i = 0; i < count; ++i) {
            state = state * 1664525u + 1013904223u;
            float white = static_cast<float>(state >> 8) / static_cast<float>(1u << 23) - 1.0f;
            smoothed += (white - smoothed) * (1.0f - burst.dullness);
            double along = static_cast<double>(i) / static_cast<double>(count);
            float swell = static_cast<float>(std::sin(3.141592653589793 * along));
            out[i] += smoothed * burst.level * swell;
        }
    }
}

}  // namespace makesounds
