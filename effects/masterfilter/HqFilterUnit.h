#pragma once

#include "dsp/BesselHighPass.h"
#include "dsp/BesselLowPass.h"
#include "dsp/DirectFormII.h"
#include "dsp/SmoothedFilterDesign.h"
#include "effects/AudioProcessingUnit.h"

#include <array>
#include <memory>

namespace Korvane
{

// A band-limiting unit: a fourth-order Bessel low-pass at 21000 Hz followed by a
// fourth-order Bessel high-pass at 20 Hz. The plug-in builds one and keeps its sample
// rate up to date; the master chain does not run it (its switch changes nothing).
class HqFilterUnit final : public AudioProcessingUnit
{
public:
  template <class Design>
  using Smoothed = Dsp::SmoothedFilterDesign<Design, 2, Dsp::DirectFormII>;

  static constexpr int kBufferSize = kWorkBufferSize;
  static constexpr int kOrder = 4;
  static constexpr double kLowPassHz = 21000.0;
  static constexpr double kHighPassHz = 20.0;

  // --- Called from the main thread at construction -----------------------------------

  HqFilterUnit();
  ~HqFilterUnit() override;
  HqFilterUnit(const HqFilterUnit&) = delete;
  HqFilterUnit& operator=(const HqFilterUnit&) = delete;

  // --- Called from reset and parameter routing under the plug-in mutex ---------------

  // Stores the rate and passes it to both designs; a non-finite or non-positive rate
  // is ignored.
  void setSampleRate(double rate) override;

  // --- Called from the audio thread, never blocks -------------------------------------

  // In place, through the work buffers; a block longer than them runs in pieces of
  // kBufferSize samples. Does nothing once switched off and faded out.
  void process(double* left, double* right, int count);

  const Dsp::Filter& getLowPass() const { return *lowPass; }
  const Dsp::Filter& getHighPass() const { return *highPass; }

private:
  void processPiece(double* left, double* right, int count);

  std::unique_ptr<Smoothed<Dsp::Bessel::LowPass>> lowPass;
  std::unique_ptr<Smoothed<Dsp::Bessel::HighPass>> highPass;
  std::array<std::array<double, kBufferSize>, 2> buffer{};
};

} // namespace Korvane
