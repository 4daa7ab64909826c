#include "effects/oscfilter/KellettLanes.h"

namespace Korvane
{

namespace
{
using Vector = double __attribute__((vector_size(2 * sizeof(double))));
using Mask = long long __attribute__((vector_size(2 * sizeof(double))));
} // namespace

template <int P, bool Shaped>
void KellettLanes::runPairs(int n) noexcept
{
  // Lane 2p + h is element h of pair p; missing lanes read silence from `kNone`.
  static const double kNone[kMaxSamples] = {};
  double sink[kMaxSamples];
  const double* input[2 * P];
  const double* cutoff[2 * P];
  double* out[2 * P];
  Vector s0[P], s1[P], s2[P], s3[P], resonance[P], offset[P];
  Mask square[P], cube[P], lowPass[P], highPass[P], bandPass[P];
  for (int i = 0; i < 2 * P; ++i)
  {
    const int p = i / 2, h = i % 2;
    if (i >= count)
    {
      input[i] = cutoff[i] = kNone;
      out[i] = sink;
      s0[p][h] = s1[p][h] = s2[p][h] = s3[p][h] = resonance[p][h] = offset[p][h] = 0.0;
      square[p][h] = cube[p][h] = lowPass[p][h] = highPass[p][h] = bandPass[p][h] = 0;
      continue;
    }
    const KvFilterPaulKellett& f = *lanes[i].filter;
    input[i] = lanes[i].input;
    cutoff[i] = lanes[i].cutoff;
    out[i] = lanes[i].out;
    s0[p][h] = f.s0;
    s1[p][h] = f.s1;
    s2[p][h] = f.s2;
    s3[p][h] = f.s3;
    resonance[p][h] = lanes[i].resonance;
    offset[p][h] = f.cutoffOffset;
    square[p][h] = f.cutoffCurve == IKvFilter::kCurveSquare ? -1 : 0;
    cube[p][h] = f.cutoffCurve == IKvFilter::kCurveCube ? -1 : 0;
    lowPass[p][h] = f.type == KvFilterPaulKellett::kLowPass ? -1 : 0;
    highPass[p][h] = f.type == KvFilterPaulKellett::kHighPass ? -1 : 0;
    bandPass[p][h] = f.type == KvFilterPaulKellett::kBandPass ? -1 : 0;
  }
  const Vector zero{};
  const Vector high = zero + 0.99;
  const Vector low = zero + 0.01;
  Vector shaped[P], f[P], feedback[P];
  // The feedback of the last effective cutoffs (which lie in 0.01..0.99, so -1 never
  // matches): a held cutoff divides only once, as the filter's own quotient cache does.
  Vector lastF[P];
  for (int p = 0; p < P; ++p)
  {
    lastF[p] = zero - 1.0;
    feedback[p] = zero;
  }
  for (int j = 0; j < n; ++j)
  {
    // Unrolled, so that the pairs' vectors stay in registers.
#pragma GCC unroll 4
    for (int p = 0; p < P; ++p)
    {
      const Vector x = {input[2 * p][j], input[2 * p + 1][j]};
      const Vector c = {cutoff[2 * p][j], cutoff[2 * p + 1][j]};
      if constexpr (Shaped)
      {
        const Vector c2 = c * c;
        shaped[p] = square[p] ? c2 : (cube[p] ? c2 * c : c);
      }
      else
        shaped[p] = c;
      const Vector raw = shaped[p] + offset[p];
      // !(f <= 0.99): 0.99 (also for NaN); below 0.01: 0.01.
      f[p] = raw <= high ? (raw < low ? low : raw) : high;
      const Mask moved = f[p] != lastF[p];
      if (moved[0] | moved[1])
      {
        feedback[p] = resonance[p] / (1.0 - f[p]) + resonance[p];
        lastF[p] = f[p];
      }
      const Vector n0 = s0[p] + f[p] * ((x - s0[p]) + feedback[p] * (s0[p] - s1[p]));
      const Vector n1 = s1[p] + f[p] * (n0 - s1[p]);
      const Vector n2 = s2[p] + f[p] * (n1 - s2[p]);
      const Vector n3 = s3[p] + f[p] * (n2 - s3[p]);
      // An input of exactly 0 outputs 0 and leaves the stages as they were.
      const Mask silent = x == zero;
      s0[p] = silent ? s0[p] : n0;
      s1[p] = silent ? s1[p] : n1;
      s2[p] = silent ? s2[p] : n2;
      s3[p] = silent ? s3[p] : n3;
      const Vector y = lowPass[p] ? n3 : (highPass[p] ? x - n3 : (bandPass[p] ? n0 - n3 : zero));
      const Vector result = silent ? zero : y;
      out[2 * p][j] = result[0];
      out[2 * p + 1][j] = result[1];
    }
  }
  for (int i = 0; i < count; ++i)
  {
    const int p = i / 2, h = i % 2;
    KvFilterPaulKellett& filter = *lanes[i].filter;
    filter.s0 = s0[p][h];
    filter.s1 = s1[p][h];
    filter.s2 = s2[p][h];
    filter.s3 = s3[p][h];
    filter.setLastSample(shaped[p][h], lanes[i].resonance, f[p][h], feedback[p][h]);
  }
}

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
  switch ((count + 1) / 2 + (shaped ? 4 : 0))
  {
  case 1:
    runPairs<1, false>(n);
    break;
  case 2:
    runPairs<2, false>(n);
    break;
  case 3:
    runPairs<3, false>(n);
    break;
  case 4:
    runPairs<4, false>(n);
    break;
  case 5:
    runPairs<1, true>(n);
    break;
  case 6:
    runPairs<2, true>(n);
    break;
  case 7:
    runPairs<3, true>(n);
    break;
  default:
    runPairs<4, true>(n);
    break;
  }
  count = 0;
}

} // namespace Korvane
