#include "synth/MasterChain.h"

#include "effects/tone/ToneChain.h"
#include "synth/ParamIndex.h"
#include "voice/SynthParams.h"

#include <algorithm>
#include <cmath>

using Korvane::SynthParams;
namespace P = ParamIndex;

MasterChain::MasterChain()
{
  // The output saturation blends in below a quarter of its drive range.
  saturator.setMix(0.25, 4.0);
  follower.setTimes(kMeterAttack, kMeterRelease);
}

// --- Reset and tempo -----------------------------------------------------------------

void MasterChain::Reset(double sampleRate, int blockSize, double hostTempo)
{
  ring.setSampleRate(sampleRate);
  phaser.setSampleRate(sampleRate);
  ForBothSections(
      [sampleRate](DistortionChain& section)
      {
        section.distortion.setSampleRate(sampleRate);
        section.distortion.reset();
        section.shaper.setSampleRate(sampleRate);
      });
  for (Korvane::FilterUnit* filter : {&mainFilter, &bassFilter})
  {
    filter->setSampleRate(sampleRate);
    filter->reset();
  }
  equalizer.setSampleRate(sampleRate);
  equalizer.reset();
  for (Korvane::DumpExpand* dump : {&mainDump, &bassDump})
  {
    dump->setSampleRate(sampleRate);
    dump->reset();
  }
  delay.setSampleRate(sampleRate);
  delay.ensureCapacity(blockSize);
  delay.reset();
  hqFilter.setSampleRate(sampleRate);
  UpdateTempo(hostTempo);
  follower.setSampleRate(sampleRate);
}

void MasterChain::UpdateTempo(double hostTempo)
{
  // The delay ignores a tempo that is not above 0 or that it already has.
  delay.setTempo(hostTempo);
}

// --- Effect routing ------------------------------------------------------------------

void MasterChain::RouteParameter(int paramIdx, double value)
{
  switch (paramIdx)
  {
  case P::kEqBass:
    equalizer.setBass(value);
    break;
  case P::kEqMid:
    equalizer.setMid(value);
    break;
  case P::kEqHigh:
    equalizer.setHigh(value);
    break;
  case P::kDumpExpand:
    mainDump.setValue(value);
    bassDump.setValue(value);
    break;
  case P::kDistoOnOff:
  {
    // Only exactly 0 switches the section off; 0.0001 is on.
    const bool off = value == 0.0;
    ForBothSections(
        [off](DistortionChain& section)
        {
          section.quantizer.setOff(off);
          section.distortion.setOff(off);
          section.shaper.setBypass(off);
        });
    break;
  }
  case P::kDistortion:
    ForBothSections([value](DistortionChain& s) { s.distortion.setAmount(value); });
    break;
  case P::kDistoType:
    ForBothSections([value](DistortionChain& s) { s.distortion.setType(value); });
    break;
  case P::kDistoMode:
    ForBothSections([value](DistortionChain& s) { s.distortion.setLoudnessMode(value); });
    break;
  case P::kDistoInterpolation:
    ForBothSections([value](DistortionChain& s) { s.distortion.setInterpolation(value); });
    break;
  case P::kDynShaperAmount:
    ForBothSections([value](DistortionChain& s) { s.shaper.setAmount(value); });
    break;
  case P::kDynShaperInvert:
    ForBothSections([value](DistortionChain& s) { s.shaper.setInvert(value); });
    break;
  case P::kDynShaperType:
    ForBothSections([value](DistortionChain& s) { s.shaper.setShapeType(value); });
    break;
  case P::kDynShaperMode:
    ForBothSections([value](DistortionChain& s) { s.shaper.setShaperMode(value); });
    break;
  case P::kDynShaperPosNeg:
    ForBothSections([value](DistortionChain& s) { s.shaper.setPolarity(value); });
    break;
  case P::kBitCrushQuantize:
    ForBothSections([value](DistortionChain& s) { s.quantizer.setResolution(value); });
    break;
  case P::kSampleRateReduction:
    ForBothSections([value](DistortionChain& s) { s.distortion.setSampleRateReduction(value); });
    break;
  case P::kGateCrack:
    ForBothSections([value](DistortionChain& s) { s.distortion.setGate(value); });
    break;
  case P::kFilterOnOff:
    mainFilter.setBypass(value == 0.0);
    bassFilter.setBypass(value == 0.0);
    break;
  case P::kFilterInputDrive:
    mainFilter.setInputDrive(value);
    bassFilter.setInputDrive(value);
    break;
  case P::kFilterBalance:
    mainFilter.setBalance(value);
    bassFilter.setBalance(value);
    break;
  case P::kFilterCutoff:
    mainFilter.setCutoff(value);
    bassFilter.setCutoff(value);
    break;
  case P::kFilterReso:
    mainFilter.setResonance(value);
    bassFilter.setResonance(value);
    break;
  case P::kFilterType1:
    mainFilter.setTypeA(value);
    bassFilter.setTypeA(value);
    break;
  case P::kFilterType2:
    mainFilter.setTypeB(value);
    bassFilter.setTypeB(value);
    break;
  case P::kFilterTransition:
    mainFilter.setTransition(value);
    bassFilter.setTransition(value);
    break;
  case P::kModFxOnOff:
    ring.setBypass(value == 0.0);
    phaser.setBypass(value == 0.0);
    break;
  case P::kRingAmount:
    ring.setAmount(value);
    break;
  case P::kRingFreq:
    ring.setFrequency(value);
    break;
  case P::kRingWaveform:
    ring.setWaveform(value);
    break;
  case P::kPhaserAmount:
    phaser.setDepth(value);
    break;
  case P::kPhaserFeedback:
    phaser.setFeedback(value);
    break;
  case P::kPhaserRate:
    phaser.setRate(value);
    break;
  case P::kTempoDelayAmount:
    delay.setAmount(value);
    break;
  case P::kTempoDelayFeedback:
    delay.setFeedback(value);
    break;
  case P::kTempoDelayDump:
    delay.setDump(value);
    break;
  case P::kTempoDelaySpread:
    delay.setSpread(value);
    break;
  case P::kOutputSaturation:
    saturator.setDrive(value);
    break;
  default:
    break; // read by the block, or reserved
  }
}

