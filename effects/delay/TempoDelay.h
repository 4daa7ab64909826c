#pragma once

#include "effects/AudioProcessingUnit.h"
#include "effects/oscfilter/KvFilterPaulKellett.h"

#include <vector>

namespace Korvane
{

// Stereo feedback delay of one beat of the host tempo. Each side has its own line;
// the spread lengthens one side and shortens the other (spread 1: 1.125 beats left,
// 0.875 right; spread 0 the reverse), and a Kellett low-pass in each feedback path
// darkens the repeats ("Dump": 1 bright, 0 dark). The delay has no on/off of its own:
// it always runs and is heard through its amount, so its lines keep running at
// amount 0. The lines hold 4 seconds of the sample rate they were sized for; longer
// beats are cut to that length.
//
// Every line position stays below its wrap point: when the tempo, the spread or the
// sample rate moves the wrap point to or below the current position, that side starts
// again at 0 at once. Non-finite values never enter the lines or the damping filters.
class TempoDelay final : public AudioProcessingUnit
{
public:
  // Line length before the first setSampleRate.
  static constexpr int kInitialBufferLength = 1024;
  static constexpr double kInitialDump = 0.75;

  TempoDelay();

  // Called from the plug-in's reset on the main thread, under the plug-in mutex;
  // these allocate.
  //
  // Stores the rate, sizes both lines at trunc(rate * maxSeconds) * 4 samples (zeroed),
  // starts both sides at 0 and clears the damping filters. A rate that is not finite,
  // below 1 Hz or too large for the line length's int is refused.
  void setSampleRate(double rate) override;
  // Grows both lines to at least `samples` when they are shorter (their content is
  // kept, the new part is zero); never shrinks them.
  void ensureCapacity(int samples);

  // Called from parameter routing and the plug-in's reset under the plug-in mutex
  // (main or audio thread); never allocates. Non-finite values are refused and
  // change nothing.
  //
  // Clears both lines and both damping filters and starts both sides at 0.
  void reset();
  // Tempo in beats per minute; ignored unless above 0 and different from the
  // current tempo. The beat then lasts 60 / bpm seconds.
  void setTempo(double bpm);
  // Share of the delayed signal added to the output, "Tempo Delay Amount".
  void setAmount(double value);
  // Share of the delayed signal fed back into the line, "Tempo Delay Feedback".
  void setFeedback(double value);
  // Cutoff of both damping filters, "Tempo Delay Dump": the Kellett coefficient,
  // limited by the filter to 0.01..0.99.
  void setDump(double value);
  // "Tempo Delay Spread": s = (value - 0.5) * 0.25, left 1 + s beats, right 1 - s.
  void setSpread(double value);

  // Called from the audio thread, never blocks and never allocates.
  //
  // In place: each output sample is the input plus `amount` times the sample one
  // delay length ago.
  void process(double* left, double* right, int frames);

  double getTempo() const { return tempo; }
  double getBeatSeconds() const { return beatSeconds; }
  double getAmount() const { return amount; }
  double getFeedback() const { return feedback; }
  double getSpread() const { return spread; }
  double getLeftFactor() const { return leftFactor; }
  double getRightFactor() const { return rightFactor; }
  int getBufferLength() const { return bufferLength; }
  int getWriteLeft() const { return writeLeft; }
  int getWriteRight() const { return writeRight; }
  // Delay length of each side in samples: the position at which it starts again at 0.
  int getWrapLeft() const { return wrapLeft; }
  int getWrapRight() const { return wrapRight; }
  const KvFilterPaulKellett& getDampLeft() const { return dampLeft; }
  const KvFilterPaulKellett& getDampRight() const { return dampRight; }

private:
  // Recomputes both wrap points from the beat, the factors, the rate and the line
  // length, and starts a side at 0 when its position is no longer below its wrap point.
  void updateWrapPoints();
  int wrapPoint(double factor) const;

  // One side's step: reads the delayed sample, writes the damped feedback sum and
  // returns the delayed sample.
  double step(std::vector<double>& line, int& position, int wrap, KvFilterPaulKellett& damp,
              double input) const;

  // Whether stepLanes may run: both damping filters low-passes with an unshaped cutoff
  // and no resonance feedback (as the delay always has them).
  bool lanesApply() const;
  // Up to `frames` samples of both sides in the two lanes of one vector, each lane the
  // same bit for bit as step() of its side; the positions must stay below their wrap
  // points throughout. Stops at the first sample whose sum is not finite or beyond 1e300
  // in magnitude, or whose stages are beyond that bound when it starts (step() takes that
  // one); returns the samples done.
  int stepLanes(double* left, double* right, int frames);

  double beatSeconds = 0.5;
  double tempo = 120.0;
  double feedback = 0.5;
  double amount = 0.0;
  double spread = 0.5;
  double leftFactor = 1.0;
  double rightFactor = 1.0;
  int bufferLength = kInitialBufferLength;
  std::vector<double> bufferLeft;
  std::vector<double> bufferRight;
  int maxSeconds = 1; // the lines hold trunc(sampleRate * maxSeconds) * 4 samples
  int writeLeft = 0;
  int writeRight = 0;
  int wrapLeft = kInitialBufferLength;
  int wrapRight = kInitialBufferLength;
  KvFilterPaulKellett dampLeft{KvFilterPaulKellett::kLowPass};
  KvFilterPaulKellett dampRight{KvFilterPaulKellett::kLowPass};
};

} // namespace Korvane
