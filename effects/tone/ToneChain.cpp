#include "effects/tone/ToneChain.h"

#include "dsp/Lanes.h"
#include "effects/tone/DumpExpand.h"
#include "effects/tone/Equalizer.h"

namespace Korvane
{

bool processToneChain(Equalizer& eq, DumpExpand& dump, double* left, double* right, int frames)
{
  using Dsp::Pair;
  if (left == nullptr || right == nullptr || frames <= 0 || frames > Equalizer::kBufferSize ||
      !(left + frames <= right || right + frames <= left) || frames > DumpExpand::kBufferSize ||
      eq.wet != 1.0 || dump.wet != 1.0 || eq.midValue != 0.5 || dump.bypassFilters != 0 ||
      eq.lowShelf.isGliding() || eq.highShelf.isGliding() || dump.lowPass.isGliding() ||
      dump.highPass.isGliding())
    return false;
  Equalizer::LowShelfDesign::State::Lanes lowShelf(eq.lowShelf.getState(0), eq.lowShelf.getState(1),
                                                   eq.lowShelf.getDesign());
  Equalizer::HighShelfDesign::State::Lanes highShelf(
      eq.highShelf.getState(0), eq.highShelf.getState(1), eq.highShelf.getDesign());
  DumpExpand::LowPassDesign::State::Lanes lowPass(
      dump.lowPass.getState(0), dump.lowPass.getState(1), dump.lowPass.getDesign());
  DumpExpand::HighPassDesign::State::Lanes highPass(
      dump.highPass.getState(0), dump.highPass.getState(1), dump.highPass.getDesign());
  const double eqWet = eq.wet, dumpWet = dump.wet;
  Dsp::PairMask eqFinite = Dsp::PairMask{} - 1, dumpFinite = eqFinite;
  for (int i = 0; i < frames; ++i)
  {
    // The equaliser: non-finite input never enters a filter; the shelved signal is its
    // output at the mid centre, blended by the fade's share.
    const Pair in{left[i], right[i]};
    const Pair shelved = highShelf.processSample(lowShelf.processSample(Dsp::finiteOrZero(in)));
    eqFinite &= Dsp::finiteLanes(shelved);
    const Pair toned = (1.0 - eqWet) * in + eqWet * shelved;
    // The dump/expand on the equaliser's output, the same way.
    const Pair swept = highPass.processSample(lowPass.processSample(Dsp::finiteOrZero(toned)));
    dumpFinite &= Dsp::finiteLanes(swept);
    const Pair out = (1.0 - dumpWet) * toned + dumpWet * swept;
    left[i] = out[0];
    right[i] = out[1];
  }
  lowShelf.store(eq.lowShelf.getState(0), eq.lowShelf.getState(1));
  highShelf.store(eq.highShelf.getState(0), eq.highShelf.getState(1));
  lowPass.store(dump.lowPass.getState(0), dump.lowPass.getState(1));
  highPass.store(dump.highPass.getState(0), dump.highPass.getState(1));
  // A filter whose output ran away is cleared after the block, as each unit does.
  if (!Dsp::allLanes(eqFinite))
    eq.reset();
  if (!Dsp::allLanes(dumpFinite))
    dump.reset();
  return true;
}

} // namespace Korvane
