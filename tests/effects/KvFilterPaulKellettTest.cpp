#include "effects/oscfilter/KvFilterPaulKellett.h"
#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Korvane::KvFilterPaulKellett;

namespace
{

std::vector<double> noise(int n, unsigned seed = 7) { return SignalProbe::noise(n, seed); }

// Output of the first sample from a cleared filter: the low-pass gives f^4 * x.
double firstLowPassSample(double cutoff, double x = 1.0)
{
  KvFilterPaulKellett f(KvFilterPaulKellett::kLowPass);
  return f.process(x, cutoff, 0.0);
}

} // namespace

TEST(KvFilterPaulKellett, CutoffIsLimitedShapedAndOffset)
{
  EXPECT_DOUBLE_EQ(firstLowPassSample(0.0), std::pow(0.01, 4));
  EXPECT_DOUBLE_EQ(firstLowPassSample(-3.0), std::pow(0.01, 4));
  EXPECT_DOUBLE_EQ(firstLowPassSample(1.0), std::pow(0.99, 4));
  EXPECT_DOUBLE_EQ(firstLowPassSample(NAN), std::pow(0.99, 4));
  EXPECT_DOUBLE_EQ(firstLowPassSample(0.5), std::pow(0.5, 4));

  KvFilterPaulKellett f;
  f.cutoffCurve = 1;
  f.process(1.0, 0.5, 0.3);
  EXPECT_DOUBLE_EQ(f.cutoff, 0.25);
  EXPECT_DOUBLE_EQ(f.feedback, 0.3 / 0.75 + 0.3);
  f.cutoffCurve = 2;
  f.process(1.0, 0.5, 0.0);
  EXPECT_DOUBLE_EQ(f.cutoff, 0.125);
  f.cutoffCurve = 9;
  f.cutoffOffset = 0.3;
  f.process(1.0, 0.5, 0.0);
  EXPECT_DOUBLE_EQ(f.cutoff, 0.5);
  EXPECT_DOUBLE_EQ(f.effectiveCutoff(), 0.8);
}

TEST(KvFilterPaulKellett, DigitalSilenceKeepsTheStateAndTheSignalResumesFromIt)
{
  const auto in = noise(400);
  KvFilterPaulKellett gapped(KvFilterPaulKellett::kHighPass), plain(KvFilterPaulKellett::kHighPass);
  for (int i = 0; i < 200; ++i)
    ASSERT_EQ(gapped.process(in[i], 0.4, 0.7), plain.process(in[i], 0.4, 0.7));
  const double s[4] = {gapped.s0, gapped.s1, gapped.s2, gapped.s3};
  for (int i = 0; i < 50; ++i)
    ASSERT_EQ(gapped.process(0.0, 0.4, 0.7), 0.0); // a high-pass would otherwise give -s3
  EXPECT_EQ(gapped.s0, s[0]);
  EXPECT_EQ(gapped.s3, s[3]);
  for (int i = 200; i < 400; ++i)
    ASSERT_EQ(gapped.process(in[i], 0.4, 0.7), plain.process(in[i], 0.4, 0.7)) << i;
}

TEST(KvFilterPaulKellett, TypesShareTheStagesAndDcGoesOnlyThroughTheLowPass)
{
  KvFilterPaulKellett lp(0), hp(1), bp(2), other(5);
  const auto in = noise(300);
  for (double x : in)
  {
    const double l = lp.process(x, 0.3, 0.5);
    EXPECT_DOUBLE_EQ(hp.process(x, 0.3, 0.5), x - l);
    EXPECT_DOUBLE_EQ(bp.process(x, 0.3, 0.5), lp.s0 - lp.s3);
    EXPECT_EQ(other.process(x, 0.3, 0.5), 0.0);
  }
  double yl = 0, yh = 0, yb = 0;
  for (int i = 0; i < 5000; ++i)
  {
    yl = lp.process(1.0, 0.3, 0.0);
    yh = hp.process(1.0, 0.3, 0.0);
    yb = bp.process(1.0, 0.3, 0.0);
  }
  EXPECT_NEAR(yl, 1.0, 1e-9);
  EXPECT_NEAR(yh, 0.0, 1e-9);
  EXPECT_NEAR(yb, 0.0, 1e-9);
  lp.reset();
  EXPECT_EQ(lp.s0 + lp.s1 + lp.s2 + lp.s3, 0.0);
}

TEST(KvFilterPaulKellett, FullResonanceIsTheSelfOscillatingEdge)
{
  // Excite, then feed a negligible (non-zero, so the stages keep running) input:
  // below full resonance the ringing dies away, at full resonance it carries on.
  const auto in = noise(200, 3);
  for (double cutoff : {0.0, 0.5, 1.0})
  {
    KvFilterPaulKellett damped, edge;
    for (double x : in)
    {
      damped.process(x, cutoff, 0.9);
      edge.process(x, cutoff, 1.0);
    }
    double dampedPeak = 0.0, edgePeak = 0.0;
    for (int i = 0; i < 20000; ++i)
    {
      const double d = damped.process(1e-300, cutoff, 0.9);
      const double e = edge.process(1e-300, cutoff, 1.0);
      if (i >= 19000)
      {
        dampedPeak = std::max(dampedPeak, std::fabs(d));
        edgePeak = std::max(edgePeak, std::fabs(e));
      }
    }
    EXPECT_LT(dampedPeak, 1e-6) << cutoff;
    EXPECT_GT(edgePeak, 1e-3) << cutoff;
    EXPECT_LT(edgePeak, 1e3) << cutoff;
  }
}
