// Each family against independently computed references. The bilinear transform with
// pre-warping maps the digital frequency f (fraction of the sample rate) to the analog
// frequency tan(pi f), so a digital design's magnitude must equal the analog
// prototype's closed-form magnitude at the transformed frequency.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "dsp/BesselHighPass.h"
#include "dsp/BesselLowPass.h"
#include "dsp/ButterworthBandPass.h"
#include "dsp/ButterworthBandShelf.h"
#include "dsp/ButterworthBandStop.h"
#include "dsp/ButterworthHighShelf.h"
#include "dsp/ButterworthLowShelf.h"
#include "dsp/ChebyshevIHighPass.h"
#include "dsp/ChebyshevILowPass.h"
#include "dsp/DirectFormI.h"
#include "dsp/DirectFormII.h"
#include "dsp/FilterDesign.h"
#include "dsp/RBJBandPass1.h"
#include "dsp/RBJBandStop.h"
#include "dsp/RBJHighPass.h"
#include "dsp/RBJLowPass.h"

using namespace Dsp;

namespace
{

constexpr double kPi = std::numbers::pi;
constexpr double kFs = 44100;

double db(double magnitude) { return 20 * std::log10(magnitude); }
double warp(double hz) { return std::tan(kPi * hz / kFs); }

// Chebyshev polynomial of the first kind.
double chebyshevT(int n, double x)
{
  if (std::fabs(x) <= 1)
    return std::cos(n * std::acos(x));
  const double v = std::cosh(n * std::acosh(std::fabs(x)));
  return (x < 0 && (n & 1)) ? -v : v;
}

// Log-spaced test frequencies from 20 Hz to 20 kHz.
std::vector<double> sweep()
{
  std::vector<double> f;
  for (int i = 0; i <= 60; ++i)
    f.push_back(20 * std::pow(1000.0, i / 60.0));
  return f;
}

template <class D>
FilterDesign<D, 2, DirectFormII> designed(std::initializer_list<double> values)
{
  FilterDesign<D, 2, DirectFormII> f;
  Params p;
  int i = 0;
  for (double v : values)
    p[i++] = v;
  EXPECT_TRUE(f.setParams(p));
  return f;
}

// Magnitudes in dB agree within tol where the reference is above -100 dB.
template <class F, class Ref>
void expectMagnitudes(const F& f, Ref reference, double tolDb)
{
  for (double hz : sweep())
  {
    const double expected = reference(hz);
    if (expected < 1e-5)
      continue;
    EXPECT_NEAR(db(std::abs(f.response(hz / kFs))), db(expected), tolDb) << hz << " Hz";
  }
}

} // namespace

TEST(Butterworth, BandPassAndBandStopFollowTheTransformedPrototype)
{
  for (int order = 1; order <= 2; ++order)
  {
    SCOPED_TRACE(order);
    const double fc = 2000, bw = 1720;
    const double o1 = warp(fc - bw / 2), o2 = warp(fc + bw / 2);
    auto bp = designed<Butterworth::BandPass>({kFs, double(order), fc, bw});
    auto bs = designed<Butterworth::BandStop>({kFs, double(order), fc, bw});
    expectMagnitudes(
        bp,
        [&](double hz)
        {
          const double o = warp(hz);
          const double w = (o * o - o1 * o2) / (o * (o2 - o1));
          return 1 / std::sqrt(1 + std::pow(w, 2 * order));
        },
        1e-6);
    expectMagnitudes(
        bs,
        [&](double hz)
        {
          const double o = warp(hz);
          const double w = o * (o2 - o1) / (o1 * o2 - o * o);
          return 1 / std::sqrt(1 + std::pow(w, 2 * order));
        },
        1e-6);
    // -3.01 dB at both band edges; full pass (stop) at the centre.
    EXPECT_NEAR(db(std::abs(bp.response((fc - bw / 2) / kFs))), -3.0103, 1e-3);
    EXPECT_NEAR(db(std::abs(bp.response((fc + bw / 2) / kFs))), -3.0103, 1e-3);
    EXPECT_NEAR(db(std::abs(bs.response((fc + bw / 2) / kFs))), -3.0103, 1e-3);
    const double centre = 2 * std::atan(std::sqrt(o1 * o2)) / (2 * kPi);
    EXPECT_NEAR(std::abs(bp.response(centre)), 1, 1e-9);
    EXPECT_LT(std::abs(bs.response(centre)), 1e-6);
    // A band design of order n has n sections.
    EXPECT_EQ(bp.getDesign().getNumStages(), order);
    EXPECT_EQ(bs.getDesign().getNumStages(), order);
  }
}

