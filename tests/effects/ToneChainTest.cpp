#include "effects/tone/ToneChain.h"

#include "effects/tone/DumpExpand.h"
#include "effects/tone/Equalizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using Korvane::DumpExpand;
using Korvane::Equalizer;

// The two units run together against eq.process() then dump.process() on copies, with
// both builds of the kernel: every bit of the output and of the following blocks (so the
// filter states match too), and nothing changed where the two cannot run together.
TEST(ToneChain, TogetherGivesTheBitsOfOneUnitAfterTheOther)
{
  const struct
  {
    double bass, mid, high, dump, peak; // peak: a sample that makes a filter run away
    int frames;
    bool fade, glide, together;
  } rows[] = {
      {0.5, 0.5, 0.5, 0.5, 0.0, 512, false, false, true},
      {0.9, 0.5, 0.1, 0.2, 0.0, 333, false, false, true},
      {0.3, 0.5, 0.6, 0.8, 1e308, 512, false, false, true},
      {0.5, 0.5, 0.5, 0.5, 0.0, 1025, false, false, false},
      // The mid path heard: its band-pass above the centre, its band-stop below.
      {0.5, 0.7, 0.5, 0.5, 0.0, 512, false, false, true},
      {0.7, 0.2, 0.4, 0.6, 1e308, 333, false, false, true},
      {0.3, 0.9, 0.6, 0.5, 0.0, 5, false, false, true},
      {0.5, 0.5, 0.5, 0.5, 0.0, 512, true, false, false},
      {0.5, 0.5, 0.5, 0.5, 0.0, 512, false, true, false},
      // Blocks shorter than, as long as and just longer than the filters' pipeline.
      {0.8, 0.5, 0.3, 0.6, 0.0, 1, false, false, true},
      {0.8, 0.5, 0.3, 0.6, 0.0, 5, false, false, true},
      {0.2, 0.5, 0.7, 0.4, 0.0, 6, false, false, true},
      {0.2, 0.5, 0.7, 0.4, 0.0, 7, false, false, true},
      {0.6, 0.5, 0.6, 0.9, 0.0, 9, false, false, true},
  };
  const auto same = [](const std::vector<double>& a, const std::vector<double>& b)
  { return std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0; };
  // Without the undefined and infinite samples the blocks take the path for finite
  // input; a peak of 1e308 then makes a filter run away within it.
  using Dsp::Kernel;
  for (const Kernel kernel : {Kernel::Avx512, Kernel::Avx2, Kernel::Baseline})
    for (const bool spikes : {true, false})
      for (const auto& row : rows)
      {
        Equalizer eq;
        DumpExpand dump;
        eq.setSampleRate(44100);
        dump.setSampleRate(44100);
        eq.setBass(row.bass);
        eq.setMid(row.mid);
        eq.setHigh(row.high);
        dump.setValue(row.dump);
        std::vector<double> l(1200, 0.1), r(1200, -0.1);
        eq.process(l.data(), r.data(), 1200); // the first glides are over
        dump.process(l.data(), r.data(), 1200);
        if (row.fade)
          dump.setBypass(true);
        if (row.glide)
          eq.setHigh(row.high + 0.1);
        Equalizer eqRef = eq;
        DumpExpand dumpRef = dump;
        for (int block = 0; block < 3; ++block)
        {
          std::vector<double> left(static_cast<std::size_t>(row.frames)), right(left);
          for (int i = 0; i < row.frames; ++i)
          {
            left[std::size_t(i)] = spikes && i == 5 ? NAN
                                   : i == 50        ? row.peak
                                                    : std::sin(0.02 * i) * 0.9;
            right[std::size_t(i)] = spikes && i == 7 ? -INFINITY
                                    : i == 8         ? -0.0
                                                     : std::cos(0.3 * i);
          }
          std::vector<double> refLeft = left, refRight = right;
          const bool together =
              Korvane::processToneChain(eq, dump, left.data(), right.data(), row.frames, kernel);
          ASSERT_EQ(together, block == 0 ? row.together : together) << row.frames;
          if (!together)
          {
            EXPECT_TRUE(same(left, refLeft) && same(right, refRight)); // untouched
            eq.process(left.data(), right.data(), row.frames);
            dump.process(left.data(), right.data(), row.frames);
          }
          eqRef.process(refLeft.data(), refRight.data(), row.frames);
          dumpRef.process(refLeft.data(), refRight.data(), row.frames);
          EXPECT_TRUE(same(left, refLeft) && same(right, refRight))
              << row.bass << " " << row.frames << " block " << block << " kernel " << int(kernel)
              << (spikes ? " spikes" : "");
        }
      }
}
