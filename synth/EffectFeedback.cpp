// The texts the editor shows beside the effect controls, worked out from the units'
// current settings after a parameter change.
#include "synth/MasterChain.h"

#include "synth/ParamIndex.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace P = ParamIndex;

namespace
{
const char* InterpolationText(int mode)
{
  static constexpr const char* kTexts[] = {
      "[no interpolation]",    "[linear interpolation]",  "[cosine interpolation]",
      "[cubic interpolation]", "[hermite interpolation]",
  };
  return mode >= 0 && mode < 5 ? kTexts[mode] : "[unknown interpolation]";
}

const char* TransitionText(int setting)
{
  static constexpr const char* kTexts[] = {"Slow", "Medium", "Fast"};
  return setting >= 0 && setting < 3 ? kTexts[setting] : "";
}

const char* RingWaveformText(int mode)
{
  static constexpr const char* kTexts[] = {"Sine", "Pulse", "Saw", "Sine2", "Sine3"};
  return mode >= 0 && mode < 5 ? kTexts[mode] : "";
}

// The gain in dB a design was last given, or 0 when it has no gain parameter.
double DesignGain(const Dsp::Filter& design)
{
  const int position = design.findParamIndex(Dsp::kIdGain);
  return position >= 0 ? design.getParams()[position] : 0.0;
}

// Hertz as the editor prints them: truncated to an integer, huge values held.
int WholeHertz(double hz) { return int(std::clamp(hz, -2e9, 2e9)); }
} // namespace

bool MasterChain::FeedbackText(int paramIdx, double value, char* text, size_t size) const
{
  if (!text || size == 0)
    return false;
  text[0] = 0;
  const Korvane::Distortion& distortion = first.distortion;
  switch (paramIdx)
  {
  case P::kEqBass:
    std::snprintf(text, size, "%3.1fdB", DesignGain(equalizer.getLowShelf()));
    return true;
  case P::kEqMid:
    std::snprintf(text, size, "%3.1fdB", DesignGain(equalizer.getBandShelf()));
    return true;
  case P::kEqHigh:
    std::snprintf(text, size, "%3.1fdB", DesignGain(equalizer.getHighShelf()));
    return true;
  case P::kDumpExpand:
    // Above the centre the unit raises its high-pass, below it closes its low-pass.
    if (mainDump.getValue() >= 0.5)
      std::snprintf(text, size, "%1.1f%% HP", (value - 0.5) * 200.0);
    else
      std::snprintf(text, size, "%1.1f%% LP", (1.0 - 2.0 * value) * 100.0);
    return true;
  case P::kDistoMode:
  case P::kDistoInterpolation:
    std::snprintf(text, size, "%s", InterpolationText(distortion.interpolationMode));
    return true;
  case P::kDynShaperType:
    std::snprintf(text, size, "%s", Korvane::DynShaper::shapeTypeName(first.shaper.getShapeType()));
    return true;
  case P::kDynShaperMode:
    std::snprintf(text, size, "%s",
                  Korvane::DynShaper::shaperModeName(first.shaper.getShaperMode()));
    return true;
  case P::kBitCrushQuantize:
    std::snprintf(text, size, "%2.1fbit", first.quantizer.bits);
    return true;
  case P::kSampleRateReduction:
  {
    // The rate the held samples change at; no holding shows the full rate.
    const bool holding = distortion.holdPeriod != 0 && distortion.srAmount != 1.0;
    const double hz = holding ? distortion.sampleRate / distortion.holdPeriod : distortion.sampleRate;
    std::snprintf(text, size, "%dHz", WholeHertz(hz));
    return true;
  }
  case P::kGateCrack:
    if (distortion.gateAmount > 0.0)
      std::snprintf(text, size, "%3.1fdB", 20.0 * std::log10(distortion.gateThreshold));
    else
      std::snprintf(text, size, "-oodB");
    return true;
  case P::kFilterBalance:
    std::snprintf(text, size, "%3.1f%% / %3.1f%%", (1.0 - value) * 100.0, value * 100.0);
    return true;
  case P::kFilterCutoff:
    std::snprintf(text, size, "%dHz", WholeHertz(mainFilter.getCutoffHz()));
    return true;
  case P::kFilterTransition:
    std::snprintf(text, size, "%s", TransitionText(mainFilter.getTransitionSetting()));
    return true;
  case P::kRingWaveform:
    std::snprintf(text, size, "%s", RingWaveformText(ring.getCarrierMode()));
    return true;
  default:
    return false;
  }
}
