#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/ChebyshevILowPass.h"
#include "dsp/DirectFormI.h"
#include "dsp/DirectFormII.h"
#include "dsp/RBJHighPass.h"
#include "dsp/RBJLowPass.h"
#include "dsp/SmoothedFilterDesign.h"

using namespace Dsp;

namespace
{

using Smoothed = SmoothedFilterDesign<ChebyshevI::LowPass, 2, DirectFormII>;
using Plain = FilterDesign<ChebyshevI::LowPass, 2, DirectFormII>;

Params cheby(double fc, double order = 4, double ripple = 1)
{
  Params p;
  p[0] = 44100;
  p[1] = order;
  p[2] = fc;
  p[3] = ripple;
  return p;
}

std::vector<double> noise(int n, unsigned seed)
{
  std::vector<double> v(n);
  for (double& x : v)
  {
    seed = seed * 1664525u + 1013904223u;
    x = (seed >> 8) / 8388608.0 - 1.0;
  }
  return v;
}

void run(Filter& f, std::vector<double>& left, std::vector<double>& right, int offset, int n)
{
  double* ch[2] = {left.data() + offset, right.data() + offset};
  f.process(n, ch);
}

bool sameCoefficients(const Cascade<2>& a, const Cascade<2>& b, double tol)
{
  if (a.getNumStages() != b.getNumStages())
    return false;
  for (int i = 0; i < a.getNumStages(); ++i)
  {
    const double d[5] = {a[i].b0 - b[i].b0, a[i].b1 - b[i].b1, a[i].b2 - b[i].b2, a[i].a1 - b[i].a1,
                         a[i].a2 - b[i].a2};
    for (double x : d)
      if (std::fabs(x) > tol)
        return false;
  }
  return true;
}

} // namespace

TEST(SmoothedFilterDesign, FirstSetTakesEffectImmediately)
{
  Smoothed smooth;
  Plain plain;
  EXPECT_EQ(smooth.getRemainingSamples(), -1);
  ASSERT_TRUE(smooth.setParams(cheby(500)));
  ASSERT_TRUE(plain.setParams(cheby(500)));
  EXPECT_EQ(smooth.getRemainingSamples(), 0);
  EXPECT_EQ(smooth.getTransitionParams(), cheby(500));
  std::vector<double> a = noise(2000, 1), b = a, c = a, d = a;
  run(smooth, a, b, 0, 2000);
  run(plain, c, d, 0, 2000);
  EXPECT_EQ(a, c);
  EXPECT_EQ(b, d);
}

TEST(SmoothedFilterDesign, LaterSetsGlideOver512SamplesWithAFullRedesignPerSample)
{
  Smoothed f;
  ASSERT_TRUE(f.setParams(cheby(500)));
  ASSERT_TRUE(f.setParam(kIdFrequency, 4000));
  EXPECT_EQ(f.getRemainingSamples(), 512);
  EXPECT_EQ(f.getParams()[2], 4000);
  // The target design is already the new one; the glide has not moved yet.
  Plain target;
  ASSERT_TRUE(target.setParams(cheby(4000)));
  EXPECT_TRUE(sameCoefficients(f.getDesign(), target.getDesign(), 0));
  EXPECT_EQ(f.getTransitionParams()[2], 500);

  // The first glide sample already uses the parameters one step along: with an
  // impulse into a silent Direct Form II, y0 = b0 * (1 - guard).
  std::vector<double> left(1, 1.0), right(1, 0.0);
  run(f, left, right, 0, 1);
  Plain oneStep;
  ASSERT_TRUE(oneStep.setParams(cheby(500 + 3500.0 / 512)));
  EXPECT_NEAR(left[0], oneStep.getDesign()[0].b0 * (1 - 1e-8), 1e-15);
  EXPECT_EQ(f.getRemainingSamples(), 511);

  // After k samples the glide design is the full design at 500 + k * step.
  std::vector<double> l2(199, 0.0), r2(199, 0.0);
  run(f, l2, r2, 0, 199);
  EXPECT_EQ(f.getRemainingSamples(), 312);
  EXPECT_NEAR(f.getTransitionParams()[2], 500 + 200 * 3500.0 / 512, 1e-9);
  Plain atStep;
  ASSERT_TRUE(atStep.setParams(cheby(500 + 200 * 3500.0 / 512)));
  EXPECT_TRUE(sameCoefficients(f.getTransitionDesign(), atStep.getDesign(), 1e-12));

  // A block longer than the rest of the glide finishes it and runs the rest with
  // the target; the transition parameters are then exactly the target.
  std::vector<double> l3(1000, 0.0), r3(1000, 0.0);
  run(f, l3, r3, 0, 1000);
  EXPECT_EQ(f.getRemainingSamples(), 0);
  EXPECT_EQ(f.getTransitionParams(), cheby(4000));
}

