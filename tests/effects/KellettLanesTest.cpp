#include "effects/oscfilter/KellettLanes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

using Korvane::IKvFilter;
using Korvane::KellettLanes;
using Korvane::KvFilterPaulKellett;

TEST(KellettLanes, EveryLaneMatchesItsFilterRunAloneBitForBit)
{
  // Lanes of every type, cutoff curve and offset, with stretches of exact silence and
  // cutoffs beyond both limits; 1 to kLanes lanes over pieces of several lengths, in the
  // two-double vectors and (where the processor has AVX2) in the four-double ones.
  const struct
  {
    int type, curve;
    double offset, resonance;
  } kKinds[] = {
      {KvFilterPaulKellett::kLowPass, IKvFilter::kCurveLinear, 0.0, 0.3},
      {KvFilterPaulKellett::kHighPass, IKvFilter::kCurveSquare, 0.1, 0.9},
      {KvFilterPaulKellett::kBandPass, IKvFilter::kCurveCube, -0.2, 0.0},
      {7, IKvFilter::kCurveLinear, 0.0, 0.5}, // an unknown type outputs silence
      {KvFilterPaulKellett::kLowPass, IKvFilter::kCurveCube, 0.3, 1.2},
      {KvFilterPaulKellett::kHighPass, IKvFilter::kCurveLinear, -0.5, 0.1},
      {KvFilterPaulKellett::kBandPass, IKvFilter::kCurveSquare, 0.0, 0.7},
      {KvFilterPaulKellett::kLowPass, IKvFilter::kCurveLinear, 0.0, 0.0},
  };
  constexpr int kKindCount = int(std::size(kKinds));
  for (const bool narrow : {true, false})
    for (int count = 1; count <= KellettLanes::kLanes; ++count)
    {
      const auto kind = [&](int i) { return kKinds[i % kKindCount]; };
      std::vector<KvFilterPaulKellett> alone, laned;
      for (int i = 0; i < count; ++i)
      {
        KvFilterPaulKellett f(kind(i).type);
        f.cutoffCurve = kind(i).curve;
        f.cutoffOffset = kind(i).offset;
        alone.push_back(f);
        laned.push_back(f);
      }
      const int pieces[] = {64, 1, 17, 64, 40};
      int t = 0;
      for (const int n : pieces)
      {
        std::vector<std::vector<double>> in(count), cut(count), out(count);
        KellettLanes lanes;
        lanes.narrow = narrow;
        for (int i = 0; i < count; ++i)
        {
          for (int j = 0; j < n; ++j, ++t)
          {
            const bool silent = (t / 23) % 4 == 1;
            in[i].push_back(silent ? 0.0 : std::sin(0.05 * t * (i + 1)) + 0.3 * std::cos(0.9 * t));
            cut[i].push_back(0.6 + 0.7 * std::sin(0.013 * t + i)); // -0.1 .. 1.3
          }
          out[i].assign(std::size_t(n), 0.0);
          ASSERT_TRUE(lanes.add(laned[std::size_t(i)], in[i].data(), cut[i].data(),
                                kind(i).resonance, out[i].data()));
        }
        lanes.run(n);
        for (int i = 0; i < count; ++i)
          for (int j = 0; j < n; ++j)
          {
            const double y = alone[std::size_t(i)].process(
                in[i][std::size_t(j)], cut[i][std::size_t(j)], kind(i).resonance);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(out[i][std::size_t(j)]),
                      std::bit_cast<std::uint64_t>(y))
                << (narrow ? "narrow " : "wide ") << "lanes " << count << " lane " << i
                << " sample " << j;
          }
      }
      for (int i = 0; i < count; ++i)
      {
        EXPECT_EQ(laned[std::size_t(i)].s3, alone[std::size_t(i)].s3);
        EXPECT_EQ(laned[std::size_t(i)].feedback, alone[std::size_t(i)].feedback);
        EXPECT_EQ(laned[std::size_t(i)].cutoff, alone[std::size_t(i)].cutoff);
      }
    }
}
