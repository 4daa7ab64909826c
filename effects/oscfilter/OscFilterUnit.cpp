#include "effects/oscfilter/OscFilterUnit.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace Korvane
{

IKvFilter& OscFilterUnit::Bank::filter(int index)
{
  switch (index)
  {
  case kKellettHighPass:
    return kellettHighPass;
  case kKellettBandPass:
    return kellettBandPass;
  case kButterworthHighPass:
    return butterworthHighPass;
  case kButterworthLowPass:
    return butterworthLowPass;
  default:
    return kellettLowPass;
  }
}

const IKvFilter& OscFilterUnit::Bank::filter(int index) const
{
  return const_cast<Bank*>(this)->filter(index);
}

void OscFilterUnit::Bank::runBlock(int index, const double* x, const double* cutoff,
                                   double resonance, double* out, int n,
                                   ButterworthTangent& tangent)
{
  switch (index)
  {
  case kKellettHighPass:
    kellettHighPass.processBlock(x, cutoff, resonance, out, n);
    break;
  case kKellettBandPass:
    kellettBandPass.processBlock(x, cutoff, resonance, out, n);
    break;
  case kButterworthHighPass:
    for (int j = 0; j < n; ++j)
      out[j] = butterworthHighPass.processAt(x[j], butterworthHighPass.cutoffFraction(cutoff[j]),
                                             resonance, tangent);
    break;
  case kButterworthLowPass:
    for (int j = 0; j < n; ++j)
      out[j] = butterworthLowPass.processAt(x[j], butterworthLowPass.cutoffFraction(cutoff[j]),
                                            resonance, tangent);
    break;
  default:
    kellettLowPass.processBlock(x, cutoff, resonance, out, n);
    break;
  }
}

bool OscFilterUnit::Bank::addBiquad(int index, const double* x, const double* cutoff,
                                    double resonance, double* out, int n,
                                    ButterworthTangent& tangent, BiquadLanes& lanes)
{
  if ((index != kButterworthHighPass && index != kButterworthLowPass) || n <= 0 ||
      lanes.freeLanes() == 0)
    return false;
  for (int j = 1; j < n; ++j)
    if (!Dsp::sameBits(cutoff[j], cutoff[0]))
      return false;
  const auto add = [&](auto& f)
  {
    f.prepareAt(f.cutoffFraction(cutoff[0]), resonance, tangent);
    return lanes.add(f, x, out);
  };
  return index == kButterworthHighPass ? add(butterworthHighPass) : add(butterworthLowPass);
}

void OscFilterUnit::processBlock(const double* x, const double* cutoff, double resonance, double* y,
                                 int n)
{
  const auto biquad = [](int index)
  { return index == kButterworthHighPass || index == kButterworthLowPass; };
  if (biquad(leftIndex) && biquad(rightIndex))
  {
    // Both sides share the tangent of each sample's cutoff: sample by sample.
    for (int j = 0; j < n; ++j)
      y[j] = process(x[j], cutoff[j], resonance);
    return;
  }
  constexpr int kPiece = 64;
  for (int j0 = 0; j0 < n; j0 += kPiece)
  {
    const int m = n - j0 < kPiece ? n - j0 : kPiece;
    double l[kPiece], r[kPiece];
    left.runBlock(leftIndex, x + j0, cutoff + j0, resonance, l, m, tangent);
    right.runBlock(rightIndex, x + j0, cutoff + j0, resonance, r, m, tangent);
    blend(l, r, y + j0, m);
  }
}

void OscFilterUnit::processTogether(OscFilterUnit* const* units, const double* const* x,
                                    const double* const* cutoff, const double* resonance,
                                    double* const* y, int count, int n)
{
  constexpr int kMost = KellettLanes::kLanes; // units of one lane run at most
  constexpr int kPiece = KellettLanes::kMaxSamples;
  struct Sides
  {
    KvFilterPaulKellett* left;  // null for a biquad
    KvFilterPaulKellett* right; // null for a biquad, or when it runs as the left one
  };
  // The units in chunks; within one, a unit that is a twin of one of the two before it
  // (see twinOf) takes that one's samples and states afterwards instead of lanes of its
  // own.
  constexpr int kChunk = 64;
  if (count > kChunk)
  {
    processTogether(units, x, cutoff, resonance, y, kChunk, n);
    processTogether(units + kChunk, x + kChunk, cutoff + kChunk, resonance + kChunk, y + kChunk,
                    count - kChunk, n);
    return;
  }
  int twin[kChunk];
  int order[kChunk];
  int running = 0;
  // Twins are looked for among the few units before each: a voice lists its oscillators
  // one after the other.
  constexpr int kReach = 2;
  for (int u = 0; u < count; ++u)
  {
    twin[u] = -1;
    for (int e = u > kReach ? u - kReach : 0; e < u && twin[u] < 0; ++e)
      if (twin[e] < 0 && units[u]->twinOf(*units[e], x[u], x[e], cutoff[u], cutoff[e], resonance[u],
                                          resonance[e], n))
        twin[u] = e;
    if (twin[u] < 0)
      order[running++] = u;
  }
  for (int u0 = 0; u0 < running;)
  {
    // As many units as their Kellett filters fill the lanes. Two sides that would give
    // the same samples and end in the same state take one lane between them.
    Sides sides[kMost];
    bool shared[kMost];
    int g = 0;
    for (int used = 0; u0 + g < running && g < kMost; ++g)
    {
      OscFilterUnit& unit = *units[order[u0 + g]];
      KvFilterPaulKellett* kl = unit.left.kellett(unit.leftIndex);
      KvFilterPaulKellett* kr = unit.right.kellett(unit.rightIndex);
      shared[g] = kl != nullptr && kr != nullptr && kr->runsAs(*kl);
      if (shared[g])
        kr = nullptr;
      const int need = int(kl != nullptr) + int(kr != nullptr);
      if (used + need > KellettLanes::kLanes)
        break;
      used += need;
      sides[g] = {kl, kr};
    }
    for (int j0 = 0; j0 < n; j0 += kPiece)
    {
      const int m = n - j0 < kPiece ? n - j0 : kPiece;
      double l[kMost][kPiece], r[kMost][kPiece];
      KellettLanes lanes;
      for (int i = 0; i < g; ++i)
      {
        const double* in = x[order[u0 + i]] + j0;
        const double* cut = cutoff[order[u0 + i]] + j0;
        const double res = resonance[order[u0 + i]];
        if (sides[i].left != nullptr)
          lanes.add(*sides[i].left, in, cut, res, l[i]);
        if (sides[i].right != nullptr)
          lanes.add(*sides[i].right, in, cut, res, r[i]);
      }
      // The biquad sides whose cutoff holds through the piece side by side too (both
      // sides of a pair of biquads, or neither).
      BiquadLanes biquads;
      bool leftLane[kMost], rightLane[kMost];
      for (int i = 0; i < g; ++i)
      {
        OscFilterUnit& unit = *units[order[u0 + i]];
        const double* in = x[order[u0 + i]] + j0;
        const double* cut = cutoff[order[u0 + i]] + j0;
        const double res = resonance[order[u0 + i]];
        const bool pair = sides[i].left == nullptr && sides[i].right == nullptr;
        leftLane[i] = rightLane[i] = false;
        if (pair && biquads.freeLanes() < 2)
          continue;
        if (sides[i].left == nullptr)
          leftLane[i] =
              unit.left.addBiquad(unit.leftIndex, in, cut, res, l[i], m, unit.tangent, biquads);
        if (sides[i].right == nullptr && !shared[i] && (!pair || leftLane[i]))
          rightLane[i] =
              unit.right.addBiquad(unit.rightIndex, in, cut, res, r[i], m, unit.tangent, biquads);
      }
      // The Kellett lanes with up to four biquads in the same loop (their inputs and outputs
      // are distinct), the biquads left over after them.
      lanes.runBeside(m, biquads);
      biquads.run(m);
      for (int i = 0; i < g; ++i)
      {
        OscFilterUnit& unit = *units[order[u0 + i]];
        const double* in = x[order[u0 + i]] + j0;
        const double* cut = cutoff[order[u0 + i]] + j0;
        const double res = resonance[order[u0 + i]];
        double* out = y[order[u0 + i]] + j0;
        if (shared[i])
          *unit.right.kellett(unit.rightIndex) = *sides[i].left;
        else if (sides[i].left == nullptr && sides[i].right == nullptr && !leftLane[i])
        {
          // Both sides share the tangent of each sample's cutoff: sample by sample.
          for (int j = 0; j < m; ++j)
            out[j] = unit.process(in[j], cut[j], res);
          continue;
        }
        if (sides[i].left == nullptr && !leftLane[i])
          unit.left.runBlock(unit.leftIndex, in, cut, res, l[i], m, unit.tangent);
        if (sides[i].right == nullptr && !shared[i] && !rightLane[i])
          unit.right.runBlock(unit.rightIndex, in, cut, res, r[i], m, unit.tangent);
        unit.blend(l[i], shared[i] ? l[i] : r[i], out, m);
      }
    }
    u0 += g;
  }
  for (int u = 0; u < count; ++u)
    if (twin[u] >= 0)
    {
      const OscFilterUnit& source = *units[twin[u]];
      OscFilterUnit& unit = *units[u];
      std::copy_n(y[twin[u]], n, y[u]);
      *unit.left.kellett(unit.leftIndex) = *source.left.kellett(source.leftIndex);
      *unit.right.kellett(unit.rightIndex) = *source.right.kellett(source.rightIndex);
      unit.balance = source.balance;
    }
}

bool OscFilterUnit::twinOf(const OscFilterUnit& other, const double* x, const double* otherX,
                           const double* cutoff, const double* otherCutoff, double resonance,
                           double otherResonance, int n) const
{
  using Dsp::sameBits;
  const KvFilterPaulKellett* kl = left.kellett(leftIndex);
  const KvFilterPaulKellett* kr = right.kellett(rightIndex);
  const KvFilterPaulKellett* ol = other.left.kellett(other.leftIndex);
  const KvFilterPaulKellett* orr = other.right.kellett(other.rightIndex);
  const std::size_t bytes = sizeof(double) * std::size_t(n);
  return kl != nullptr && kr != nullptr && ol != nullptr && orr != nullptr && kl->runsAs(*ol) &&
         kr->runsAs(*orr) && sameBits(resonance, otherResonance) &&
         sameBits(balance, other.balance) && sameBits(balanceTarget, other.balanceTarget) &&
         sameBits(balanceGain, other.balanceGain) && sameBits(balancePole, other.balancePole) &&
         (x == otherX || std::memcmp(x, otherX, bytes) == 0) &&
         (cutoff == otherCutoff || std::memcmp(cutoff, otherCutoff, bytes) == 0);
}

void OscFilterUnit::blend(const double* l, const double* r, double* out, int n) noexcept
{
  double b = balance;
  const double target = balanceTarget;
  const double next = balanceGain * target + balancePole * b;
  if (Dsp::sameBits(next, b))
  {
    // Settled: every step gives the balance back, so the samples need no chain.
    for (int j = 0; j < n; ++j)
      out[j] = (1.0 - b) * l[j] + b * r[j];
    return;
  }
  for (int j = 0; j < n; ++j)
  {
    b = balanceGain * target + balancePole * b;
    out[j] = (1.0 - b) * l[j] + b * r[j];
  }
  balance = b;
}

void OscFilterUnit::Bank::setSampleRate(double rate)
{
  for (int i = 0; i < kTypeCount; ++i)
    filter(i).setSampleRate(rate);
}

void OscFilterUnit::Bank::reset()
{
  for (int i = 0; i < kTypeCount; ++i)
    filter(i).reset();
}

OscFilterUnit::OscFilterUnit() = default;

int OscFilterUnit::typeIndex(double x)
{
  const double p = std::floor(4.0 * x + 0.5);
  // Compared as a double first: NaN and huge values must not reach the int cast.
  if (p >= 0.0 && p < double(kTypeCount))
    return int(p);
  return kKellettLowPass;
}

void OscFilterUnit::setLeftType(double x)
{
  leftTypeValue = x;
  leftIndex = typeIndex(x);
}

void OscFilterUnit::setRightType(double x)
{
  rightTypeValue = x;
  rightIndex = typeIndex(x);
}

void OscFilterUnit::setSampleRate(double rate)
{
  AudioProcessingUnit::setSampleRate(rate);
  left.setSampleRate(rate);
  right.setSampleRate(rate);
  reset();
}

void OscFilterUnit::reset()
{
  left.reset();
  right.reset();
}

const char* OscFilterUnit::longTypeName(int index)
{
  static const char* const kNames[kTypeCount] = {
      "Paul Kellett LP", "Paul Kellett HP", "Paul Kellett BP", "Butterworth HP", "Butterworth LP"};
  if (index < 0 || index >= kTypeCount)
    return "Unknown Filter";
  return kNames[index];
}

const char* OscFilterUnit::shortTypeName(int index)
{
  static const char* const kNames[kTypeCount] = {"PK LP", "PK HP", "PK BP", "BW HP", "BW LP"};
  if (index < 0 || index >= kTypeCount)
    return "Unknown";
  return kNames[index];
}

} // namespace Korvane
