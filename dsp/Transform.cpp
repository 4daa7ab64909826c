#include "dsp/Transform.h"

#include <cmath>
#include <numbers>

namespace Dsp
{

namespace
{

constexpr double kPi = std::numbers::pi;
constexpr double kMaxNormalized = 0.4999;
constexpr double kMinNormalized = 1e-7;
// Radians kept between a band edge and 0 or pi: any closer and the poles sit so
// near z = 1 or z = -1 that the sections lose their precision.
constexpr double kEdgeMargin = 1e-5;

ComplexT scale(double k, ComplexT c) { return isInfinite(c) ? c : k * c; }

// k / c with 0 and infinity swapped.
ComplexT invert(double k, ComplexT c)
{
  if (isInfinite(c))
    return 0.0;
  if (c == 0.0)
    return infinity();
  const double d = std::norm(c);
  return {k * c.real() / d, -k * c.imag() / d};
}

// Roots of s^2 - b s + c = 0 (b complex, c real and positive).
void quadratic(ComplexT b, double c, ComplexT& r1, ComplexT& r2)
{
  const ComplexT half = 0.5 * b;
  const ComplexT d = std::sqrt(half * half - c);
  r1 = half + d;
  r2 = half - d;
}

bool isConjugate(const PoleZeroPair& a)
{
  const bool zerosConjugate =
      (isInfinite(a.zero1) && isInfinite(a.zero2)) || a.zero2 == std::conj(a.zero1);
  return a.pole2 == std::conj(a.pole1) && zerosConjugate;
}

struct Band
{
  double omega0Sq; // product of the pre-warped edges
  double width;    // difference of the pre-warped edges
  double w0;       // digital centre (radians)
};

Band bandEdges(double fc, double fw)
{
  double w1 = 2 * kPi * (fc - fw / 2);
  double w2 = 2 * kPi * (fc + fw / 2);
  if (w1 < kEdgeMargin)
    w1 = kEdgeMargin;
  if (w1 > kPi - 2 * kEdgeMargin)
    w1 = kPi - 2 * kEdgeMargin;
  if (w2 > kPi - kEdgeMargin)
    w2 = kPi - kEdgeMargin;
  if (w2 < w1 + kEdgeMargin)
    w2 = w1 + kEdgeMargin;
  const double o1 = std::tan(w1 / 2);
  const double o2 = std::tan(w2 / 2);
  Band band;
  band.omega0Sq = o1 * o2;
  band.width = o2 - o1;
  band.w0 = 2 * std::atan(std::sqrt(band.omega0Sq));
  return band;
}

} // namespace

ComplexT Transform::bilinear(ComplexT s)
{
  if (isInfinite(s))
    return -1.0;
  // (1 + s) / (1 - s) written out: cheaper than the library's checked division.
  const double dr = 1 - s.real();
  const double di = -s.imag();
  const double nr = 1 + s.real();
  const double ni = s.imag();
  const double den = dr * dr + di * di;
  return {(nr * dr + ni * di) / den, (ni * dr - nr * di) / den};
}

namespace
{
// Maps every root of the prototype one to one (a low-pass or high-pass substitution
// followed by the bilinear transform), keeping the kind of each pair.
template <typename Map>
void mapPairs(const PoleZeroLayout& analog, PoleZeroLayout& digital, Map map)
{
  digital.clear();
  for (int i = 0; i < analog.getNumPairs(); ++i)
  {
    const PoleZeroPair& a = analog[i];
    if (a.isSingle())
      digital.add(PoleZeroPair::makeSingle(map(a.pole1), map(a.zero1)));
    else if (isConjugate(a))
      // Half the work for the usual case, and exactly conjugate results.
      digital.add(PoleZeroPair::makeConjugate(map(a.pole1), map(a.zero1)));
    else
      digital.add(PoleZeroPair::makePair(map(a.pole1), map(a.zero1), map(a.pole2), map(a.zero2)));
  }
  digital.normalGain = analog.normalGain;
}
} // namespace

void Transform::lowPass(double fc, const PoleZeroLayout& analog, PoleZeroLayout& digital)
{
  const double omega = std::tan(kPi * fc);
  mapPairs(analog, digital, [omega](ComplexT s) { return bilinear(scale(omega, s)); });
  digital.normalW = analog.analogNormalAtDc ? 0 : kPi;
}

void Transform::highPass(double fc, const PoleZeroLayout& analog, PoleZeroLayout& digital)
{
  const double omega = std::tan(kPi * fc);
  mapPairs(analog, digital, [omega](ComplexT s) { return bilinear(invert(omega, s)); });
  digital.normalW = analog.analogNormalAtDc ? kPi : 0;
}

void Transform::bandPass(double fc, double fw, const PoleZeroLayout& analog,
                         PoleZeroLayout& digital)
{
  const Band band = bandEdges(fc, fw);
  // s' = (s^2 + omega0^2) / (s B): every prototype root r gives the two roots of
  // s^2 - r B s + omega0^2; a root at infinity gives 0 and infinity.
  auto roots = [&](ComplexT r, ComplexT& s1, ComplexT& s2)
  {
    if (isInfinite(r))
    {
      s1 = 0.0;
      s2 = infinity();
    }
    else
    {
      quadratic(r * band.width, band.omega0Sq, s1, s2);
    }
  };
  digital.clear();
  for (int i = 0; i < analog.getNumPairs(); ++i)
  {
    const PoleZeroPair& a = analog[i];
    ComplexT p1, p2, z1, z2;
    roots(a.pole1, p1, p2);
    roots(a.zero1, z1, z2);
    if (a.isSingle())
    {
      digital.add(PoleZeroPair::makePair(bilinear(p1), bilinear(z1), bilinear(p2), bilinear(z2)));
    }
    else if (isInfinite(a.zero1))
    {
      // Each section gets one zero at DC and one at the Nyquist frequency.
      const ComplexT d1 = bilinear(p1);
      const ComplexT d2 = bilinear(p2);
      digital.add(PoleZeroPair::makePair(d1, 1.0, std::conj(d1), -1.0));
      digital.add(PoleZeroPair::makePair(d2, 1.0, std::conj(d2), -1.0));
    }
    else
    {
      digital.add(PoleZeroPair::makeConjugate(bilinear(p1), bilinear(z1)));
      digital.add(PoleZeroPair::makeConjugate(bilinear(p2), bilinear(z2)));
    }
  }
  digital.normalW = analog.analogNormalAtDc ? band.w0 : 0;
  digital.normalGain = analog.normalGain;
}

void Transform::bandStop(double fc, double fw, const PoleZeroLayout& analog,
                         PoleZeroLayout& digital)
{
  const Band band = bandEdges(fc, fw);
  // s' = s B / (s^2 + omega0^2): every prototype root r gives the two roots of
  // s^2 - (B / r) s + omega0^2; a root at infinity gives +-j omega0.
  auto roots = [&](ComplexT r, ComplexT& s1, ComplexT& s2)
  {
    if (isInfinite(r))
    {
      const double o = std::sqrt(band.omega0Sq);
      s1 = ComplexT(0, o);
      s2 = ComplexT(0, -o);
    }
    else if (r == 0.0)
    {
      s1 = 0.0;
      s2 = infinity();
    }
    else
    {
      quadratic(band.width / r, band.omega0Sq, s1, s2);
    }
  };
  digital.clear();
  for (int i = 0; i < analog.getNumPairs(); ++i)
  {
    const PoleZeroPair& a = analog[i];
    ComplexT p1, p2, z1, z2;
    roots(a.pole1, p1, p2);
    roots(a.zero1, z1, z2);
    if (a.isSingle())
    {
      digital.add(PoleZeroPair::makePair(bilinear(p1), bilinear(z1), bilinear(p2), bilinear(z2)));
    }
    else if (isInfinite(a.zero1))
    {
      const ComplexT d1 = bilinear(p1);
      const ComplexT d2 = bilinear(p2);
      const ComplexT notch = bilinear(z1);
      digital.add(PoleZeroPair::makePair(d1, notch, std::conj(d1), std::conj(notch)));
      digital.add(PoleZeroPair::makePair(d2, notch, std::conj(d2), std::conj(notch)));
    }
    else
    {
      digital.add(PoleZeroPair::makeConjugate(bilinear(p1), bilinear(z1)));
      digital.add(PoleZeroPair::makeConjugate(bilinear(p2), bilinear(z2)));
    }
  }
  digital.normalW = analog.analogNormalAtDc ? 0 : band.w0;
  digital.normalGain = analog.normalGain;
}

double Transform::limitSampleRate(double fs) { return fs >= 1 ? fs : 1; }

double Transform::normalizeFrequency(double hz, double fs)
{
  const double f = hz / limitSampleRate(fs);
  if (!(f >= kMinNormalized))
    return kMinNormalized;
  return f > kMaxNormalized ? kMaxNormalized : f;
}

int Transform::limitOrder(double order, int maxOrder)
{
  if (!(order >= 1))
    return 1;
  if (order >= maxOrder)
    return maxOrder;
  return static_cast<int>(order);
}

} // namespace Dsp
