#include "voice/AdsrEnvelope.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Korvane
{

AdsrEnvelope::AdsrEnvelope(std::string envelopeName) : name(std::move(envelopeName))
{
  setAttack(0.0);
  setDecay(0.0);
  setRelease(0.0);
  setSustain(1.0);
  shape = 0.3;
  setRatioA(kInitialRatioA);
  setRatioDR(kInitialRatioDR);
}

double AdsrEnvelope::coefficient(double n, double r)
{
  if (!(n > 0.0))
    return 0.0;
  return std::exp(-std::log((1.0 + r) / r) / n);
}

void AdsrEnvelope::updateAttack()
{
  attackCoef = coefficient(attackSamples, ratioA);
  attackBase = (1.0 + ratioA) * (1.0 - attackCoef);
}

void AdsrEnvelope::updateDecay()
{
  decayCoef = coefficient(decaySamples, ratioDR);
  decayBase = (sustainLevel - ratioDR) * (1.0 - decayCoef);
}

void AdsrEnvelope::updateRelease()
{
  releaseCoef = coefficient(releaseSamples, ratioDR);
  releaseBase = -ratioDR * (1.0 - releaseCoef);
}

void AdsrEnvelope::setAttack(double t)
{
  attackSamples = t * timeScale * sampleRate;
  updateAttack();
}

void AdsrEnvelope::setDecay(double t)
{
  decaySamples = t * timeScale * sampleRate;
  updateDecay();
}

void AdsrEnvelope::setRelease(double t)
{
  releaseSamples = t * timeScale * sampleRate;
  updateRelease();
}

void AdsrEnvelope::setSustain(double level)
{
  sustainLevel = level;
  decayBase = (level - ratioDR) * (1.0 - decayCoef);
}

double AdsrEnvelope::timeValue(double samples) const
{
  const double unit = timeScale * sampleRate;
  return unit > 0.0 ? samples / unit : 0.0;
}

void AdsrEnvelope::setDuration(double v)
{
  const double a = timeValue(attackSamples);
  const double d = timeValue(decaySamples);
  const double r = timeValue(releaseSamples);
  timeScale = std::max(v, 0.001) * 5.0;
  setAttack(a);
  setDecay(d);
  setRelease(r);
}

void AdsrEnvelope::setShape(double s)
{
  shape = s;
  const double cube = s * s * s;
  ratioDR = 4.0 * cube + 1.9800523e-6;
  ratioA = 20.0 * cube + 1.9800523e-6;
  setRatioA(ratioA);
  setRatioDR(ratioDR);
}

void AdsrEnvelope::setRatioA(double r)
{
  ratioA = std::max(r, 1e-9);
  updateAttack();
}

void AdsrEnvelope::setRatioDR(double r)
{
  ratioDR = std::max(r, 1e-9);
  updateDecay();
  updateRelease();
}

void AdsrEnvelope::setSampleRate(double rate)
{
  if (!(rate > 0.0) || !(sampleRate > 0.0))
  {
    sampleRate = rate;
    return;
  }
  const double a = timeValue(attackSamples);
  const double d = timeValue(decaySamples);
  const double r = timeValue(releaseSamples);
  sampleRate = rate;
  setAttack(a);
  setDecay(d);
  setRelease(r);
}

void AdsrEnvelope::preview(std::span<double, kPreviewPoints> points, double scale) const
{
  constexpr int kTotal = kPreviewPoints;
  std::fill(points.begin(), points.end(), 0.0);
  const double unit = timeScale * sampleRate;
  if (!(unit > 0.0))
    return;

  // Segment lengths in points. Attack and release take at most a third each for
  // times up to 1; larger or odd values are kept inside the array.
  auto pointCount = [](double n)
  { return n > 0.0 ? std::min(std::floor(n), double(kTotal)) : 0.0; };
  const double nA = attackSamples / unit * (1.0 / 3.0) * kTotal;
  const double nR = releaseSamples / unit * (1.0 / 3.0) * kTotal;
  const int attackPoints = int(pointCount(nA));
  const int releasePoints = std::min(int(pointCount(nR)), kTotal - attackPoints);
  const int nS = kTotal - int(pointCount(nA)) - int(pointCount(nR));
  const double nD = nS > 0 ? decaySamples / unit * (90.132 / nS) * kTotal : 0.0;

  const double aCoef = coefficient(nA, ratioA);
  const double aBase = (1.0 + ratioA) * (1.0 - aCoef);
  const double dCoef = coefficient(nD, ratioDR);
  const double dBase = (sustainLevel - ratioDR) * (1.0 - dCoef);
  const double rCoef = coefficient(nR, ratioDR);

  int i = 0;
  double level = 0.0;
  for (; i < attackPoints; ++i)
  {
    points[i] = level * scale;
    level = std::min(aBase + level * aCoef, 1.0);
  }
  level = 1.0;
  const int decayEnd = kTotal - releasePoints;
  for (; i < decayEnd; ++i)
  {
    points[i] = level * scale;
    level = std::max(dBase + level * dCoef, sustainLevel);
  }
  for (; i < kTotal; ++i)
  {
    points[i] = level * scale;
    level = std::max(level * rCoef - (1.0 - rCoef) * ratioDR, 0.0);
  }
  points[0] = 0.0;
  points[kTotal - 1] = 0.0;
}

} // namespace Korvane
