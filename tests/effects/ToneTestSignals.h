#pragma once
// Signals for the tone and meter unit tests: sines and noise run through a unit in
// blocks, and the gain measured on what comes out.
#include "SignalProbe.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include <numbers>
#include <vector>

namespace ToneTestSignals
{

inline std::vector<double> sine(double hz, double rate, int frames)
{
  std::vector<double> v(std::size_t(frames), 0.0);
  for (int i = 0; i < frames; ++i)
    v[std::size_t(i)] = 0.5 * std::sin(2.0 * std::numbers::pi * hz * double(i) / rate);
  return v;
}

using SignalProbe::noise;

// Runs both channels through `unit` in blocks of `block` samples, in place.
template <class Unit>
void run(Unit& unit, std::vector<double>& l, std::vector<double>& r, int block)
{
  const int frames = int(l.size());
  for (int i = 0; i < frames; i += block)
    unit.process(l.data() + i, r.data() + i, frames - i < block ? frames - i : block);
}

// Gain in dB of a sine at `hz` through `unit` (left channel; the right gets the same),
// measured as an RMS ratio over the last second after one second to settle.
template <class Unit>
double gainDb(Unit& unit, double hz, double rate)
{
  const int settle = int(rate);
  std::vector<double> l = sine(hz, rate, 2 * settle);
  const std::vector<double> in = l;
  std::vector<double> r = l;
  run(unit, l, r, 512);
  double sumIn = 0.0, sumOut = 0.0;
  for (std::size_t i = std::size_t(settle); i < l.size(); ++i)
  {
    sumIn += in[i] * in[i];
    sumOut += l[i] * l[i];
  }
  return 10.0 * std::log10(sumOut / sumIn);
}

// A host block longer than the 1024-sample work buffers is processed in pieces: 2048
// and 2500-sample blocks give exactly what 1024-sample blocks give, and are changed.
// makeUnit() gives two fresh, equally set units.
template <class MakeUnit>
void expectLongBlocksAsBlocksOf1024(MakeUnit makeUnit)
{
  for (int block : {2048, 2500})
  {
    auto longBlocks = makeUnit(), shortBlocks = makeUnit();
    std::vector<double> l1 = noise(8192, 7), r1 = noise(8192, 8);
    const std::vector<double> in = l1;
    std::vector<double> l2 = l1, r2 = r1;
    run(longBlocks, l1, r1, block);
    run(shortBlocks, l2, r2, 1024);
    EXPECT_EQ(l1, l2) << block;
    EXPECT_EQ(r1, r2) << block;
    EXPECT_GT(std::fabs(l1[2000] - in[2000]), 1e-3) << block;
  }
}

// NaN, infinite and huge samples never leave the filters non-finite: the next block
// comes out clean.
template <class Unit>
void expectCleanAfterBadSamples(Unit& unit)
{
  std::vector<double> l = noise(1024, 1), r = noise(1024, 2);
  l[10] = std::numeric_limits<double>::quiet_NaN();
  r[20] = std::numeric_limits<double>::infinity();
  l[30] = 1e308;
  r[40] = -1e308;
  run(unit, l, r, 1024);
  l = noise(1024, 3);
  r = noise(1024, 4);
  run(unit, l, r, 1024);
  for (std::size_t i = 0; i < l.size(); ++i)
    ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i])) << i;
}

} // namespace ToneTestSignals
