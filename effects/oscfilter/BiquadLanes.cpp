#include "effects/oscfilter/BiquadLanes.h"

namespace Korvane
{

namespace
{

// Where missing lanes read their silence from.
const double kNone[BiquadLanes::kMaxSamples] = {};

} // namespace

// Called from the audio thread, never blocks.
void BiquadLanes::Group::load(const BiquadLanes& from, int first) noexcept
{
  b0 = b1 = b2 = a1 = a2 = x1 = x2 = y1 = y2 = Vector{};
  for (int h = 0; h < 4; ++h)
  {
    if (first + h >= from.count)
    {
      // No coefficients: silence in, zeros out, nothing stored that anyone reads.
      input[h] = kNone;
      out[h] = sink;
      for (double*& m : memory[h])
        m = spare;
      continue;
    }
    const Lane& lane = from.lanes[first + h];
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
}

void BiquadLanes::Group::store() const noexcept
{
  for (int h = 0; h < 4; ++h)
  {
    *memory[h][0] = x1[h];
    *memory[h][1] = x2[h];
    *memory[h][2] = y1[h];
    *memory[h][3] = y2[h];
  }
}

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