TEST(Butterworth, ShelvesReachTheirGainWithHalfTheGainAtTheEdge)
{
  for (int order = 1; order <= 2; ++order)
  {
    for (double gainDb : {-24.0, -6.0, 0.0, 9.0, 24.0})
    {
      SCOPED_TRACE(::testing::Message() << "order " << order << " gain " << gainDb);
      const double g = std::pow(10, gainDb / 20);
      auto low = designed<Butterworth::LowShelf>({kFs, double(order), 500, gainDb});
      auto high = designed<Butterworth::HighShelf>({kFs, double(order), 5000, gainDb});
      auto band = designed<Butterworth::BandShelf>({kFs, double(order), 2000, 1000, gainDb});
      EXPECT_NEAR(db(std::abs(low.response(0))), gainDb, 1e-9);
      EXPECT_NEAR(db(std::abs(low.response(0.5))), 0, 1e-9);
      EXPECT_NEAR(db(std::abs(low.response(500 / kFs))), gainDb / 2, 1e-9);
      EXPECT_NEAR(db(std::abs(high.response(0.5))), gainDb, 1e-9);
      EXPECT_NEAR(db(std::abs(high.response(0))), 0, 1e-9);
      EXPECT_NEAR(db(std::abs(high.response(5000 / kFs))), gainDb / 2, 1e-9);
      EXPECT_NEAR(db(std::abs(band.response(0))), 0, 1e-9);
      EXPECT_NEAR(db(std::abs(band.response(1500 / kFs))), gainDb / 2, 1e-9);
      EXPECT_NEAR(db(std::abs(band.response(2500 / kFs))), gainDb / 2, 1e-9);
      const double o1 = warp(1500), o2 = warp(2500);
      const double centre = 2 * std::atan(std::sqrt(o1 * o2)) / (2 * kPi);
      EXPECT_NEAR(db(std::abs(band.response(centre))), gainDb, 1e-9);
      // The whole curve of the low shelf: |H|^2 = (G^2 + G w^2n) / (1 + G w^2n).
      const double oc = warp(500);
      expectMagnitudes(
          low,
          [&](double hz)
          {
            const double w2n = std::pow(warp(hz) / oc, 2 * order);
            return std::sqrt((g * g + g * w2n) / (1 + g * w2n));
          },
          1e-9);
      EXPECT_EQ(low.getDesign().getNumStages(), 1);
      EXPECT_EQ(band.getDesign().getNumStages(), order);
    }
  }
}

TEST(ChebyshevI, LowAndHighPassFollowTheRippleFormulaForOrdersOneToFour)
{
  for (int order = 1; order <= 4; ++order)
  {
    for (double ripple : {0.01, 1.0, 3.0, 12.0})
    {
      SCOPED_TRACE(::testing::Message() << "order " << order << " ripple " << ripple);
      const double fc = 1000;
      const double eps2 = std::pow(10, ripple / 10) - 1;
      auto lp = designed<ChebyshevI::LowPass>({kFs, double(order), fc, ripple});
      auto hp = designed<ChebyshevI::HighPass>({kFs, double(order), fc, ripple});
      expectMagnitudes(
          lp,
          [&](double hz)
          {
            const double t = chebyshevT(order, warp(hz) / warp(fc));
            return 1 / std::sqrt(1 + eps2 * t * t);
          },
          1e-6);
      expectMagnitudes(
          hp,
          [&](double hz)
          {
            const double t = chebyshevT(order, warp(fc) / warp(hz));
            return 1 / std::sqrt(1 + eps2 * t * t);
          },
          1e-6);
      // The cutoff is where the pass band ends, at -ripple dB.
      EXPECT_NEAR(db(std::abs(lp.response(fc / kFs))), -ripple, 1e-6);
      EXPECT_NEAR(db(std::abs(hp.response(fc / kFs))), -ripple, 1e-6);
      EXPECT_EQ(lp.getDesign().getNumStages(), (order + 1) / 2);
      EXPECT_EQ(hp.getDesign().getNumStages(), (order + 1) / 2);
    }
  }
}

