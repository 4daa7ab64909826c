#pragma once
// One program of a module played the way it is meant to be heard: kicks as one hit,
// drums as a short hit, effects held, basses, instruments and leads as a short phrase,
// pads as a held chord. Each render uses a fresh instance of the module, so no tail of
// one program reaches the next.
#include <string>
#include <vector>

namespace ProgramRender
{
struct Note
{
  int note = 60;
  double start = 0.0;  // seconds
  double length = 0.0; // seconds
};

struct Plan
{
  const char* kind = "";   // "hit", "held", "phrase" or "chord"
  std::vector<Note> notes; // the first note is the one the pitch figures refer to
  double seconds = 1.0;    // length of the render
};

// The plan for a factory program slot (its section decides); `scale` shortens every
// time in it (1 for the full export, less for quick checks).
Plan PlanFor(int program, double scale = 1.0);

struct Result
{
  std::string name;
  std::vector<double> left, right, mono; // mono = (left + right) / 2
  double noteHz = 0.0; // the first note's frequency by the program's note mode and pitch
};

// Loads the module, starts it at sampleRate with 512-frame blocks, selects the program
// and renders the plan. false with *error set when the module cannot be loaded.
bool Render(const std::string& modulePath, int program, const Plan& plan, double sampleRate,
            Result* out, std::string* error);

// The frequency a note sounds at under a note transpose mode value and an oscillator
// pitch value (both normalised): 880 Hz for note 69 in the standard mode, half of it one
// octave down, twice one octave up, the fixed kick pitches for modes 3 to 7, the root
// for the arpeggios.
double NoteFrequency(int note, double modeValue, double pitchValue);
} // namespace ProgramRender
