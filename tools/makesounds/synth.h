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

// Adds each note, a sine with two soft overtones, to samples of the given
// rate; the buffer grows to hold the last note.
void MixNotes(std::vector<float>& samples, int sampleRate, const std::vector<Note>& notes);

// The frequency of the note `semitones` above A4 (440 Hz).
double NoteFrequency(int semitones);

}  // namespace makesounds
