#include "effects/masterfilter/FilterUnit.h"

#include "dsp/Lanes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Korvane
{

namespace
{

struct TypeName
{
  const char* shortName;
  const char* longName;
  const char* presetCode;
};

constexpr TypeName kTypeANames[FilterUnit::kTypeACount] = {
    {"RBJ-LP", "RBJ LowPass", "RBJ-LP"},
    {"RBJ-HP", "RBJ HighPass", "RBJ-HP"},
    {"RBJ-BP1", "RBJ BandPass 1", "RBJ-BP1"},
    {"RBJ-BS", "RBJ BandStop", "RBJ-BS"},
};

constexpr TypeName kTypeBNames[FilterUnit::kTypeBCount] = {
    {"CH-HP12", "Chebyshev HighPass 12dB", "HP 12dB"},
    {"CH-HP24", "Chebyshev HighPass 24dB", "HP 24dB"},
    {"CH-LP12", "Chebyshev LowPass 12dB", "LP 12dB"},
    {"CH-LP24", "Chebyshev LowPass 24dB", "LP 24dB"},
    {"BW-BP12", "Butterworth BandPass 12dB", "BP 12dB"},
    {"BW-BS12", "Butterworth BandStop 12dB", "BS 12dB"},
};

// floor(n * x + 0.5) when it lies in 0..size-1, else 0. Compared as a double first, so
// NaN and huge values never reach the int cast.
int tablePosition(double x, int n, int size)
{
  const double p = std::floor(double(n) * x + 0.5);
  if (p >= 0.0 && p < double(size))
    return int(p);
  return 0;
}

template <class Design>
std::unique_ptr<FilterUnit::Smoothed<Design>> makeDesign(int order)
{
  auto design = std::make_unique<FilterUnit::Smoothed<Design>>(FilterUnit::kTransitionSamples);
  design->setParams(design->getDefaultParams());
  if (order > 0)
    design->setParam(Dsp::kIdOrder, double(order));
  return design;
}

} // namespace

// The designs by their own types (defined first, for the block and the accessors).

namespace
{

// action(the design at `index` among the given ones), the first for an index outside them.
template <class Action, class First, class... Rest>
decltype(auto) visitAt(int index, Action&& action, First& first, Rest&... rest)
{
  if constexpr (sizeof...(Rest) == 0)
    return action(first);
  else
  {
    if (index <= 0 || index > int(sizeof...(Rest)))
      return action(first);
    return visitAt(index - 1, action, rest...);
  }
}

} // namespace

template <class Action>
decltype(auto) FilterUnit::visitA(int index, Action&& action)
{
  // In table order: kRbjLowPass, kRbjHighPass, kRbjBandPass1, kRbjBandStop.
  return visitAt(index, action, *rbjLowPass, *rbjHighPass, *rbjBandPass1, *rbjBandStop);
}

template <class Action>
decltype(auto) FilterUnit::visitB(int index, Action&& action)
{
  // In table order: kChebyHighPass12, kChebyHighPass24, kChebyLowPass12, kChebyLowPass24,
  // kBwBandPass12, kBwBandStop12.
  return visitAt(index, action, *chebyHighPass12, *chebyHighPass24, *chebyLowPass12,
                 *chebyLowPass24, *bwBandPass12, *bwBandStop12);
}

// --- Called from the main thread at construction --------------------------------------

FilterUnit::FilterUnit()
  : rbjHighPass(makeDesign<Dsp::RBJ::HighPass>(0)), rbjLowPass(makeDesign<Dsp::RBJ::LowPass>(0)),
    rbjBandPass1(makeDesign<Dsp::RBJ::BandPass1>(0)),
    rbjBandStop(makeDesign<Dsp::RBJ::BandStop>(0)),
    chebyHighPass12(makeDesign<Dsp::ChebyshevI::HighPass>(2)),
    chebyLowPass12(makeDesign<Dsp::ChebyshevI::LowPass>(2)),
    chebyHighPass24(makeDesign<Dsp::ChebyshevI::HighPass>(4)),
    chebyLowPass24(makeDesign<Dsp::ChebyshevI::LowPass>(4)),
    bwBandPass12(makeDesign<Dsp::Butterworth::BandPass>(2)),
    bwBandStop12(makeDesign<Dsp::Butterworth::BandStop>(2))
{
  inputDrive.setMix(0.25, 4.0);
}

FilterUnit::~FilterUnit() = default;

// --- Called from reset and parameter routing under the plug-in mutex ------------------

void FilterUnit::setSampleRate(double rate)
{
  if (!std::isfinite(rate) || rate <= 0.0)
    return;
  AudioProcessingUnit::setSampleRate(rate);
  inputDrive.setSampleRate(rate);
  for (int i = 0; i < kTypeACount; ++i)
    designA(i).setParam(Dsp::kIdSampleRate, rate);
  for (int i = 0; i < kTypeBCount; ++i)
    designB(i).setParam(Dsp::kIdSampleRate, rate);
}

void FilterUnit::reset()
{
  for (int i = 0; i < kTypeACount; ++i)
    designA(i).reset();
  for (int i = 0; i < kTypeBCount; ++i)
    designB(i).reset();
  inputDrive.reset();
}

bool FilterUnit::setTypeA(double x)
{
  if (!std::isfinite(x))
    return false;
  typeAValue = x;
  return true;
}

bool FilterUnit::setTypeB(double x)
{
  if (!std::isfinite(x))
    return false;
  typeBValue = x;
  return true;
}

bool FilterUnit::setBalance(double x)
{
  if (!std::isfinite(x))
    return false;
  balanceTarget = x;
  return true;
}

bool FilterUnit::setInputDrive(double x) { return inputDrive.setDrive(x); }

void FilterUnit::setEachDesign(const int* ids, int idCount, double x)
{
  for (int d = 0; d < int(kTypeACount) + int(kTypeBCount); ++d)
  {
    Dsp::Filter& design = d < kTypeACount ? designA(d) : designB(d - kTypeACount);
    for (int k = 0; k < idCount; ++k)
    {
      const int position = design.findParamIndex(ids[k]);
      if (position < 0)
        continue;
      design.setParam(ids[k], design.getParamInfo(position).toNativeValue(x));
      break;
    }
  }
}

bool FilterUnit::setCutoff(double x)
{
  if (!std::isfinite(x))
    return false;
  static constexpr int kIds[] = {Dsp::kIdFrequency};
  setEachDesign(kIds, 1, x);
  const int position = rbjLowPass->findParamIndex(Dsp::kIdFrequency);
  if (position >= 0)
    cutoffHz = rbjLowPass->getParams()[position];
  return true;
}

bool FilterUnit::setResonance(double x)
{
  if (!std::isfinite(x))
    return false;
  static constexpr int kIds[] = {Dsp::kIdQ, Dsp::kIdBandwidth, Dsp::kIdBandwidthHz,
                                 Dsp::kIdRippleDb};
  setEachDesign(kIds, 4, x);
  return true;
}

bool FilterUnit::setTransition(double x)
{
  if (!std::isfinite(x))
    return false;
  transitionSetting = int(std::floor(2.0 * std::clamp(x, 0.0, 1.0) + 0.5));
  const int length = transitionSetting == 0 ? 2048 : 512;
  for (int i = 0; i < kTypeACount; ++i)
    designA(i).setTransitionLength(length);
  for (int i = 0; i < kTypeBCount; ++i)
    designB(i).setTransitionLength(length);
  return true;
}

// --- Called from the audio thread, never blocks -----------------------------------------

void FilterUnit::process(double* left, double* right, int count)
{
  processInPieces(left, right, count,
                  [this](double* l, double* r, int n) { processPiece(l, r, n); });
}

void FilterUnit::processPiece(double* left, double* right, int count)
{
  double* channelsA[2] = {bufferA[0].data(), bufferA[1].data()};
  double* channelsB[2] = {bufferB[0].data(), bufferB[1].data()};
  // Once the next balance would equal the current one bit for bit and no fade runs,
  // every sample takes the same shares.
  const bool steady = wet == 1.0 && balanceStands();
  // The two selected designs side by side when neither glides, else one after the other.
  // An input drive at zero passes every sample plus a zero of its own, which the designs
  // add as they read the input, instead of the drive and the copies taking passes of their
  // own; and with steady shares the designs' outputs are mixed as they come. Only a fade,
  // whose dry share is the drive's output, needs that in the block as well.
  const auto run = [&](auto& a, auto& b)
  {
    if (count > 0 && !a.isGliding() && !b.isGliding() && inputDrive.passesUnchanged())
    {
      const double zero = inputDrive.passUnchanged();
      const Dsp::Pair zeros{zero, zero};
      const auto input = [left, right, zeros](int i) {
        return Dsp::Pair{left[i], right[i]} + zeros;
      };
      if (steady)
      {
        const double keep = 1.0 - balance;
        if (a.processBesideWith(b, count, input, input,
                                [&, this](int i, Dsp::Pair x, Dsp::Pair y)
                                {
                                  const Dsp::Pair out = balance * y + keep * x;
                                  left[i] = out[0];
                                  right[i] = out[1];
                                }))
          return true;
      }
      else if (a.processBesideWith(b, count, input, input,
                                   [&](int i, Dsp::Pair x, Dsp::Pair y)
                                   {
                                     bufferA[0][size_t(i)] = x[0];
                                     bufferA[1][size_t(i)] = x[1];
                                     bufferB[0][size_t(i)] = y[0];
                                     bufferB[1][size_t(i)] = y[1];
                                   }))
      {
        if (wet != 1.0 && !Dsp::sameBits(zero, -0.0))
          for (double* samples : {left, right})
            Dsp::addPlusZero(samples, count);
        return false;
      }
      // Not reached; the drive, which stands at a fixed zero, would take the block below
      // as it took it above.
    }
    inputDrive.process(left, right, count);
    for (double* const* channels : {channelsA, channelsB})
    {
      std::copy(left, left + count, channels[0]);
      std::copy(right, right + count, channels[1]);
    }
    if (!a.processBeside(b, count, channelsA, channelsB))
    {
      a.process(count, channelsA);
      b.process(count, channelsB);
    }
    return false;
  };
  if (visitA(getTypeAIndex(),
             [&](auto& a) { return visitB(getTypeBIndex(), [&](auto& b) { return run(a, b); }); }))
    return;

  // Sample by sample while the balance glides or the fade runs, then with steady shares
  // two samples at a time.
  int i = 0;
  for (; i < count && (!balanceStands() || (wet > 0.0 && wet < 1.0)); ++i)
  {
    balance = balanceGain * balanceTarget + balancePole * balance;
    const double yl = balance * bufferB[0][i] + (1.0 - balance) * bufferA[0][i];
    const double yr = balance * bufferB[1][i] + (1.0 - balance) * bufferA[1][i];
    if (wet != 1.0)
    {
      left[i] = (1.0 - wet) * left[i] + wet * yl;
      right[i] = (1.0 - wet) * right[i] + wet * yr;
    }
    else
    {
      left[i] = yl;
      right[i] = yr;
    }
    advanceFade();
  }
  for (int c = 0; c < 2; ++c)
  {
    double* out = c == 0 ? left : right;
    const double* a = bufferA[c].data();
    const double* b = bufferB[c].data();
    const auto mix = [this](auto y, auto x) { return wet != 1.0 ? (1.0 - wet) * x + wet * y : y; };
    int k = i;
    for (; k + 2 <= count; k += 2)
      Dsp::storePair(out + k,
                     mix(balance * Dsp::loadPair(b + k) + (1.0 - balance) * Dsp::loadPair(a + k),
                         Dsp::loadPair(out + k)));
    for (; k < count; ++k)
      out[k] = mix(balance * b[k] + (1.0 - balance) * a[k], out[k]);
  }
}

// --- Accessors for the editor and tests --------------------------------------------------

int FilterUnit::typeAIndex(double x) { return tablePosition(x, 3, kTypeACount); }

int FilterUnit::typeBIndex(double x) { return tablePosition(x, 5, kTypeBCount); }

const char* FilterUnit::shortTypeAName(int index)
{
  return index >= 0 && index < kTypeACount ? kTypeANames[index].shortName : "";
}

const char* FilterUnit::longTypeAName(int index)
{
  return index >= 0 && index < kTypeACount ? kTypeANames[index].longName : "";
}

const char* FilterUnit::shortTypeBName(int index)
{
  return index >= 0 && index < kTypeBCount ? kTypeBNames[index].shortName : "";
}

const char* FilterUnit::longTypeBName(int index)
{
  return index >= 0 && index < kTypeBCount ? kTypeBNames[index].longName : "";
}

const char* FilterUnit::typeBPresetCode(int index)
{
  return index >= 0 && index < kTypeBCount ? kTypeBNames[index].presetCode : "";
}

int FilterUnit::typeAFromText(const char* text)
{
  if (text == nullptr)
    return 0;
  if (std::strcmp(text, "RBJ-BP") == 0)
    return kRbjBandPass1;
  for (int i = 0; i < kTypeACount; ++i)
    if (std::strcmp(text, kTypeANames[i].presetCode) == 0)
      return i;
  return 0;
}

int FilterUnit::typeBFromText(const char* text)
{
  if (text == nullptr)
    return 0;
  for (int i = 0; i < kTypeBCount; ++i)
    if (std::strcmp(text, kTypeBNames[i].presetCode) == 0)
      return i;
  return 0;
}

Dsp::Filter& FilterUnit::designA(int index)
{
  return visitA(index, [](auto& design) -> Dsp::Filter& { return design; });
}

Dsp::Filter& FilterUnit::designB(int index)
{
  return visitB(index, [](auto& design) -> Dsp::Filter& { return design; });
}

} // namespace Korvane
