#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <vector>

#include "dsp/ButterworthLowShelf.h"
#include "dsp/ChebyshevIHighPass.h"
#include "dsp/ChebyshevILowPass.h"
#include "dsp/DirectFormI.h"
#include "dsp/DirectFormII.h"
#include "dsp/RBJLowPass.h"
#include "dsp/SmoothedFilterDesign.h"

using namespace Dsp;

namespace
{

bool sameBitsAll(const std::vector<double>& a, const std::vector<double>& b)
{
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Noise with signed zeros, a tiny and a huge value among it; `seed` varies the two sides.
std::vector<double> signal(int n, unsigned seed)
{
  std::vector<double> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
  {
    seed = seed * 1664525u + 1013904223u;
    v[std::size_t(i)] = (seed >> 8) / 8388608.0 - 1.0;
  }
  v[3] = -0.0;
  v[4] = 0.0;
  v[5] = 1e-310;
  v[6] = -3e7;
  return v;
}

// Each channel alone through the design's scalar path (the other channel left out).
template <class D>
void perChannel(D& d, std::vector<double>& l, std::vector<double>& r)
{
  double* onlyLeft[2] = {l.data(), nullptr};
  double* onlyRight[2] = {nullptr, r.data()};
  d.process(int(l.size()), onlyLeft);
  d.process(int(r.size()), onlyRight);
}

struct Setting
{
  int id;
  double value;
};

// One parameter set (so the design does not glide): the rate and the given values.
template <class D>
D designed(std::initializer_list<Setting> settings)
{
  D d;
  Params p = d.getParams();
  p[d.findParamIndex(kIdSampleRate)] = 44100;
  for (const Setting& s : settings)
    if (d.findParamIndex(s.id) >= 0)
      p[d.findParamIndex(s.id)] = s.value;
  EXPECT_TRUE(d.setParams(p));
  return d;
}

// Stereo, processThen, processBeside and processBesideWith (all in lanes) against each
// channel alone through the scalar path, over two blocks so that the states stored back
// are checked too.
template <class A, class B>
void expectLanesMatchScalar(const A& firstDesign, const B& secondDesign, const char* what)
{
  for (const int n : {1, 2, 7, 512})
  {
    A a = firstDesign, aRef = firstDesign;
    B b = secondDesign, bRef = secondDesign;
    std::vector<double> l = signal(std::max(n, 8), 1), r = signal(std::max(n, 8), 2);
    l.resize(std::size_t(n));
    r.resize(std::size_t(n));
    for (int block = 0; block < 2; ++block)
    {
      std::vector<double> pl = l, pr = r, sl = l, sr = r;
      double* both[2] = {pl.data(), pr.data()};
      a.process(n, both);
      perChannel(aRef, sl, sr);
      EXPECT_TRUE(sameBitsAll(pl, sl) && sameBitsAll(pr, sr)) << what << " pair " << n;

      std::vector<double> tl = l, tr = r, ql = l, qr = r, ol = r, orr = l;
      double* t[2] = {tl.data(), tr.data()};
      double* o[2] = {ol.data(), orr.data()};
      ASSERT_TRUE(a.processThen(b, n, t)) << what;
      perChannel(aRef, ql, qr);
      perChannel(bRef, ql, qr);
      EXPECT_TRUE(sameBitsAll(tl, ql) && sameBitsAll(tr, qr)) << what << " then " << n;

      std::vector<double> xl = ol, xr = orr;
      ASSERT_TRUE(a.processBeside(b, n, t, o)) << what;
      perChannel(aRef, ql, qr);
      perChannel(bRef, xl, xr);
      EXPECT_TRUE(sameBitsAll(tl, ql) && sameBitsAll(tr, qr) && sameBitsAll(ol, xl) &&
                  sameBitsAll(orr, xr))
          << what << " beside " << n;

      // Beside with the caller's inputs (other samples than the channels hold) and
      // outputs, stored where the reference put its own.
      std::vector<double> ul = l, ur = r;
      for (int i = 0; i < n; ++i)
      {
        ul[size_t(i)] += 0.25;
        ur[size_t(i)] += 0.25;
      }
      std::vector<double> vl = ul, vr = ur;
      const auto input = [&](int i) { return Pair{l[size_t(i)], r[size_t(i)]} + 0.25; };
      ASSERT_TRUE(a.processBesideWith(b, n, input, input,
                                      [&](int i, Pair x, Pair y)
                                      {
                                        tl[size_t(i)] = x[0];
                                        tr[size_t(i)] = x[1];
                                        ol[size_t(i)] = y[0];
                                        orr[size_t(i)] = y[1];
                                      }))
          << what;
      perChannel(aRef, ul, ur);
      perChannel(bRef, vl, vr);
      EXPECT_TRUE(sameBitsAll(tl, ul) && sameBitsAll(tr, ur) && sameBitsAll(ol, vl) &&
                  sameBitsAll(orr, vr))
          << what << " beside with " << n;
      l = pl;
      r = pr;
    }
  }
}

} // namespace

TEST(Lanes, BothChannelsInLanesGiveTheScalarBits)
{
  using ChebyLowI = SmoothedFilterDesign<ChebyshevI::LowPass, 2, DirectFormI>;
  using ChebyHighI = SmoothedFilterDesign<ChebyshevI::HighPass, 2, DirectFormI>;
  using ChebyLowII = SmoothedFilterDesign<ChebyshevI::LowPass, 2, DirectFormII>;
  using ShelfI = SmoothedFilterDesign<Butterworth::LowShelf, 2, DirectFormI>;
  using RbjII = SmoothedFilterDesign<RBJ::LowPass, 2, DirectFormII>;
  expectLanesMatchScalar(
      designed<ChebyLowI>({{kIdOrder, 2}, {kIdFrequency, 21000}, {kIdRippleDb, 0.01}}),
      designed<ChebyHighI>({{kIdOrder, 2}, {kIdFrequency, 20}, {kIdRippleDb, 0.01}}),
      "dump/expand");
  expectLanesMatchScalar(
      designed<ChebyLowII>({{kIdOrder, 4}, {kIdFrequency, 800}, {kIdRippleDb, 1}}),
      designed<ChebyHighI>({{kIdOrder, 4}, {kIdFrequency, 300}, {kIdRippleDb, 3}}), "order 4");
  expectLanesMatchScalar(designed<ShelfI>({{kIdOrder, 2}, {kIdFrequency, 400}, {kIdGain, 6}}),
                         designed<ChebyHighI>({{kIdOrder, 2}, {kIdFrequency, 4400}}), "shelf");
  expectLanesMatchScalar(designed<RbjII>({{kIdFrequency, 1000}, {kIdQ, 0.7}}),
                         designed<ChebyLowII>({{kIdOrder, 2}, {kIdFrequency, 1720}}), "filter");
}

// The lane clamp and maximum against std::clamp and the compare they stand for, bit for
// bit: NaN passes the clamp and never wins the maximum, the bounds themselves and signed
// zeros keep their bits.
TEST(Lanes, ClampAndMaximumGiveTheScalarBits)
{
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double values[] = {0.0,  -0.0, 0.5,  -0.5, 1.0,  -1.0, 1.5,
                           -1.5, 4.0,  -4.0, inf,  -inf, nan,  1e-310};
  const double limits[] = {1.0, 4.0};
  const auto bits = [](double x)
  {
    unsigned long long b;
    std::memcpy(&b, &x, sizeof b);
    return b;
  };
  for (double limit : limits)
    for (double a : values)
      for (double b : values)
      {
        const Pair clamped = clampLanes(Pair{a, b}, -limit, limit);
        EXPECT_EQ(bits(clamped[0]), bits(std::clamp(a, -limit, limit))) << a << " " << limit;
        EXPECT_EQ(bits(clamped[1]), bits(std::clamp(b, -limit, limit))) << b << " " << limit;
        const Pair larger = maxLanes(Pair{a, b}, Pair{b, a});
        EXPECT_EQ(bits(larger[0]), bits(b < a ? a : b)) << a << " " << b;
        EXPECT_EQ(bits(larger[1]), bits(a < b ? b : a)) << a << " " << b;
      }
}