TEST(ChebyshevI, TinyRippleIsCloseToButterworthAndTwelveDbShowsTheFullRipple)
{
  // 0.001 dB: the pass band is flat within 0.001 dB up to the cutoff.
  auto flat = designed<ChebyshevI::LowPass>({kFs, 4, 2000, 0.001});
  double lo = 0, hi = -100;
  for (double hz = 20; hz <= 2000; hz *= 1.01)
  {
    const double m = db(std::abs(flat.response(hz / kFs)));
    lo = std::min(lo, m);
    hi = std::max(hi, m);
  }
  EXPECT_GE(lo, -0.001 - 1e-6);
  EXPECT_LE(hi, 1e-9);
  // 12 dB, order 4: the pass band swings over the whole 12 dB, DC at the bottom.
  auto wavy = designed<ChebyshevI::LowPass>({kFs, 4, 2000, 12});
  lo = 0;
  hi = -100;
  for (double hz = 1; hz <= 2000; hz *= 1.001)
  {
    const double m = db(std::abs(wavy.response(hz / kFs)));
    lo = std::min(lo, m);
    hi = std::max(hi, m);
  }
  EXPECT_NEAR(hi, 0, 0.01);
  EXPECT_NEAR(lo, -12, 0.01);
  EXPECT_NEAR(db(std::abs(wavy.response(0))), -12, 1e-9);
}

namespace
{

// Reverse Bessel polynomials written out, lowest power first.
const std::vector<std::vector<double>> kBesselPolynomials = {
    {1, 1}, {3, 3, 1}, {15, 15, 6, 1}, {105, 105, 45, 10, 1}};

std::complex<double> besselAnalog(int order, std::complex<double> s)
{
  const auto& c = kBesselPolynomials[order - 1];
  std::complex<double> v = 0;
  for (int k = order; k >= 0; --k)
    v = v * s + c[k];
  return c[0] / v;
}

// Group delay in samples from the phase of the response (central difference).
template <class F>
double groupDelay(const F& f, double hz)
{
  const double h = 1e-4 * hz;
  const double p1 = std::arg(f.response((hz - h) / kFs));
  const double p2 = std::arg(f.response((hz + h) / kFs));
  double d = p2 - p1;
  if (d > kPi)
    d -= 2 * kPi;
  if (d < -kPi)
    d += 2 * kPi;
  return -d / (2 * kPi * 2 * h / kFs);
}

} // namespace

TEST(Bessel, MagnitudeFollowsThePolynomialAndSectionsFollowTheOrder)
{
  for (int order = 1; order <= 4; ++order)
  {
    SCOPED_TRACE(order);
    const double fc = 1000;
    auto lp = designed<Bessel::LowPass>({kFs, double(order), fc});
    auto hp = designed<Bessel::HighPass>({kFs, double(order), fc});
    expectMagnitudes(
        lp,
        [&](double hz) {
          return std::abs(besselAnalog(order, {0, warp(hz) / warp(fc)}));
        },
        1e-8);
    expectMagnitudes(
        hp,
        [&](double hz) {
          return std::abs(besselAnalog(order, {0, warp(fc) / warp(hz)}));
        },
        1e-8);
    EXPECT_EQ(lp.getDesign().getNumStages(), (order + 1) / 2);
  }
  // Order 4: four poles in two conjugate pairs, two sections.
  auto lp4 = designed<Bessel::LowPass>({kFs, 4, 1000});
  const auto pairs = lp4.getPoleZeros();
  ASSERT_EQ(pairs.size(), 2u);
  for (const PoleZeroPair& p : pairs)
  {
    EXPECT_FALSE(p.isSingle());
    EXPECT_NEAR(std::abs(p.pole1 - std::conj(p.pole2)), 0, 1e-12);
    EXPECT_LT(std::abs(p.pole1), 1);
  }
}

TEST(Bessel, GroupDelayIsFlatWhereAChebyshevOfTheSameOrderIsNot)
{
  const double fc = 1000;
  auto bessel = designed<Bessel::LowPass>({kFs, 4, fc});
  // Unit delay at DC in the prototype: 1 / (2 tan(pi fc / fs)) samples here.
  const double dc = 1 / (2 * warp(fc));
  EXPECT_NEAR(groupDelay(bessel, 1), dc, 1e-4 * dc);
  for (double ratio : {0.05, 0.1, 0.2, 0.3})
    EXPECT_NEAR(groupDelay(bessel, ratio * fc), dc, 2e-3 * dc) << ratio;
  auto cheby = designed<ChebyshevI::LowPass>({kFs, 4, fc, 0.01});
  const double chebyDc = groupDelay(cheby, 1);
  EXPECT_GT(std::fabs(groupDelay(cheby, 0.3 * fc) - chebyDc), 0.02 * chebyDc);
}

