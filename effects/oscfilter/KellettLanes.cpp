#include "effects/oscfilter/KellettLanes.h"

#include "dsp/CpuFeatures.h"

#include <type_traits>
#include <utility>

namespace Korvane
{

namespace
{

// Two doubles a vector: every x86-64 processor has them.
namespace Sse2
{
constexpr int kWidth = 2;
#include "effects/oscfilter/KellettLanesKernel.inc"
} // namespace Sse2

// Four doubles a vector, for processors with AVX2 (asked when the module loads). Only
// the vector width differs: the arithmetic is the same IEEE arithmetic lane by lane (no
// fused multiply-adds), so both kernels give the same bits.
#pragma GCC push_options
#pragma GCC target("avx2")
namespace Avx2
{
constexpr int kWidth = 4;
#include "effects/oscfilter/KellettLanesKernel.inc"
} // namespace Avx2

// Two doubles a vector in the AVX encoding, for one or two lanes on processors with
// AVX2: the same arithmetic as Sse2, with three-operand instructions and one-instruction
// selects instead of the copies and the and/andnot/or of SSE2.
namespace Avx2Narrow
{
constexpr int kWidth = 2;
#include "effects/oscfilter/KellettLanesKernel.inc"
} // namespace Avx2Narrow
#pragma GCC pop_options

} // namespace

static_assert(KellettLanes::kMaxSamples <= BiquadLanes::kMaxSamples,
              "a stretch of Kellett lanes fits the biquads run beside them");

void KellettLanes::run(int n) noexcept { runWith(n, static_cast<BiquadLanes::Group*>(nullptr)); }

void KellettLanes::runBeside(int n, BiquadLanes& beside) noexcept
{
  if (count == 0 || n <= 0 || beside.size() == 0 || beside.size() > 4)
    return run(n);
  // One or two Kellett lanes with one or two biquads: both in two-double vectors, so that
  // no idle lanes are carried through the loop.
  if (count <= 2 && beside.size() <= 2)
  {
    BiquadLanes::GroupOf<2> group;
    group.load(beside, 0);
    runWith(n, &group);
  }
  else
  {
    BiquadLanes::Group group;
    group.load(beside, 0);
    runWith(n, &group);
  }
  beside.clear();
}

template <class Biquads>
void KellettLanes::runWith(int n, Biquads* beside) noexcept
{
  if (count == 0 || n <= 0)
    return;
  if (n > kMaxSamples)
    n = kMaxSamples;
  bool shaped = false;
  for (int i = 0; i < count; ++i)
    shaped = shaped || lanes[i].filter->cutoffCurve == IKvFilter::kCurveSquare ||
             lanes[i].filter->cutoffCurve == IKvFilter::kCurveCube;
  // Without a squared or cubed cutoff the curve is left out (it would select c anyway).
  // One or two lanes go in the two-double vectors, so that no idle lanes are carried
  // through the loop; with three or four biquads beside them the wide ones stay.
  if (!Dsp::kHasAvx2 || narrow)
    Sse2::runLanes(lanes, count, shaped, n, beside);
  else if constexpr (Biquads::kWidth == 2)
    Avx2Narrow::runLanes(lanes, count, shaped, n, beside);
  else if (count > 2 || beside != nullptr)
    Avx2::runLanes(lanes, count, shaped, n, beside);
  else
    Avx2Narrow::runLanes(lanes, count, shaped, n, beside);
  count = 0;
}

} // namespace Korvane
