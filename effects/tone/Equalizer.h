#pragma once

#include "dsp/CpuFeatures.h"
#include "effects/AudioProcessingUnit.h"

#include "dsp/ButterworthBandPass.h"
#include "dsp/ButterworthBandShelf.h"
#include "dsp/ButterworthBandStop.h"
#include "dsp/ButterworthHighShelf.h"
#include "dsp/ButterworthLowShelf.h"
#include "dsp/DirectFormI.h"
#include "dsp/SmoothedFilterDesign.h"

namespace Korvane
{

class DumpExpand;

// The three-band tone control of the master chain ("Bass", "Mid", "High"). The bass
// and high bands are Butterworth shelves in series; the mid band works on an
// unshelved copy of the input: above the centre the band-passed copy is added to the
// shelved signal with the weight ((mid - 0.5) * 2)^2, below it the band-stopped copy is
// blended in with the weight ((0.5 - mid) * 2)^2, and at exactly 0.5 the mid path is
// left out. A band-shelf follows the "Mid" gain but is not heard.
//
// Every filter is a smoothed design (Direct Form I, two channels): each setting glides
// to its new value over 512 samples. The unit works in 1024-sample pieces; a longer
// block is processed piece by piece, so it sounds exactly as the same samples given in
// blocks of 1024. Non-finite input never enters a filter, and a filter whose output
// runs away is cleared, so the state stays finite.
class Equalizer final : public AudioProcessingUnit
{
public:
  static constexpr int kBufferSize = kWorkBufferSize;
  static constexpr double kLowShelfCutoff = 400.0;
  static constexpr double kHighShelfCutoff = 4400.0;
  static constexpr double kMidCenter = 2400.0;
  static constexpr double kMidBandwidth = 4000.0;
  static constexpr int kOrder = 2;

  using LowShelfDesign = Dsp::SmoothedFilterDesign<Dsp::Butterworth::LowShelf, 2, Dsp::DirectFormI>;
  using HighShelfDesign =
      Dsp::SmoothedFilterDesign<Dsp::Butterworth::HighShelf, 2, Dsp::DirectFormI>;
  using BandShelfDesign =
      Dsp::SmoothedFilterDesign<Dsp::Butterworth::BandShelf, 2, Dsp::DirectFormI>;
  using BandPassDesign = Dsp::SmoothedFilterDesign<Dsp::Butterworth::BandPass, 2, Dsp::DirectFormI>;
  using BandStopDesign = Dsp::SmoothedFilterDesign<Dsp::Butterworth::BandStop, 2, Dsp::DirectFormI>;

  Equalizer();

  // Called from the plug-in's reset on the main thread, under the plug-in mutex.
  //
  // Stores the rate and gives it to every design; a rate that is not finite or not
  // above 0 is refused.
  void setSampleRate(double rate) override;
  // Clears the memories of the five filters (the settings stay).
  void reset();

  // Called from parameter routing under the plug-in mutex (main or audio thread);
  // never allocates. Non-finite values are refused and change nothing.
  //
  // "Bass": low-shelf gain -24 + 48 * x dB (0.5 is flat).
  void setBass(double x);
  // "Mid": the mid blend above; the band-shelf gain follows as -24 + 48 * x dB.
  void setMid(double x);
  // "High": high-shelf gain -24 + 48 * x dB (0.5 is flat).
  void setHigh(double x);

  // Called from the audio thread, never blocks and never allocates.
  //
  // In place; returns at once when switched off and faded out.
  void process(double* left, double* right, int frames);

  double getBassValue() const { return bassValue; }
  double getMidValue() const { return midValue; }
  double getHighValue() const { return highValue; }
  bool getUseBandShelf() const { return useBandShelf; }
  const LowShelfDesign& getLowShelf() const { return lowShelf; }
  const HighShelfDesign& getHighShelf() const { return highShelf; }
  const BandShelfDesign& getBandShelf() const { return bandShelf; }
  const BandPassDesign& getBandPass() const { return bandPass; }
  const BandStopDesign& getBandStop() const { return bandStop; }

private:
  // Runs the two tone units together, on their filters and fade.
  friend bool processToneChain(Equalizer& eq, DumpExpand& dump, double* left, double* right,
                               int frames, Dsp::Kernel widest);

  // One piece of at most kBufferSize samples.
  void processPiece(double* left, double* right, int frames);
  // While the mid path is heard: the share the shelved signal keeps and the weight of the
  // mid band added to it.
  void midWeights(double& keep, double& weight) const;

  LowShelfDesign lowShelf;
  HighShelfDesign highShelf;
  BandShelfDesign bandShelf;
  BandPassDesign bandPass;
  BandStopDesign bandStop;
  bool useBandShelf = false; // nothing sets it: the band-shelf is kept up to date only
  double bassValue = 0.0;
  double midValue = 0.0;
  double highValue = 0.0;
  double bufferA[2][kBufferSize] = {};
  double bufferB[2][kBufferSize] = {};
};

} // namespace Korvane