TEST(SmoothedFilterDesign, AChangeDuringAGlideRestartsFromTheValuesReached)
{
  Smoothed f;
  ASSERT_TRUE(f.setParams(cheby(500)));
  ASSERT_TRUE(f.setParams(cheby(4500)));
  std::vector<double> l(256, 0.0), r(256, 0.0);
  run(f, l, r, 0, 256);
  const double reached = 500 + 256 * 4000.0 / 512; // half way: 2500 Hz
  EXPECT_NEAR(f.getTransitionParams()[2], reached, 1e-9);
  ASSERT_TRUE(f.setParams(cheby(100)));
  EXPECT_EQ(f.getRemainingSamples(), 512);
  EXPECT_NEAR(f.getTransitionParams()[2], reached, 1e-9);
  std::vector<double> l2(128, 0.0), r2(128, 0.0);
  run(f, l2, r2, 0, 128);
  EXPECT_NEAR(f.getTransitionParams()[2], reached + 128 * (100 - reached) / 512, 1e-9);
  std::vector<double> l3(384, 0.0), r3(384, 0.0);
  run(f, l3, r3, 0, 384);
  EXPECT_EQ(f.getRemainingSamples(), 0);
  EXPECT_EQ(f.getTransitionParams()[2], 100);
}

TEST(SmoothedFilterDesign, OrderGlidesTooTruncatedWhereItIsUsed)
{
  Smoothed f;
  ASSERT_TRUE(f.setParams(cheby(1000, 1)));
  ASSERT_TRUE(f.setParams(cheby(1000, 4)));
  EXPECT_EQ(f.getDesign().getNumStages(), 2);
  std::vector<double> l(100, 0.0), r(100, 0.0);
  run(f, l, r, 0, 100); // order 1 + 100 * 3 / 512 = 1.59 -> 1
  EXPECT_EQ(f.getTransitionDesign().getNumStages(), 1);
  std::vector<double> l2(100, 0.0), r2(100, 0.0);
  run(f, l2, r2, 0, 100); // 2.17 -> 2: still one section
  EXPECT_EQ(f.getTransitionDesign().getNumStages(), 1);
  run(f, l2, r2, 0, 100); // 2.76 -> 2
  run(f, l2, r2, 0, 100); // 3.34 -> 3: two sections
  EXPECT_EQ(f.getTransitionDesign().getNumStages(), 2);
  for (double v : l2)
    EXPECT_TRUE(std::isfinite(v));
}

TEST(SmoothedFilterDesign, OutputDoesNotDependOnTheBlockSize)
{
  // Same input, same parameter changes at the same sample positions, processed in
  // blocks of different sizes: the glides must line up sample for sample.
  const int total = 3000;
  const std::vector<double> input = noise(total, 7);
  std::vector<std::vector<double>> outputs;
  for (int block : {1, 7, 64, 500, 3000})
  {
    Smoothed f;
    ASSERT_TRUE(f.setParams(cheby(300)));
    std::vector<double> l = input, r = input;
    for (int pos = 0; pos < total;)
    {
      if (pos == 0)
      {
        ASSERT_TRUE(f.setParam(kIdFrequency, 5000));
      }
      if (pos == 700)
      {
        ASSERT_TRUE(f.setParam(kIdRippleDb, 6));
      }
      int n = std::min(block, total - pos);
      if (pos < 700 && pos + n > 700)
        n = 700 - pos; // change lands at sample 700
      run(f, l, r, pos, n);
      pos += n;
    }
    EXPECT_EQ(l, r); // both channels see the same design
    outputs.push_back(l);
  }
  for (size_t k = 1; k < outputs.size(); ++k)
    for (int i = 0; i < total; ++i)
      ASSERT_NEAR(outputs[k][i], outputs[0][i], 1e-9) << k << " " << i;
}