TEST(RBJ, CookbookResponses)
{
  for (double q : {0.0625, 0.7071, 1.0, 4.0, 16.0})
  {
    SCOPED_TRACE(q);
    auto lp = designed<RBJ::LowPass>({kFs, 1000, q});
    auto hp = designed<RBJ::HighPass>({kFs, 1000, q});
    EXPECT_NEAR(std::abs(lp.response(0)), 1, 1e-12);
    EXPECT_NEAR(std::abs(lp.response(0.5)), 0, 1e-12);
    EXPECT_NEAR(std::abs(hp.response(0.5)), 1, 1e-12);
    EXPECT_NEAR(std::abs(hp.response(0)), 0, 1e-12);
    // The magnitude at the cutoff is Q.
    EXPECT_NEAR(std::abs(lp.response(1000 / kFs)), q, 1e-9 * q);
    EXPECT_NEAR(std::abs(hp.response(1000 / kFs)), q, 1e-9 * q);
  }
  // Band-pass 1: peak gain BW at the centre, nothing at DC and Nyquist.
  for (double bw : {0.0625, 1.0, 16.0})
  {
    SCOPED_TRACE(bw);
    auto bp = designed<RBJ::BandPass1>({kFs, 1000, bw});
    EXPECT_NEAR(std::abs(bp.response(1000 / kFs)), bw, 1e-9 * bw);
    EXPECT_NEAR(std::abs(bp.response(0)), 0, 1e-12);
    for (double hz : {500.0, 900.0, 1100.0, 3000.0})
      EXPECT_LT(std::abs(bp.response(hz / kFs)), bw);
    auto bs = designed<RBJ::BandStop>({kFs, 1000, bw});
    EXPECT_LT(std::abs(bs.response(1000 / kFs)), 1e-9);
    EXPECT_NEAR(std::abs(bs.response(0)), 1, 1e-12);
    EXPECT_NEAR(std::abs(bs.response(0.5)), 1, 1e-12);
    EXPECT_EQ(bs.getDesign().getNumStages(), 1);
  }
  auto narrow = designed<RBJ::BandPass1>({kFs, 1000, 16});
  EXPECT_NEAR(db(std::abs(narrow.response(1000 / kFs))), 24.08, 0.01);
  // BW 16 is narrow: an octave away it has lost most of its peak.
  EXPECT_LT(std::abs(narrow.response(2000 / kFs)), 16 * 0.1);
  // BW 1/16 is wide: an octave away it is still within 1 dB of its peak.
  auto wide = designed<RBJ::BandPass1>({kFs, 1000, 0.0625});
  EXPECT_GT(db(std::abs(wide.response(2000 / kFs))), db(0.0625) - 1);
}

TEST(Orders, AreLimitedToTheDesignsRange)
{
  // Asked for more than the maximum, a design gives its maximum; less than 1 gives 1.
  auto band = designed<Butterworth::BandPass>({kFs, 3, 2000, 1000});
  EXPECT_EQ(band.getDesign().getNumStages(), 2);
  auto cheby = designed<ChebyshevI::LowPass>({kFs, 9, 2000, 1});
  EXPECT_EQ(cheby.getDesign().getNumStages(), 2);
  auto low = designed<ChebyshevI::LowPass>({kFs, 0, 2000, 1});
  EXPECT_EQ(low.getDesign().getNumStages(), 1);
  // The order's control value cannot exceed the maximum.
  EXPECT_EQ(band.getParamInfo(1).toNativeValue(1.0), 2);
}

namespace
{

// Steady-state amplitude of a sine after a filter, per channel.
template <class F>
double sineGain(F& f, double hz, int channel)
{
  const int n = 20000;
  std::vector<double> a(n), b(n);
  for (int i = 0; i < n; ++i)
    a[i] = b[i] = std::sin(2 * kPi * hz * i / kFs);
  double* ch[2] = {a.data(), b.data()};
  f.reset();
  f.process(n, ch);
  const std::vector<double>& out = channel == 0 ? a : b;
  double peak = 0;
  for (int i = n - 4000; i < n; ++i)
    peak = std::max(peak, std::fabs(out[i]));
  return peak;
}

template <class State>
void checkProcessingMatchesResponse()
{
  FilterDesign<ChebyshevI::LowPass, 2, State> f;
  Params p;
  p[0] = kFs;
  p[1] = 4;
  p[2] = 1000;
  p[3] = 1;
  ASSERT_TRUE(f.setParams(p));
  for (double hz : {200.0, 900.0, 1500.0, 4000.0})
  {
    const double expected = std::abs(f.response(hz / kFs));
    EXPECT_NEAR(sineGain(f, hz, 0), expected, 2e-3 * std::max(expected, 1e-2)) << hz;
    EXPECT_NEAR(sineGain(f, hz, 1), expected, 2e-3 * std::max(expected, 1e-2)) << hz;
  }
}

} // namespace

TEST(Processing, BothDirectFormsFilterAsTheResponseSays)
{
  checkProcessingMatchesResponse<DirectFormI>();
  checkProcessingMatchesResponse<DirectFormII>();
}
