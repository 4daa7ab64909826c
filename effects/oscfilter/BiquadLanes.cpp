#include "effects/oscfilter/BiquadLanes.h"

namespace Korvane
{

namespace
{

// Where missing lanes read their silence from.
const double kNone[BiquadLanes::kMaxSamples] = {};

} // namespace

// Called from the audio thread, never blocks.
template <int W>
void BiquadLanes::GroupOf<W>::load(const BiquadLanes& from, int first) noexcept
{
  Steps& g = steps;
  g.b0 = g.b1 = g.b2 = g.a1 = g.a2 = g.x1 = g.x2 = g.y1 = g.y2 = Vector{};
  for (int h = 0; h < W; ++h)
  {
    if (first + h >= from.count)
    {
      // No coefficients: silence in, zeros out, nothing stored that anyone reads.
      g.input[h] = kNone;
      g.out[h] = sink;
      for (double*& m : memory[h])
        m = spare;
      continue;
    }
    const Lane& lane = from.lanes[first + h];
    g.input[h] = lane.input;
    g.out[h] = lane.out;
    memory[h][0] = lane.x1;
    memory[h][1] = lane.x2;
    memory[h][2] = lane.y1;
    memory[h][3] = lane.y2;
    g.b0[h] = lane.b0;
    g.b1[h] = lane.b1;
    g.b2[h] = lane.b2;
    g.a1[h] = lane.a1;
    g.a2[h] = lane.a2;
    g.x1[h] = *lane.x1;
    g.x2[h] = *lane.x2;
    g.y1[h] = *lane.y1;
    g.y2[h] = *lane.y2;
  }
}

template <int W>
void BiquadLanes::GroupOf<W>::store() const noexcept
{
  for (int h = 0; h < W; ++h)
  {
    *memory[h][0] = steps.x1[h];
    *memory[h][1] = steps.x2[h];
    *memory[h][2] = steps.y1[h];
    *memory[h][3] = steps.y2[h];
  }
}

template struct BiquadLanes::GroupOf<2>;
template struct BiquadLanes::GroupOf<4>;

void BiquadLanes::run(int n) noexcept
{
  if (n > kMaxSamples)
    n = kMaxSamples;
  for (int g = 0; g < count; g += 4)
  {
    Group group;
    group.load(*this, g);
    for (int j = 0; j < n; ++j)
      group.step(j);
    group.store();
  }
  count = 0;
}

} // namespace Korvane
