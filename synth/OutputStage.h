#pragma once
// The last stages of the block, after the master chain: dry/wet, the bass layer, and
// the output volume and pan, each following its parameter through a one-pole smoother
// whose state starts at 0 (so the first block after loading fades in). Called from the
// audio thread inside ProcessBlock; allocates nothing.
#include "dsp/Lanes.h"

#include <cmath>

class OutputStage
{
public:
  // state = gain * target + pole * state, once per sample. A target that is not a
  // finite number is passed over (the state holds), so no single bad value can latch.
  struct Smoother
  {
    double pole;
    double gain;
    double state = 0.0;
    double Next(double target)
    {
      if (std::isfinite(target))
        state = gain * target + pole * state;
      return state;
    }
    // Whether Next(target) would leave the state as it is, bit for bit: from then on it
    // returns the same value on every sample.
    bool Settled(double target) const
    {
      return !std::isfinite(target) || Dsp::sameBits(gain * target + pole * state, state);
    }
  };

  static constexpr double kDryWetPole = 0.99;
  static constexpr double kDryWetGain = 0.010000000000000009; // 1 - 0.99 in double
  static constexpr double kPole = 0.9777;
  static constexpr double kGain = 0.022299999999999986; // 1 - 0.9777 in double

  // Each stage runs sample by sample while its smoothers move, and two samples at a time
  // with the values they settled on.
  //
  // Dry/wet, per sample: x follows "Dry/Wet"; the pair becomes (1 - x) dry + x itself.
  void MixDryWet(const double* dryLeft, const double* dryRight, double* left, double* right,
                 int frames, double target);
  // The bass layer, per sample: g follows "Bass-Layer amount"; g * bass is added to both
  // sides, or replaces them when soloed.
  void AddBassLayer(const double* bass, double* left, double* right, int frames, double amount,
                    bool solo);
  // Volume and pan, per sample: v and p follow their parameters; p < 0.5 scales left by
  // v and right by 2 p v, otherwise left by (1 - 2 (p - 0.5)) v and right by v.
  void ApplyVolumeAndPan(double* left, double* right, int frames, double volumeTarget,
                         double panTarget);

  const Smoother& DryWet() const { return dryWet; }
  const Smoother& BassGain() const { return bassGain; }
  const Smoother& Volume() const { return volume; }
  const Smoother& Pan() const { return pan; }

private:
  Smoother bassGain{kPole, kGain};
  Smoother pan{kPole, kGain};
  Smoother volume{kPole, kGain};
  Smoother dryWet{kDryWetPole, kDryWetGain};
};
