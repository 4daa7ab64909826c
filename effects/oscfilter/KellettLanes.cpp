#include "effects/oscfilter/KellettLanes.h"

#include "dsp/CpuFeatures.h"

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
#pragma GCC pop_options

} // namespace

void KellettLanes::run(int n) noexcept
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
  if (Dsp::kHasAvx2 && !narrow)
    Avx2::runLanes(lanes, count, shaped, n);
  else
    Sse2::runLanes(lanes, count, shaped, n);
  count = 0;
}

} // namespace Korvane
