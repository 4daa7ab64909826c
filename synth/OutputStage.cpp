#include "synth/OutputStage.h"

void OutputStage::MixDryWet(const double* dryLeft, const double* dryRight, double* left,
                            double* right, int frames, double target)
{
  for (int k = 0; k < frames; ++k)
  {
    const double x = dryWet.Next(target);
    left[k] = (1.0 - x) * dryLeft[k] + x * left[k];
    right[k] = (1.0 - x) * dryRight[k] + x * right[k];
  }
}

void OutputStage::AddBassLayer(const double* bass, double* left, double* right, int frames,
                               double amount, bool solo)
{
  for (int k = 0; k < frames; ++k)
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
}

void OutputStage::ApplyVolumeAndPan(double* left, double* right, int frames, double volumeTarget,
                                    double panTarget)
{
  for (int k = 0; k < frames; ++k)
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
}
