#pragma once

#include "dsp/ButterworthBandPass.h"
#include "dsp/ButterworthBandStop.h"
#include "dsp/ChebyshevIHighPass.h"
#include "dsp/ChebyshevILowPass.h"
#include "dsp/DirectFormII.h"
#include "dsp/Lanes.h"
#include "dsp/RBJBandPass1.h"
#include "dsp/RBJBandStop.h"
#include "dsp/RBJHighPass.h"
#include "dsp/RBJLowPass.h"
#include "dsp/SmoothedFilterDesign.h"
#include "effects/AudioProcessingUnit.h"
#include "effects/dynamics/Saturator.h"

#include <array>
#include <memory>

namespace Korvane
{

// The master filter: a dual filter whose halves run side by side on the stereo block
// and are crossfaded by a smoothed balance (0 = filter A only, 1 = filter B only).
// Filter A is one of four RBJ biquads, filter B one of four Chebyshev I filters or two
// Butterworth band filters. An input-drive saturator sits in front of both. The plug-in
// owns two with the same settings: the master chain's and the bass layer's.
//
// All ten designs glide their parameter changes over 512 samples. Only the two
// selected designs run; the others keep their memory and any unfinished glide until
// they are selected again.
class FilterUnit final : public AudioProcessingUnit
{
public:
  template <class Design>
  using Smoothed = Dsp::SmoothedFilterDesign<Design, 2, Dsp::DirectFormII>;

  // The work buffers' length: a longer block is processed in pieces of this size.
  static constexpr int kBufferSize = kWorkBufferSize;
  static constexpr int kTransitionSamples = 512;

  // Filter A positions, selected by floor(3 * value + 0.5).
  enum TypeA
  {
    kRbjLowPass = 0,
    kRbjHighPass = 1,
    kRbjBandPass1 = 2,
    kRbjBandStop = 3,
    kTypeACount = 4
  };
  // Filter B positions, selected by floor(5 * value + 0.5).
  enum TypeB
  {
    kChebyHighPass12 = 0,
    kChebyHighPass24 = 1,
    kChebyLowPass12 = 2,
    kChebyLowPass24 = 3,
    kBwBandPass12 = 4,
    kBwBandStop12 = 5,
    kTypeBCount = 6
  };

  // --- Called from the main thread at construction -----------------------------------

  // Creates the ten designs at their parameter defaults (2000 Hz, Q 1, one octave,
  // ripple 0.01 dB, 1720 Hz) with the Chebyshev orders 2, 2, 4, 4 and the Butterworth
  // band orders 2, and sets the input drive's blend to threshold 0.25, factor 4.
  FilterUnit();
  ~FilterUnit() override;
  FilterUnit(const FilterUnit&) = delete;
  FilterUnit& operator=(const FilterUnit&) = delete;

  // --- Called from reset and parameter routing under the plug-in mutex ---------------
  // Every setter refuses a non-finite value (false) and leaves the unit as it was.

  // Stores the rate and sets the sample-rate parameter of all ten designs.
  void setSampleRate(double rate) override;
  // Clears the memories of all ten designs and of the input saturator's smoother.
  void reset();
  // "Filter Type 1" / "Filter Type 2": 0..1; takes effect with the next block, no
  // design is cleared.
  bool setTypeA(double x);
  bool setTypeB(double x);
  // "Filter Balance": 0 = filter A only, 1 = filter B only; the output glides there.
  bool setBalance(double x);
  // "Filter Input Drive": the drive target of the input saturator.
  bool setInputDrive(double x);
  // Cutoff or centre frequency of every design: 10 * 2204^x Hz.
  bool setCutoff(double x);
  // The first of Q, bandwidth in octaves, bandwidth in Hz and ripple that a design has:
  // 2^(8x - 4), 2^(8x - 4), 10 * 2204^x Hz, 0.001 + 11.999x dB.
  bool setResonance(double x);
  // "Filter Transition" 0..2 (from floor(2x + 0.5)): offers the designs a transition of
  // 2048 samples (0) or 512 (1, 2); they keep their own 512.
  bool setTransition(double x);

