#include "synth/OutputStage.h"

using Dsp::loadPair;
using Dsp::Pair;
using Dsp::storePair;

namespace
{

// out[k] = f(k) for k from `from` up to frames, where f takes and returns either a double
// (one sample) or a Pair (samples k and k + 1).
template <class Step>
void ForRest(int from, int frames, Step step)
{
  int k = from;
  for (; k + 2 <= frames; k += 2)
    step(k, Pair{});
  for (; k < frames; ++k)
    step(k, 0.0);
}

template <class T>
T Load(const double* p, int k)
{
  if constexpr (sizeof(T) == sizeof(double))
    return p[k];
  else
    return loadPair(p + k);
}

template <class T>
void Store(double* p, int k, T v)
{
  if constexpr (sizeof(T) == sizeof(double))
    p[k] = v;
  else
    storePair(p + k, v);
}

} // namespace

void OutputStage::MixDryWet(const double* dryLeft, const double* dryRight, double* left,
                            double* right, int frames, double target)
{
  int k = 0;
  for (; k < frames && !dryWet.Settled(target); ++k)
  {
    const double x = dryWet.Next(target);
    left[k] = (1.0 - x) * dryLeft[k] + x * left[k];
    right[k] = (1.0 - x) * dryRight[k] + x * right[k];
  }
  const double x = dryWet.state;
  ForRest(k, frames,
          [&](int i, auto kind)
          {
            using T = decltype(kind);
            Store(left, i, (1.0 - x) * Load<T>(dryLeft, i) + x * Load<T>(left, i));
            Store(right, i, (1.0 - x) * Load<T>(dryRight, i) + x * Load<T>(right, i));
          });
}

void OutputStage::AddBassLayer(const double* bass, double* left, double* right, int frames,
                               double amount, bool solo)
{
  int k = 0;
  for (; k < frames && !bassGain.Settled(amount); ++k)
  {
    const double b = bassGain.Next(amount) * bass[k];
    if (solo)
    {
      left[k] = right[k] = b;
    }
    else
    {
      left[k] += b;
      right[k] += b;
    }
  }
  const double g = bassGain.state;
  ForRest(k, frames,
          [&](int i, auto kind)
          {
            using T = decltype(kind);
            const T b = g * Load<T>(bass, i);
            Store(left, i, solo ? b : Load<T>(left, i) + b);
            Store(right, i, solo ? b : Load<T>(right, i) + b);
          });
}

void OutputStage::ApplyVolumeAndPan(double* left, double* right, int frames, double volumeTarget,
                                    double panTarget)
{
  int k = 0;
  for (; k < frames && !(volume.Settled(volumeTarget) && pan.Settled(panTarget)); ++k)
  {
    const double v = volume.Next(volumeTarget);
    const double p = pan.Next(panTarget);
    if (p < 0.5)
    {
      left[k] *= v;
      right[k] *= 2.0 * p * v;
    }
    else
    {
      left[k] *= (1.0 - 2.0 * (p - 0.5)) * v;
      right[k] *= v;
    }
  }
  // The same factors as above, worked out once for the settled values.
  const double v = volume.state;
  const double p = pan.state;
  const double leftFactor = p < 0.5 ? v : (1.0 - 2.0 * (p - 0.5)) * v;
  const double rightFactor = p < 0.5 ? 2.0 * p * v : v;
  ForRest(k, frames,
          [&](int i, auto kind)
          {
            using T = decltype(kind);
            Store(left, i, Load<T>(left, i) * leftFactor);
            Store(right, i, Load<T>(right, i) * rightFactor);
          });
}