// --- Curve operations and the stored curve -------------------------------------------

void MasterChain::SetCurveOperation(int operation, bool deferred)
{
  if (operation < 0 || operation >= kNoCurveOperation)
    return;
  if (deferred)
    pendingCurveOperation = operation;
  else
    ApplyCurveOperation(operation);
}

void MasterChain::ApplyCurveOperation(int operation)
{
  ForBothSections([operation](DistortionChain& s) { s.distortion.applyCommand(operation); });
}

void MasterChain::ReadCurve(double* points) const
{
  const Korvane::DistortionCurve::Points& curve = first.distortion.activeCurve->points;
  std::copy(curve.begin(), curve.end(), points);
}

void MasterChain::SetSavedCurvePoint(int index, double value)
{
  if (index < 0 || index >= kCurvePoints)
    return;
  const double point = std::isfinite(value) ? value : 0.0;
  ForBothSections([index, point](DistortionChain& s) { s.savedCurve[size_t(index)] = point; });
}

void MasterChain::RestoreSavedCurves()
{
  ForBothSections([](DistortionChain& s) { s.distortion.activeCurve->points = s.savedCurve; });
}

bool MasterChain::ImportCurveText(std::string_view text)
{
  if (!first.distortion.importText(text))
    return false;
  second.distortion.activeCurve->points = first.distortion.activeCurve->points;
  return true;
}

bool MasterChain::ImportCurveValues(const double* points, int count)
{
  if (!first.distortion.importValues(points, count))
    return false;
  second.distortion.importValues(points, count);
  return true;
}

// --- The block -----------------------------------------------------------------------

bool MasterChain::ApplyPendingCurveOperation()
{
  if (pendingCurveOperation == kNoCurveOperation)
    return false;
  ApplyCurveOperation(pendingCurveOperation);
  pendingCurveOperation = kNoCurveOperation;
  return true;
}

void MasterChain::ProcessEffects(double* left, double* right, const double* filterEnvBus,
                                 int frames, const SynthParams& params)
{
  mainFilter.process(left, right, frames);
  ring.process(left, right, frames);
  phaser.process(left, right, frames);
  if (drawnCurve.take && drawnCurve.take(drawnCurve.context, drawnPoints.data(), kCurvePoints) &&
      ImportCurveValues(drawnPoints.data(), kCurvePoints) && drawnCurve.applied)
    drawnCurve.applied(drawnCurve.context);
  Korvane::Distortion& distortion = second.distortion;
  distortion.processSampleRate(left, right, frames);
  second.quantizer.process(left, right, frames);
  distortion.processGate(left, right, frames);
  const bool envToDistortion = params[SynthParams::slotOf(P::kFilterEnvToDistortion)] > 0.0;
  const bool envToShaper = params[SynthParams::slotOf(P::kFilterEnvToDynShaper)] > 0.0;
  distortion.processCurve(left, right, envToDistortion ? filterEnvBus : nullptr, frames);
  second.shaper.process(left, right, envToShaper ? filterEnvBus : nullptr, frames);
  if (!Korvane::processToneChain(equalizer, mainDump, left, right, frames))
  {
    equalizer.process(left, right, frames);
    mainDump.process(left, right, frames);
  }
}

void MasterChain::ProcessOutputSaturation(double* left, double* right, int frames)
{
  saturator.process(left, right, frames);
}

void MasterChain::ProcessBassLayer(double* bassBus, double* bassCopy, int frames,
                                   const SynthParams& params)
{
  // Only exactly 1.0 routes the bass layer through the filters; 0.999 leaves it dry.
  if (params[SynthParams::slotOf(P::kBassLayerToFilter)] != 1.0)
    return;
  std::copy_n(bassBus, frames, bassCopy);
  bassDump.process(bassBus, bassCopy, frames);
  bassFilter.process(bassBus, bassCopy, frames);
}

void MasterChain::ProcessTempoDelay(double* left, double* right, int frames)
{
  delay.process(left, right, frames);
}

void MasterChain::FeedLevelFollower(const double* left, const double* right, int frames)
{
  follower.process(left, right, frames);
}