  // --- Called from the audio thread, never blocks -------------------------------------

  // In place. Does nothing once switched off and faded out; a block longer than the
  // work buffers runs in pieces of kBufferSize samples, as consecutive blocks would.
  void process(double* left, double* right, int count);

  // --- Accessors for the editor and tests ----------------------------------------------

  // Position of a type value: in the table, or 0 for anything outside.
  static int typeAIndex(double x);
  static int typeBIndex(double x);
  // Names of a table position; an empty string outside the table.
  static const char* shortTypeAName(int index);  // "RBJ-LP", ...
  static const char* longTypeAName(int index);   // "RBJ LowPass", ...
  static const char* shortTypeBName(int index);  // "CH-HP12", ...
  static const char* longTypeBName(int index);   // "Chebyshev HighPass 12dB", ...
  static const char* typeBPresetCode(int index); // "HP 12dB", ...
  // The preset-text reader's mapping of a saved name to a position: "RBJ-LP", "RBJ-HP",
  // "RBJ-BP" or "RBJ-BP1", "RBJ-BS" for A; the preset codes for B; anything else is 0.
  static int typeAFromText(const char* text);
  static int typeBFromText(const char* text);

  Dsp::Filter& designA(int index);
  Dsp::Filter& designB(int index);
  double getTypeAValue() const { return typeAValue; }
  double getTypeBValue() const { return typeBValue; }
  int getTypeAIndex() const { return typeAIndex(typeAValue); }
  int getTypeBIndex() const { return typeBIndex(typeBValue); }
  double getBalanceTarget() const { return balanceTarget; }
  double getBalance() const { return balance; }
  // The cutoff of the last setCutoff in hertz (10 * 2204^x).
  double getCutoffHz() const { return cutoffHz; }
  int getTransitionSetting() const { return transitionSetting; }
  const Saturator& getInputDrive() const { return inputDrive; }

private:
  using Buffer = std::array<std::array<double, kBufferSize>, 2>;

  // One piece of at most kBufferSize samples.
  void processPiece(double* left, double* right, int count);
  // Whether the balance's next step would give the current balance bit for bit.
  bool balanceStands() const
  {
    return Dsp::sameBits(balanceGain * balanceTarget + balancePole * balance, balance);
  }
  // The selected design of filter A or B (by table position, as designA and designB
  // take it) handed to action by its own type; returns what action returns.
  template <class Action>
  decltype(auto) visitA(int index, Action&& action);
  template <class Action>
  decltype(auto) visitB(int index, Action&& action);
  // Applies a control value through each design's own mapping of the parameter.
  void setEachDesign(const int* ids, int idCount, double x);

  double typeAValue = 0.0;
  double typeBValue = 0.0;
  double balanceTarget = 1.0;
  double balancePole = 0.9777;
  double balanceGain = 1.0 - 0.9777;
  double balance = 0.0;
  Buffer bufferA{};
  Buffer bufferB{};
  std::unique_ptr<Smoothed<Dsp::RBJ::HighPass>> rbjHighPass;
  std::unique_ptr<Smoothed<Dsp::RBJ::LowPass>> rbjLowPass;
  std::unique_ptr<Smoothed<Dsp::RBJ::BandPass1>> rbjBandPass1;
  std::unique_ptr<Smoothed<Dsp::RBJ::BandStop>> rbjBandStop;
  std::unique_ptr<Smoothed<Dsp::ChebyshevI::HighPass>> chebyHighPass12;
  std::unique_ptr<Smoothed<Dsp::ChebyshevI::LowPass>> chebyLowPass12;
  std::unique_ptr<Smoothed<Dsp::ChebyshevI::HighPass>> chebyHighPass24;
  std::unique_ptr<Smoothed<Dsp::ChebyshevI::LowPass>> chebyLowPass24;
  std::unique_ptr<Smoothed<Dsp::Butterworth::BandPass>> bwBandPass12;
  std::unique_ptr<Smoothed<Dsp::Butterworth::BandStop>> bwBandStop12;
  Saturator inputDrive{1};
  int transitionSetting = 0;
  double cutoffHz = 10.0;
};

} // namespace Korvane
