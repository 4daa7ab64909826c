#pragma once

#include "effects/AudioProcessingUnit.h"
#include "effects/oscfilter/BiquadLanes.h"
#include "effects/oscfilter/BiquadTweakedButterworthHP.h"
#include "effects/oscfilter/BiquadTweakedButterworthLP.h"
#include "effects/oscfilter/KellettLanes.h"
#include "effects/oscfilter/KvFilterPaulKellett.h"

namespace Korvane
{

// The dual filter of one oscillator of a voice. Two filters run on every sample,
// each chosen from its own bank of five; the output crossfades between them by a
// smoothed balance (0 = left filter only, 1 = right filter only). The voice writes
// `balanceTarget` directly before each sample.
class OscFilterUnit final : public AudioProcessingUnit
{
public:
  // Filter type positions, as selected by floor(4 * value + 0.5).
  enum TypeIndex
  {
    kKellettLowPass = 0,
    kKellettHighPass = 1,
    kKellettBandPass = 2,
    kButterworthHighPass = 3,
    kButterworthLowPass = 4,
    kTypeCount = 5
  };

  // One side's five filters.
  struct Bank
  {
    KvFilterPaulKellett kellettLowPass{KvFilterPaulKellett::kLowPass};
    KvFilterPaulKellett kellettHighPass{KvFilterPaulKellett::kHighPass};
    KvFilterPaulKellett kellettBandPass{KvFilterPaulKellett::kBandPass};
    BiquadTweakedButterworthHP<double> butterworthHighPass;
    BiquadTweakedButterworthLP<double> butterworthLowPass;

    IKvFilter& filter(int index);
    const IKvFilter& filter(int index) const;

    // One sample through the filter at `index` (called by concrete type, so
    // the compiler can inline it). A biquad takes its tangent from `tangent`.
    double run(int index, double x, double cutoff, double resonance, ButterworthTangent& tangent)
    {
      switch (index)
      {
      case kKellettHighPass:
        return kellettHighPass.process(x, cutoff, resonance);
      case kKellettBandPass:
        return kellettBandPass.process(x, cutoff, resonance);
      case kButterworthHighPass:
        return butterworthHighPass.processAt(x, butterworthHighPass.cutoffFraction(cutoff),
                                             resonance, tangent);
      case kButterworthLowPass:
        return butterworthLowPass.processAt(x, butterworthLowPass.cutoffFraction(cutoff), resonance,
                                            tangent);
      default:
        return kellettLowPass.process(x, cutoff, resonance);
      }
    }

    // The Kellett filter at `index`, or null for a biquad.
    KvFilterPaulKellett* kellett(int index)
    {
      switch (index)
      {
      case kKellettHighPass:
        return &kellettHighPass;
      case kKellettBandPass:
        return &kellettBandPass;
      case kButterworthHighPass:
      case kButterworthLowPass:
        return nullptr;
      default:
        return &kellettLowPass;
      }
    }

    const KvFilterPaulKellett* kellett(int index) const
    {
      return const_cast<Bank*>(this)->kellett(index);
    }

    // When the filter at `index` is a biquad and the n cutoffs are one value (bit for
    // bit), sets its coefficients for the stretch at this resonance and adds it to
    // `lanes` (x in, out); false otherwise, or when the lanes are full.
    bool addBiquad(int index, const double* x, const double* cutoff, double resonance, double* out,
                   int n, ButterworthTangent& tangent, BiquadLanes& lanes);

    // n samples through the filter at `index`, as run() gives them one by one.
    void runBlock(int index, const double* x, const double* cutoff, double resonance, double* out,
                  int n, ButterworthTangent& tangent);

    void setSampleRate(double rate);
    void reset();
  };

  OscFilterUnit();

  // x in 0..1 selects the filter of that side: floor(4x + 0.5) = 0 Kellett
  // low-pass, 1 Kellett high-pass, 2 Kellett band-pass, 3 Butterworth high-pass,
  // 4 Butterworth low-pass; any other position the Kellett low-pass. The switch
  // takes effect on the next sample; no memory is cleared.
  void setLeftType(double x);
  void setRightType(double x);

  // One sample: both filters always run, then the balance smoother moves one step.
  // When both sides are biquads the cutoff's tangent is computed once for both.
  double process(double x, double cutoff, double resonance)
  {
    const double l = left.run(leftIndex, x, cutoff, resonance, tangent);
    const double r = right.run(rightIndex, x, cutoff, resonance, tangent);
    balance = balanceGain * balanceTarget + balancePole * balance;
    return (1.0 - balance) * l + balance * r;
  }

  // n samples of process at once, the same values bit for bit: x and cutoff per sample,
  // y may be x.
  void processBlock(const double* x, const double* cutoff, double resonance, double* y, int n);

  // processBlock of `count` units at once (the oscillators of a voice): their Kellett
  // filters run side by side in vector lanes. x[u] and cutoff[u] per unit and sample,
  // y[u] may be x[u]; the same values bit for bit as processBlock unit after unit.
  static void processTogether(OscFilterUnit* const* units, const double* const* x,
                              const double* const* cutoff, const double* resonance,
                              double* const* y, int count, int n);

  // Stores the rate, passes it to all ten filters and clears them.
  void setSampleRate(double rate) override;

  // Clears the memories of all ten filters (a voice does this when a note starts).
  // The balance smoother keeps its state.
  void reset();

  // Position selected by a type value: 0..4, or kKellettLowPass for anything else.
  static int typeIndex(double x);
  // Names the editor shows for a type position.
  static const char* longTypeName(int index);  // "Paul Kellett LP", ... "Unknown Filter"
  static const char* shortTypeName(int index); // "PK LP", ... "Unknown"

  double getLeftTypeValue() const { return leftTypeValue; }
  double getRightTypeValue() const { return rightTypeValue; }
  int getLeftTypeIndex() const { return leftIndex; }
  int getRightTypeIndex() const { return rightIndex; }
  IKvFilter& leftFilter() { return left.filter(leftIndex); }
  IKvFilter& rightFilter() { return right.filter(rightIndex); }
  double getBalance() const { return balance; }

  Bank left;
  Bank right;
  double balanceTarget = 1.0; // written by the owning voice
  double balancePole = 0.99;
  double balanceGain = 1.0 - 0.99;

private:
  // True when both units' sides are Kellett filters that run alike, and the units blend
  // alike and see the same n inputs and cutoffs (bit for bit) at the same resonance: this
  // unit would give the other's samples and end in its states.
  bool twinOf(const OscFilterUnit& other, const double* x, const double* otherX,
              const double* cutoff, const double* otherCutoff, double resonance,
              double otherResonance, int n) const;
  // n samples of both sides' outputs crossfaded by the balance as it moves, step by step
  // as process() moves it; out may be l or r.
  void blend(const double* l, const double* r, double* out, int n) noexcept;

  double leftTypeValue = 0.0;
  double rightTypeValue = 0.75;
  int leftIndex = kKellettLowPass;
  int rightIndex = kButterworthHighPass;
  double balance = 0.0;
  // Shared by the biquads of both sides: they see the same cutoff.
  ButterworthTangent tangent;
};

} // namespace Korvane
