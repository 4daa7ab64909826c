#pragma once
// Figures measured on a rendered sound (one channel, usually the mean of left and
// right): level, pitch near the start, decay and brightness. The exporter prints them
// for every program; the tests use them to check each program against its promise.
#include <vector>

namespace SoundAnalysis
{
// The pitch estimator's range: lags for 30 Hz to 4 kHz.
constexpr double kMinPitchHz = 30.0;
constexpr double kMaxPitchHz = 4000.0;
// The analysis window of the pitch estimator, in seconds (its first half holds one period of 30 Hz
// and more).
constexpr double kPitchWindowSeconds = 0.07;

struct Figures
{
  double peakDb = 0.0;       // dBFS of the largest sample
  double rmsDb = 0.0;        // dBFS over the whole render
  double pitchAt10ms = 0.0;  // Hz, 0 when no period is found
  double pitchAt100ms = 0.0; // Hz, 0 when no period is found
  // Seconds from the start until the level falls 40 dB below the peak for good; -1 when
  // it is still within 40 dB at the end of the render.
  double fall40dB = -1.0;
  double centroidHz = 0.0; // magnitude-weighted mean frequency of the whole render
  bool finite = true;      // no NaN or infinite sample
};

// The fundamental frequency of x around `start` seconds: a YIN estimate (cumulative
// mean normalised difference, threshold 0.15, parabolic refinement) over a window of
// kPitchWindowSeconds that starts there (the deepest dip when none is below the
// threshold but one is below 0.7). 0 for silence, a window that runs out of
// samples, or no period between kMinPitchHz and kMaxPitchHz.
double PitchAt(const std::vector<double>& x, double sampleRate, double start);

// Seconds until the 5 ms peak level has dropped below the overall peak by `dropDb` and
// never comes back; -1 when the last window is still above that level; 0 for silence.
double FallTime(const std::vector<double>& x, double sampleRate, double dropDb);

// The spectral centroid in Hz: the average of 2048-point Hann-windowed magnitude
// spectra (hop 1024) weighted by magnitude; 0 for silence.
double SpectralCentroid(const std::vector<double>& x, double sampleRate);

// The level of x in dBFS between two times (RMS); -infinity for silence.
double RmsDbBetween(const std::vector<double>& x, double sampleRate, double from, double to);

// Every figure at once.
Figures Analyse(const std::vector<double>& x, double sampleRate);
} // namespace SoundAnalysis
