// Tones for the game's generated sounds: notes with an attack and decay
// envelope mixed into a buffer of samples.
#pragma once

#include <vector>

namespace makesounds {

struct Note {
    double start;     // seconds
    double length;    // seconds
    double frequency; // Hz
    float level;      // peak, 0..1
};

// The colour of a note: the weights of its second and third harmonics over
// the sine, and how it fades (1 evenly; above 1 quickly like a plucked
// string; below 1 it holds like a reed).
struct Voice {
    float second = 0.3f;
    float third = 0.1f;
    float fade = 2.0f;
};

// Adds each note in the voice to samples of the given rate; the buffer
// grows to hold the last note.
void MixNotes(std::vector<float>& samples, int sampleRate, const std::vector<Note>& notes, const Voice& voice = {});

// A tone whose pitch slides from one frequency to another, for whines,
// thuds and falls.
struct Glide {
    double start;  // seconds
    double length; // seconds
    double from;   // Hz
    double to;     // Hz
    float level;   // peak, 0..1
};

void MixGlides(std::vector<float>& samples, int sampleRate, const std::vector<Glide>& glides);

// A burst of noise, smoothed by `dullness` (0 bright hiss .. below 1 a dull
// rumble), rising and falling over its length, for sprays, hits and
// clatter. The same seed gives the same noise.
struct Noise {
    double start;   // seconds
    double length;  // seconds
    float dullness; // 0..1
    float level;    // peak, 0..1
    unsigned seed;
};

void MixNoise(std::vector<float>& samples, int sampleRate, const std::vector<Noise>& bursts);

// The frequency of the note `semitones` above A4 (440 Hz).
double NoteFrequency(int semitones);

}  // namespace makesounds