TEST(SmoothedFilterDesign, GlideIsContinuousWhereAnAbruptChangeIsNot)
{
  // A low-pass swept from 200 Hz to 8 kHz on a steady 3 kHz sine: the smoothed
  // design raises the level over the glide; no sample jumps further than the sine
  // itself can move in one sample.
  const double fs = 44100;
  const int n = 2048;
  std::vector<double> l(n), r(n);
  for (int i = 0; i < n; ++i)
    l[i] = r[i] = std::sin(2 * std::numbers::pi * 3000 * i / fs);
  Smoothed f;
  ASSERT_TRUE(f.setParams(cheby(200, 4, 0.01)));
  run(f, l, r, 0, 1024);
  ASSERT_TRUE(f.setParam(kIdFrequency, 8000));
  run(f, l, r, 1024, 1024);
  const double maxStep = 2 * std::sin(std::numbers::pi * 3000 / fs) * 1.2;
  for (int i = 1025; i < n; ++i)
    ASSERT_LT(std::fabs(l[i] - l[i - 1]), maxStep) << i;
  double late = 0;
  for (int i = n - 300; i < n; ++i)
    late = std::max(late, std::fabs(l[i]));
  EXPECT_NEAR(late, 1.0, 0.02);
}

TEST(Filter, SetParamAndSetParamsRefuseWhatTheyCannotUse)
{
  Smoothed f;
  ASSERT_TRUE(f.setParams(cheby(1000)));
  const Params before = f.getParams();
  // An id the design does not have: nothing changes, no glide starts.
  EXPECT_FALSE(f.setParam(kIdQ, 3));
  EXPECT_FALSE(f.setParam(6, 3));
  EXPECT_EQ(f.getParams(), before);
  EXPECT_EQ(f.getRemainingSamples(), 0);
  // A value that is not a number is refused as well.
  EXPECT_FALSE(f.setParam(kIdFrequency, std::nan("")));
  EXPECT_FALSE(f.setParam(kIdFrequency, INFINITY));
  EXPECT_EQ(f.getParams(), before);
  EXPECT_EQ(f.getRemainingSamples(), 0);
  // Ids find their position (Order is position 1, the frequency position 2).
  EXPECT_TRUE(f.setParam(kIdOrder, 3));
  EXPECT_EQ(f.getParams()[1], 3);
  EXPECT_EQ(f.getRemainingSamples(), 512);
}

TEST(Filter, TransitionLengthHookChangesNothing)
{
  Smoothed f;
  ASSERT_TRUE(f.setParams(cheby(1000)));
  f.setTransitionLength(2048);
  f.setTransitionLength(0);
  ASSERT_TRUE(f.setParams(cheby(2000)));
  EXPECT_EQ(f.getRemainingSamples(), 512);
  EXPECT_EQ(f.getTransitionSamples(), 512);
}

TEST(Filter, StartsAtItsDefaultsAndResetRepeatsTheImpulseResponse)
{
  SmoothedFilterDesign<RBJ::LowPass, 2, DirectFormI> f;
  FilterDesign<RBJ::LowPass, 2, DirectFormI> reference;
  EXPECT_EQ(f.getParams(), f.getDefaultParams());
  // Before any set the defaults filter (2000 Hz, Q 1), not silence or garbage.
  EXPECT_NEAR(std::abs(f.response(2000 / 44100.0)), 1.0, 1e-12);
  std::vector<double> a(300, 0.0), b(300, 0.0);
  a[0] = 1;
  std::vector<double> a2 = a, b2 = b;
  run(f, a, b, 0, 300);
  f.reset();
  run(f, a2, b2, 0, 300);
  EXPECT_EQ(a, a2);
  EXPECT_EQ(b, b2);
  std::vector<double> c(300, 0.0), d(300, 0.0);
  c[0] = 1;
  run(reference, c, d, 0, 300);
  EXPECT_EQ(a, c);
}

