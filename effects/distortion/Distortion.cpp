#include "effects/distortion/Distortion.h"

// The AVX2 curve loop passes four-double vectors between functions that are all inlined
// into it, so no call with a vector argument is made across the instruction sets.
#pragma GCC diagnostic ignored "-Wpsabi"

#include "dsp/CpuFeatures.h"
#include "dsp/Lanes.h"
#include "dsp/Quads.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Korvane
{

namespace
{

using Dsp::joinPairs;
using Dsp::Pair;
using Dsp::Quad;

// K samples of both channels in one vector, [left i .. i + K - 1, right i .. i + K - 1]:
// a quad for AVX2 (K = 2), an oct for AVX-512 (K = 4).
template <int K>
struct Frames;

template <>
struct Frames<2>
{
  using V = Quad;
  __attribute__((always_inline)) static V load(const double* l, const double* r)
  {
    return joinPairs(Dsp::loadPair(l), Dsp::loadPair(r));
  }
  __attribute__((always_inline)) static void store(double* l, double* r, V v)
  {
    Dsp::storePair(l, Dsp::lowPair(v));
    Dsp::storePair(r, Dsp::highPair(v));
  }
  // The same K values for both channels.
  __attribute__((always_inline)) static V twice(const double* d)
  {
    const Pair both = Dsp::loadPair(d);
    return joinPairs(both, both);
  }
};

template <>
struct Frames<4>
{
  using V = Dsp::Oct;
  __attribute__((always_inline)) static V load(const double* l, const double* r)
  {
    return Dsp::joinQuads(Dsp::loadQuad(l), Dsp::loadQuad(r));
  }
  __attribute__((always_inline)) static void store(double* l, double* r, V v)
  {
    const Quad low = Dsp::lowQuad(v), high = Dsp::highQuad(v);
    __builtin_memcpy(l, &low, sizeof low);
    __builtin_memcpy(r, &high, sizeof high);
  }
  __attribute__((always_inline)) static V twice(const double* d)
  {
    const Quad both = Dsp::loadQuad(d);
    return Dsp::joinQuads(both, both);
  }
};

// Where a stretch's drives come from: the array CurveStage::drives filled, sample by
// sample (Held false), or one drive for the whole stretch (Held true), whose gain, blend
// and test against 0 the loops then work out once. Full: a held drive of at least 0.5,
// which blends nothing.
template <bool Held, bool Full = false>
struct Drives
{
  static constexpr bool kFull = Full;
  const double* each;
  double at(int i) const { return Held ? each[0] : each[i]; }
  // The drives of samples i .. i + K - 1 for both channels, in the lanes of Frames<K>.
  template <int K>
  __attribute__((always_inline)) typename Frames<K>::V frames(int i) const
  {
    using V = typename Frames<K>::V;
    if constexpr (Held)
      return V{} + each[0];
    return Frames<K>::twice(each + i);
  }
};

// The last two passes of one stretch of n samples (the second in place), with the drives
// of `drives`: K samples a vector (K = 2 or 4; 1 takes them one by one in pairs), the
// rest one by one.
template <int Mode, int K, class D>
__attribute__((always_inline)) inline void
curveStretch(const CurveStage::Values& v, const DistortionCurve::PaddedPoints& padded, double* l,
             double* r, int n, D drives, double* curvedLeft, double* curvedRight)
{
  int i = 0;
  if constexpr (K > 1)
    for (; i + K <= n; i += K)
    {
      using F = Frames<K>;
      const auto looked = DistortionCurve::lookupWide<Mode>(padded, F::load(l + i, r + i));
      F::store(curvedLeft + i, curvedRight + i,
               CurveStage::curved(v, looked, drives.template frames<K>(i)));
    }
  for (; i < n; ++i)
  {
    const Pair y = CurveStage::curved(
        v, DistortionCurve::lookupLanes<Mode>(padded, Pair{l[i], r[i]}), Pair{} + drives.at(i));
    curvedLeft[i] = y[0];
    curvedRight[i] = y[1];
  }
  i = 0;
  if constexpr (K > 1)
    for (; i + K <= n; i += K)
    {
      using F = Frames<K>;
      using V = typename F::V;
      const V b = drives.template frames<K>(i);
      const V x = F::load(l + i, r + i);
      const V y = CurveStage::loudness(v, F::load(curvedLeft + i, curvedRight + i));
      V out = y;
      if constexpr (!D::kFull)
      {
        // At drive 0 the sample passes as it came.
        out = CurveStage::blend(x, b, y);
        out = b == V{} ? x : out;
      }
      F::store(l + i, r + i, out);
    }
  for (; i < n; ++i)
  {
    const double b = drives.at(i);
    if (b == 0.0)
      continue;
    const Pair y =
        CurveStage::finish(v, Pair{l[i], r[i]}, Pair{} + b, Pair{curvedLeft[i], curvedRight[i]});
    l[i] = y[0];
    r[i] = y[1];
  }
}

// The curve stage over two separate buffers with the lookup Mode, in stretches, each in
// three passes: the drives (CurveStage::drives), the curve's output, then the sine and the
// blend, so that the long chain of one sample's arithmetic is cut up and the processor
// overlaps the samples of each pass. K > 1 takes the last two passes K samples at a time
// in four-double vectors (K = 2, for AVX2) or eight-double ones (K = 4, for AVX-512),
// which divides their instructions; lane by lane the same arithmetic.
template <int Mode, int K>
__attribute__((always_inline)) inline void runCurveLanes(CurveStage& stage, double* left,
                                                         double* right, int count)
{
  CurveStage::Values v = stage.values;
  const DistortionCurve::PaddedPoints& padded = stage.padded;
  constexpr int kStretch = 128;
  double drive[kStretch], curvedLeft[kStretch], curvedRight[kStretch];
  for (int from = 0; from < count; from += kStretch)
  {
    const int n = std::min(kStretch, count - from);
    double* l = left + from;
    double* r = right + from;
    if (!CurveStage::drives(v, from, n, drive))
      curveStretch<Mode, K>(v, padded, l, r, n, Drives<false>{drive}, curvedLeft, curvedRight);
    else if (drive[0] >= 0.5)
      curveStretch<Mode, K>(v, padded, l, r, n, Drives<true, true>{drive}, curvedLeft, curvedRight);
    else
      curveStretch<Mode, K>(v, padded, l, r, n, Drives<true>{drive}, curvedLeft, curvedRight);
  }
  stage.values.smoothed = v.smoothed;
}

template <int Mode>
__attribute__((target("avx2"))) void runCurveAvx2(CurveStage& stage, double* left, double* right,
                                                  int count)
{
  runCurveLanes<Mode, 2>(stage, left, right, count);
}

template <int Mode>
__attribute__((target("avx2,avx512f,avx512vl"))) void
runCurveAvx512(CurveStage& stage, double* left, double* right, int count)
{
  runCurveLanes<Mode, 4>(stage, left, right, count);
}

} // namespace

// --- Called from the main thread at construction -------------------------------------

Distortion::Distortion()
{
  for (int type = 0; type < DistortionTypes::kCount; ++type)
  {
    curves[type].points = DistortionTypes::initialCurve(type);
  }
}

// --- Called from reset and parameter routing under the plug-in mutex -----------------

void Distortion::setSampleRate(double rate)
{
  if (!std::isfinite(rate) || rate <= 0.0)
    return;
  sampleRate = rate;
  updateHoldPeriod();
}

void Distortion::reset()
{
  sampleCounter = 0;
  heldLeft = 0.0;
  heldRight = 0.0;
  smoothedAmount = 0.0;
}

bool Distortion::setAmount(double value)
{
  if (!std::isfinite(value))
    return false;
  amount = value;
  return true;
}

bool Distortion::setType(double value)
{
  if (!std::isfinite(value))
    return false;
  setTypeIndex(static_cast<int>(std::floor(35.0 * std::clamp(value, 0.0, 1.0) + 0.5)));
  return true;
}

void Distortion::setTypeIndex(int index)
{
  typeIndex = index;
  activeCurve = index >= 0 && index < DistortionTypes::kCount ? &curves[index] : &curves[0];
}

bool Distortion::setLoudnessMode(double value)
{
  if (!std::isfinite(value))
    return false;
  loudnessMode = static_cast<int>(std::floor(2.0 * std::clamp(value, 0.0, 1.0) + 0.5));
  return true;
}

bool Distortion::setInterpolation(double value)
{
  if (!std::isfinite(value))
    return false;
  // Values outside 0..1 give modes outside 0..4, which interpolate cubically; the
  // limit only keeps the conversion to int defined.
  interpolationMode = static_cast<int>(std::floor(4.0 * std::clamp(value, -1e6, 1e6) + 0.5));
  for (DistortionCurve& c : curves)
    c.interpolation = interpolationMode;
  return true;
}

bool Distortion::setSampleRateReduction(double value)
{
  if (!std::isfinite(value))
    return false;
  srAmount = value;
  updateHoldPeriod();
  return true;
}

bool Distortion::setGate(double value)
{
  if (!std::isfinite(value))
    return false;
  gateAmount = value;
  gateThreshold = value * value * value * value;
  return true;
}

void Distortion::updateHoldPeriod()
{
  const double period = std::trunc(sampleRate / 44100.0 * (1.0 - srAmount) * 127.0);
  holdPeriod = static_cast<int>(std::clamp(period, -1e9, 1e9));
}

// --- Called from the audio thread, never blocks ---------------------------------------

void Distortion::processSampleRate(double* left, double* right, int count)
{
  if (off || count <= 0)
    return;
  if (holdPeriod <= 0 || srAmount == 1.0)
  {
    // Nothing is held: every sample stays as it is, and the last one is the held value.
    heldLeft = left[count - 1];
    heldRight = right[count - 1];
    sampleCounter += static_cast<std::uint32_t>(count);
    return;
  }
  for (int i = 0; i < count; ++i)
  {
    // A period below 1 (a value above 1) holds nothing, like 0.
    if (holdPeriod <= 0 || srAmount == 1.0 ||
        sampleCounter % static_cast<std::uint32_t>(holdPeriod) == 0)
    {
      heldLeft = left[i];
      heldRight = right[i];
    }
    left[i] = heldLeft;
    right[i] = heldRight;
    ++sampleCounter;
  }
}

void Distortion::processGate(double* left, double* right, int count) const
{
  if (off || gateAmount == 0.0)
    return;
  // Signed on purpose: every negative sample is silenced, positive ones below the
  // threshold as well.
  for (int i = 0; i < count; ++i)
  {
    if (gateThreshold > left[i])
      left[i] = 0.0;
    if (gateThreshold > right[i])
      right[i] = 0.0;
  }
}

double Distortion::shape(double a, double b) const
{
  if (b == 0.0)
    return a;
  double e = 2.0 * b;
  if (loudnessMode != 0)
  {
    e = driveRange * b + 1.0;
    if (typeIndex == 2)
      e *= 0.5;
    else if (typeIndex == 3)
      e *= 0.777;
  }
  double y = std::clamp(activeCurve->lookup(a) * e, -1.0, 1.0);
  if (loudnessMode == 2)
    y = 2.0 * std::sin(std::numbers::pi / 2.0 * y);
  if (b < 0.5)
    return (1.0 - 2.0 * b) * a + 2.0 * b * y;
  return y;
}

bool Distortion::beginCurve(CurveStage& stage, const double* envelope) const
{
  if (off || amount == 0.0)
    return false;
  activeCurve->padPoints(stage.padded);
  CurveStage::Values& v = stage.values;
  // shape()'s gain e for drive b, as (slope * b + offset) * factor: 2b + 0 in mode 0
  // (b is never 0 there, so adding 0 keeps every bit), and the type's share of
  // driveRange * b + 1 in modes 1 and 2 (a factor of 1 keeps every bit).
  v.slope = loudnessMode != 0 ? driveRange : 2.0;
  v.offset = loudnessMode != 0 ? 1.0 : 0.0;
  v.factor = 1.0;
  if (loudnessMode != 0 && typeIndex == 2)
    v.factor = 0.5;
  else if (loudnessMode != 0 && typeIndex == 3)
    v.factor = 0.777;
  v.sine = loudnessMode == 2;
  v.exactSine = referenceSine;
  v.pole = drivePole;
  v.pull = driveGain * amount;
  v.smoothed = smoothedAmount;
  v.envelope = envelope;
  v.interpolation = activeCurve->interpolation;
  return true;
}

void Distortion::processCurve(double* left, double* right, const double* envelope, int count)
{
  CurveStage stage;
  if (!beginCurve(stage, envelope))
    return;
  if (!(left + count <= right || right + count <= left))
  {
    // Overlapping channels are shaped one after the other, as the same samples go
    // through the curve twice.
    for (int i = 0; i < count; ++i)
    {
      const double b = CurveStage::drive(stage.values, i);
      left[i] = shape(left[i], b);
      right[i] = shape(right[i], b);
    }
  }
  else if (Dsp::kHasAvx512 && widestCurve >= Dsp::Kernel::Avx512)
    CurveStage::withMode(stage.values.interpolation,
                         [&](auto mode) { runCurveAvx512<mode()>(stage, left, right, count); });
  else if (Dsp::kHasAvx2 && widestCurve >= Dsp::Kernel::Avx2)
    CurveStage::withMode(stage.values.interpolation,
                         [&](auto mode) { runCurveAvx2<mode()>(stage, left, right, count); });
  else
    CurveStage::withMode(stage.values.interpolation,
                         [&](auto mode) { runCurveLanes<mode(), 1>(stage, left, right, count); });
  smoothedAmount = stage.values.smoothed;
}

// --- Curve operations on the active curve ---------------------------------------------

bool Distortion::applyCommand(int code)
{
  // An index outside 0..35 works on the type-0 curve and restores the type-0 table.
  return activeCurve->applyCommand(code, &DistortionTypes::storedTable(typeIndex));
}

// --- Called from the editor's timer on the preview chain -------------------------------

void Distortion::renderPreview(std::array<double, kPreviewCurvePoints>& curveValues,
                               std::array<double, kPreviewSinePoints>& sineValues) const
{
  for (int i = 0; i < kPreviewCurvePoints; ++i)
    curveValues[i] = activeCurve->lookup((double(i) / kPreviewCurvePoints - 0.5) * 2.0);
  for (int i = 0; i < kPreviewSinePoints; ++i)
    sineValues[i] =
        shape(std::sin(2.0 * std::numbers::pi * double(i) / kPreviewSinePoints), amount);
}

} // namespace Korvane
