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

namespace
{

struct Kind
{
  int type, curve;
  double offset, resonance;
};

// `count` lanes of kinds[i % size] against the same filters run alone, over pieces of
// several lengths, input(t, lane) at sample t: every output bit and the filters' states.
// The filters start with their second stage at s1.
template <class Input>
void expectLanesMatchAlone(const std::vector<Kind>& kinds, int count, bool narrow, Input input,
                           double s1 = 0.0)
{
  const auto kind = [&](int i) { return kinds[std::size_t(i) % kinds.size()]; };
  std::vector<KvFilterPaulKellett> alone, laned;
  for (int i = 0; i < count; ++i)
  {
    KvFilterPaulKellett f(kind(i).type);
    f.cutoffCurve = kind(i).curve;
    f.cutoffOffset = kind(i).offset;
    f.s1 = s1;
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
        in[i].push_back(input(t, i));
        cut[i].push_back(0.6 + 0.7 * std::sin(0.013 * t + i)); // -0.1 .. 1.3
      }
      out[i].assign(std::size_t(n), 0.0);
      ASSERT_TRUE(lanes.add(laned[std::size_t(i)], in[i].data(), cut[i].data(), kind(i).resonance,
                            out[i].data()));
    }
    lanes.run(n);
    for (int i = 0; i < count; ++i)
      for (int j = 0; j < n; ++j)
      {
        const double y = alone[std::size_t(i)].process(in[i][std::size_t(j)],
                                                       cut[i][std::size_t(j)], kind(i).resonance);
        const double got = out[i][std::size_t(j)];
        // A NaN matches any NaN: which of two NaN operands an addition passes on follows
        // the operand order the compiler picks.
        if (std::isnan(got) && std::isnan(y))
          continue;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(y))
            << (narrow ? "narrow " : "wide ") << "lanes " << count << " lane " << i << " sample "
            << j;
      }
  }
  for (int i = 0; i < count; ++i)
  {
    const KvFilterPaulKellett &a = laned[std::size_t(i)], &b = alone[std::size_t(i)];
    for (const auto stage : {&KvFilterPaulKellett::s0, &KvFilterPaulKellett::s3})
      EXPECT_TRUE((std::isnan(a.*stage) && std::isnan(b.*stage)) ||
                  std::bit_cast<std::uint64_t>(a.*stage) == std::bit_cast<std::uint64_t>(b.*stage))
          << a.*stage << " " << b.*stage;
    EXPECT_EQ(a.feedback, b.feedback);
    EXPECT_EQ(a.cutoff, b.cutoff);
  }
}

} // namespace

TEST(KellettLanes, EveryLaneMatchesItsFilterRunAloneBitForBit)
{
  // Lanes of every type, cutoff curve and offset, with stretches of exact silence and
  // cutoffs beyond both limits; 1 to kLanes lanes over pieces of several lengths, in the
  // two-double vectors and (where the processor has AVX2) in the four-double ones.
  const std::vector<Kind> kinds = {
      {KvFilterPaulKellett::kLowPass, IKvFilter::kCurveLinear, 0.0, 0.3},
      {KvFilterPaulKellett::kHighPass, IKvFilter::kCurveSquare, 0.1, 0.9},
      {KvFilterPaulKellett::kBandPass, IKvFilter::kCurveCube, -0.2, 0.0},
      {7, IKvFilter::kCurveLinear, 0.0, 0.5}, // an unknown type outputs silence
      {KvFilterPaulKellett::kLowPass, IKvFilter::kCurveCube, 0.3, 1.2},
      {KvFilterPaulKellett::kHighPass, IKvFilter::kCurveLinear, -0.5, 0.1},
      {KvFilterPaulKellett::kBandPass, IKvFilter::kCurveSquare, 0.0, 0.7},
      {KvFilterPaulKellett::kLowPass, IKvFilter::kCurveLinear, 0.0, 0.0},
  };
  const auto input = [](int t, int i)
  {
    const bool silent = (t / 23) % 4 == 1;
    return silent ? 0.0 : std::sin(0.05 * t * (i + 1)) + 0.3 * std::cos(0.9 * t);
  };
  for (const bool narrow : {true, false})
  {
    for (int count = 1; count <= KellettLanes::kLanes; ++count)
      expectLanesMatchAlone(kinds, count, narrow, input);
    // Lanes all of one kind (the loop built for their type), with and without silence.
    for (const Kind& kind : kinds)
      for (const int count : {1, 3})
      {
        expectLanesMatchAlone({kind}, count, narrow, input);
        expectLanesMatchAlone({kind}, count, narrow,
                              [](int t, int i) { return std::sin(0.07 * t + i); });
      }
  }
}

TEST(KellettLanes, LanesWithoutResonanceMatchThroughNonFiniteStagesAndSignedZeros)
{
  // Groups whose every lane has no resonance (+0 or -0) take a shorter recursion; inputs
  // that drive the stages to infinity and NaN, signed zeros, the largest doubles and a
  // second stage that starts out infinite or NaN must still give the bits of the filters
  // alone.
  const std::vector<Kind> kinds = {
      {KvFilterPaulKellett::kLowPass, IKvFilter::kCurveLinear, 0.0, 0.0},
      {KvFilterPaulKellett::kHighPass, IKvFilter::kCurveLinear, 0.1, -0.0},
      {KvFilterPaulKellett::kBandPass, IKvFilter::kCurveSquare, 0.0, 0.0},
  };
  const double kPeaks[] = {INFINITY, -INFINITY, NAN, 1.7e308, -1.7e308, -0.0, 0.0};
  const double kStarts[] = {0.0, INFINITY, -INFINITY, NAN};
  for (const double s1 : kStarts)
    for (const double peak : kPeaks)
      for (const bool narrow : {true, false})
        for (int count = 1; count <= KellettLanes::kLanes; ++count)
          expectLanesMatchAlone(
              kinds, count, narrow,
              [peak](int t, int i)
              {
                // Short bursts of the peak with alternating signs.
                if (t % 150 >= 20 + i && t % 150 < 24 + i)
                  return t % 2 == 0 ? peak : -peak;
                return t % 7 == 0 ? -0.0 : 0.8 * std::sin(0.07 * t);
              },
              s1);
}