TEST(Filter, FloatAndDoubleProcessingAgree)
{
  Smoothed fd, ff;
  ASSERT_TRUE(fd.setParams(cheby(800)));
  ASSERT_TRUE(ff.setParams(cheby(800)));
  ASSERT_TRUE(fd.setParams(cheby(3000)));
  ASSERT_TRUE(ff.setParams(cheby(3000)));
  const std::vector<double> input = noise(1500, 3);
  std::vector<double> l = input, r = input;
  std::vector<float> lf(input.begin(), input.end()), rf = lf;
  run(fd, l, r, 0, 1500);
  float* ch[2] = {lf.data(), rf.data()};
  ff.process(1500, ch);
  for (int i = 0; i < 1500; ++i)
    ASSERT_NEAR(lf[i], l[i], 1e-5) << i;
}

TEST(Filter, BadBlocksAreIgnored)
{
  Smoothed f;
  ASSERT_TRUE(f.setParams(cheby(800)));
  ASSERT_TRUE(f.setParams(cheby(3000)));
  std::vector<double> l(16, 1.0);
  double* ch[2] = {l.data(), nullptr}; // a missing channel is skipped
  f.process(16, ch);
  f.process(0, ch);
  f.process(-5, ch);
  f.process(16, static_cast<double* const*>(nullptr));
  EXPECT_EQ(f.getRemainingSamples(), 512 - 16);
  for (double v : l)
    EXPECT_TRUE(std::isfinite(v));
}

TEST(Filter, SilenceGivesTheTinyAlternatingGuard)
{
  // A high-pass passes the guard's Nyquist-rate alternation: silence in, a tiny
  // alternating signal out, never exact zero and never denormal.
  FilterDesign<RBJ::HighPass, 2, DirectFormII> f;
  std::vector<double> l(2000, 0.0), r(2000, 0.0);
  run(f, l, r, 0, 2000);
  for (int i = 1000; i < 2000; ++i)
  {
    ASSERT_NE(l[i], 0.0);
    ASSERT_LT(std::fabs(l[i]), 1e-7);
    ASSERT_GT(std::fabs(l[i]), 1e-12);
    ASSERT_LT(l[i] * l[i - 1], 0.0) << i; // the sign alternates
  }
}

TEST(SmoothedFilterDesign, StereoSideBySideGivesEachChannelsBitsAlone)
{
  // Two designs in series over a stereo pair (pieces while the second glides and after),
  // against each channel through mono copies of the designs one after the other.
  using Mono = SmoothedFilterDesign<ChebyshevI::LowPass, 1, DirectFormII>;
  const struct
  {
    double order1, fc1, order2, fc2, glideTo;
  } kCases[] = {{4, 500, 2, 3000, 1200}, {1, 9000, 3, 80, 60}, {2, 200, 4, 15000, 11000}};
  for (const auto& c : kCases)
  {
    Smoothed first, second;
    Mono mono[2][2];
    ASSERT_TRUE(first.setParams(cheby(c.fc1, c.order1)));
    ASSERT_TRUE(second.setParams(cheby(c.fc2, c.order2)));
    for (auto& m : mono)
    {
      ASSERT_TRUE(m[0].setParams(cheby(c.fc1, c.order1)));
      ASSERT_TRUE(m[1].setParams(cheby(c.fc2, c.order2)));
    }
    std::vector<double> left = noise(2048, 7), right = noise(2048, 11);
    std::vector<double> alone[2] = {left, right};
    int at = 0;
    for (const int n : {300, 100, 700, 948})
    {
      if (at == 300)
      {
        ASSERT_TRUE(second.setParam(kIdFrequency, c.glideTo));
        for (auto& m : mono)
          ASSERT_TRUE(m[1].setParam(kIdFrequency, c.glideTo));
      }
      double* ch[2] = {left.data() + at, right.data() + at};
      const bool together = first.processThen(second, n, ch);
      EXPECT_EQ(together, !second.isGliding() && at != 300) << "at " << at;
      if (!together)
      {
        first.process(n, ch);
        second.process(n, ch);
      }
      for (int k = 0; k < 2; ++k)
      {
        double* one[1] = {alone[k].data() + at};
        mono[k][0].process(n, one);
        mono[k][1].process(n, one);
      }
      at += n;
    }
    for (int i = 0; i < 2048; ++i)
    {
      ASSERT_EQ(left[size_t(i)], alone[0][size_t(i)]) << "sample " << i;
      ASSERT_EQ(right[size_t(i)], alone[1][size_t(i)]) << "sample " << i;
    }
  }
}
