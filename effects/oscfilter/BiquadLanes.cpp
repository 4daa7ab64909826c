#include "effects/oscfilter/BiquadLanes.h"

namespace Korvane
{

namespace
{

constexpr int kWidth = 4;
using Vector = double __attribute__((vector_size(kWidth * sizeof(double))));

} // namespace

// Called from the audio thread, never blocks.
void BiquadLanes::run(int n) noexcept
{
  if (n > kMaxSamples)
    n = kMaxSamples;
  static const double kNone[kMaxSamples] = {};
  double sink[kMaxSamples];
  double spare[4] = {};
  for (int g = 0; g < count; g += kWidth)
  {
    // Missing lanes filter silence with no coefficients into the sink.
    const double* input[kWidth];
    double* out[kWidth];
    double* memory[kWidth][4];
    Vector b0{}, b1{}, b2{}, a1{}, a2{}, x1{}, x2{}, y1{}, y2{};
    for (int h = 0; h < kWidth; ++h)
    {
      if (g + h >= count)
      {
        input[h] = kNone;
        out[h] = sink;
        for (double*& m : memory[h])
          m = spare;
        continue;
      }
      const Lane& lane = lanes[g + h];
      input[h] = lane.input;
      out[h] = lane.out;
      memory[h][0] = lane.x1;
      memory[h][1] = lane.x2;
      memory[h][2] = lane.y1;
      memory[h][3] = lane.y2;
      b0[h] = lane.b0;
      b1[h] = lane.b1;
      b2[h] = lane.b2;
      a1[h] = lane.a1;
      a2[h] = lane.a2;
      x1[h] = *lane.x1;
      x2[h] = *lane.x2;
      y1[h] = *lane.y1;
      y2[h] = *lane.y2;
    }
    for (int j = 0; j < n; ++j)
    {
      Vector x;
#pragma GCC unroll 4
      for (int h = 0; h < kWidth; ++h)
        x[h] = input[h][j];
      const Vector y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1;
      x1 = x;
      y2 = y1;
      y1 = y;
#pragma GCC unroll 4
      for (int h = 0; h < kWidth; ++h)
        out[h][j] = y[h];
    }
    for (int h = 0; h < kWidth; ++h)
    {
      *memory[h][0] = x1[h];
      *memory[h][1] = x2[h];
      *memory[h][2] = y1[h];
      *memory[h][3] = y2[h];
    }
  }
  count = 0;
}

} // namespace Korvane
