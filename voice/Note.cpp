#include "voice/Note.h"

#include "dsp/CpuFeatures.h"
#include "dsp/Lanes.h"
#include "voice/ClickTransients.h"
#include "voice/PitchEnvelope.h"
#include "voice/Random15.h"
#include "voice/SampleChecks.h"
#include "voice/Saturate.h"
#include "voice/SineOfTurns.h"
#include "voice/SynthParams.h"
#include "voice/WaveformProvider.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

// The render loops over a stretch of samples are written to be vectorised; the cheapest
// cost model of -O2 would leave every loop whose length or aliasing is known only at run
// time scalar. Vector code is the same IEEE arithmetic lane by lane (no reassociation).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("vect-cost-model=dynamic")
#endif

namespace Korvane
{

namespace
{

constexpr double kTwoPi = 2.0 * std::numbers::pi;
using S = SynthParams;

constexpr int slot(int k, SynthParams::OscSlot s) noexcept { return SynthParams::osc(k, s); }

// x^20 by squaring.
inline double pow20(double x) noexcept
{
  const double x2 = x * x;
  const double x5 = x2 * x2 * x;
  const double x10 = x5 * x5;
  return x10 * x10;
}

// The tune LFO's factor on an oscillator's frequency: a semitone per unit above zero,
// its reciprocal below (1 when the LFO does not reach the tune).
inline double tuneLfoFactor(const Modulator& lfo, double toTune) noexcept
{
  const double v = toTune == 0.0 ? 0.0 : lfo.value() * toTune;
  return v >= 0.0 ? 1.0 + Note::kSemitone * v : 1.0 / (1.0 - Note::kSemitone * v);
}

// A pair of sub-voices takes the increments of frequency ratio f, the second detuned by d.
inline void setIncrements(PolyBLEP& b0, TableOscillator& t0, PolyBLEP& b1, TableOscillator& t1,
                          double f, double d, double perSample) noexcept
{
  const double inc0 = f * perSample;
  const double inc1 = f * d * perSample;
  b0.increment = inc0;
  t0.increment = inc0;
  b1.increment = inc1;
  t1.increment = inc1;
}

// A pair of sub-voices takes the increments of the next sample: frequency ratio times
// the tune LFO's factor times the sample's pitch factor, the second detuned by d; then
// the tune LFO steps on.
inline void stepIncrements(PolyBLEP& b0, TableOscillator& t0, PolyBLEP& b1, TableOscillator& t1,
                           Modulator& tune, double toTune, double ratio, double pw, double d,
                           double perSample) noexcept
{
  const double m = tuneLfoFactor(tune, toTune);
  setIncrements(b0, t0, b1, t1, ratio * m * pw, d, perSample);
  tune.advance();
}

// A stretch of a voice into the stereo pair and the bass bus: the voice gain g of each
// sample (its envelope value times the velocity) scales the stereo sums, the click and
// the bass layer. The targets are distinct buffers that overlap none of the sources, so
// the loop vectorises.
[[gnu::always_inline]] inline void
addIntoTargets(double* __restrict left, double* __restrict right, double* __restrict bassBus,
               const double* __restrict sumLeft, const double* __restrict sumRight,
               const double* __restrict gains, const double* __restrict click,
               const double* __restrict bass, double velocity, int m) noexcept
{
  for (int j = 0; j < m; ++j)
  {
    const double g = gains[j] * velocity;
    const double co = g * click[j];
    left[j] += sumLeft[j] * g + co;
    right[j] += co + sumRight[j] * g;
    bassBus[j] += g * bass[j];
  }
}

} // namespace

const double Note::kStartFade[kStartFadeLength] = {
    0.0,         30.0 / 240,  58.0 / 240,  84.0 / 240,  108.0 / 240, 130.0 / 240,
    150.0 / 240, 168.0 / 240, 184.0 / 240, 198.0 / 240, 210.0 / 240, 220.0 / 240,
    228.0 / 240, 234.0 / 240, 238.0 / 240, 1.0,
};

Note::Note()
{
  for (int k = 0; k < kOscillators; ++k)
  {
    lfo[k].depth = 1.0;
    tuneLfo[k].depth = 0.5;
  }
  clicks = &ClickTransients::instance();
  setSampleRate(sampleRate);
}

Note::~Note() = default;

void Note::setSampleRate(double rate)
{
  if (!(rate > 0.0))
    return;
  AudioProcessingUnit::setSampleRate(rate);
  // The envelopes keep their segment lengths in seconds, so a host running at
  // 48 or 96 kHz hears the times the editor shows.
  volumeEnvelope.setSampleRate(rate);
  filterEnvelope.setSampleRate(rate);
  for (int k = 0; k < kOscillators; ++k)
  {
    lfo[k].setSampleRate(rate);
    tuneLfo[k].setSampleRate(rate);
    oscFilter[k].setSampleRate(rate);
    for (int s = 0; s < kSubVoices; ++s)
    {
      blep[k][s].setSampleRate(rate);
      table[k][s].setSampleRate(rate);
    }
  }
  fm.setSampleRate(rate);
  clickStart = static_cast<std::int32_t>(std::floor(rate * 0.001));
  clickLength = static_cast<std::int32_t>(std::floor(rate * 0.2));
  baseIncrement = noteFrequency / rate;
}

void Note::markLayers(int i) noexcept
{
  if (layersDirtyFrom >= layersDirtyTo)
  {
    layersDirtyFrom = i;
    layersDirtyTo = i + 1;
    return;
  }
  layersDirtyFrom = std::min(layersDirtyFrom, i);
  layersDirtyTo = std::max(layersDirtyTo, i + 1);
}

void Note::clearLayers(int from, int to) noexcept
{
  const int a = std::max(from, layersDirtyFrom);
  const int b = std::min(to, layersDirtyTo);
  if (a >= b)
    return;
  std::fill(bassBuffer.get() + a, bassBuffer.get() + b, 0.0);
  std::fill(clickBuffer.get() + a, clickBuffer.get() + b, 0.0);
  // What remains dirty: the range without the part at either of its ends.
  if (a == layersDirtyFrom)
    layersDirtyFrom = b;
  else if (b == layersDirtyTo)
    layersDirtyTo = a;
}

void Note::allocateBuffers(int length)
{
  if (length < 0)
    length = 0;
  for (auto& b : oscBuffer)
    b = std::make_unique<double[]>(static_cast<std::size_t>(length));
  bassBuffer = std::make_unique<double[]>(static_cast<std::size_t>(length));
  clickBuffer = std::make_unique<double[]>(static_cast<std::size_t>(length));
  layersDirtyFrom = layersDirtyTo = 0;
  bufferLength = length;
  bufferIndex = 0;
}

void Note::bind(const VoiceBinding& b)
{
  binding = b;
  bound = b.complete();
  for (int k = 0; k < kOscillators; ++k)
    applyWaveform(k);
}

void Note::selectWaveform(int k, double x)
{
  if (k < 0 || k >= kOscillators)
    return;
  waveform[k] = WaveformProvider::positionOf(x);
  applyWaveform(k);
}

void Note::applyWaveform(int k) noexcept
{
  const int b = waveform[k];
  std::int32_t type = PolyBLEP::kSine;
  double width = 0.5;
  double offset = 0.0;
  switch (b)
  {
  case 1:
    type = PolyBLEP::kSawtooth;
    break;
  case 2:
    type = PolyBLEP::kRectangle;
    break;
  case 3:
    type = PolyBLEP::kRectangle;
    width = 0.25;
    offset = -0.5;
    break;
  case 4:
    type = PolyBLEP::kRectangle;
    width = 0.125;
    offset = -0.75;
    break;
  case 5:
    type = PolyBLEP::kTriangle;
    break;
  default:
    break;
  }
  useBlep[k] = b <= 5;
  noiseKind[k] = b == 8 ? 1 : (b == 9 ? 2 : 0);
  const WaveTableSet* set = binding.provider != nullptr ? &binding.provider->set(b) : nullptr;
  for (int s = 0; s < kSubVoices; ++s)
  {
    if (b <= 5)
    {
      blep[k][s].type = type;
      blep[k][s].pulseWidth = width;
      blep[k][s].offset = offset;
    }
    table[k][s].table = set;
  }
}

void Note::setLfoFrequency(int k, double v) noexcept
{
  if (k < 0 || k >= kOscillators)
    return;
  lfo[k].setFrequency(v);
  tuneLfo[k].setFrequency(v);
}

void Note::retune() noexcept
{
  if (!bound)
    return;
  baseFrequency = noteFrequency * (*binding.params)[S::kTransposeRatio];
  fm.setFrequencyHz(baseFrequency);
}

void Note::setNote(int note)
{
  if (isActive())
    return;
  noteNumber = note;
  if (!bound)
    return;
  const SynthParams& p = *binding.params;
  const int mode = static_cast<int>(std::floor(p[S::kNoteTransposeMode] * 9.0 + 0.5));
  const double f = std::pow(2.0, (note - 69) / 12.0) * 440.0 * 2.0;
  switch (mode)
  {
  case 1:
    noteFrequency = f / 2.0;
    break;
  case 2:
    noteFrequency = 2.0 * f;
    break;
  case 3:
    noteFrequency = 39.2;
    break;
  case 4:
    noteFrequency = 44.0;
    break;
  case 5:
    noteFrequency = 50.0;
    break;
  case 6:
    noteFrequency = 56.0;
    break;
  case 7:
    noteFrequency = 64.84;
    break;
  default:
    noteFrequency = f;
    break;
  }
  baseIncrement = noteFrequency / sampleRate;
  baseFrequency = noteFrequency * p[S::kTransposeRatio];
  fm.setFrequencyHz(baseFrequency);
  const double inc = baseFrequency / sampleRate;
  for (int k = 0; k < kOscillators; ++k)
  {
    double s = p[slot(k, S::kOscStartPhase)] - 0.5;
    if (s < 0.0)
      s = PolyBLEP::frac(s + 1.0);
    for (int v = 0; v < kSubVoices; ++v)
    {
      blep[k][v].phase = s;
      blep[k][v].increment = inc;
      table[k][v].phase = s;
      table[k][v].increment = inc;
    }
  }
  const double tempo = binding.tempo != nullptr ? binding.tempo(binding.owner) : 120.0;
  arpeggiator.arm(mode >= 0 && mode <= 9 ? mode : 0, tempo, sampleRate);
}

void Note::start(int vel)
{
  volumeEnvelope.state = AdsrEnvelope::kAttack;
  volumeEnvelope.output = 0.0;
  filterEnvelope.state = AdsrEnvelope::kAttack;
  filterEnvelope.output = 0.0;
  samplesSinceStart = 0;
  fadeIndex = 0;
  bufferIndex = 0;
  startOffset = 0;
  bassPhase = 0.0;
  clickPhase = 0.0;
  for (int k = 0; k < kOscillators; ++k)
    if (oscBuffer[k])
      std::fill_n(oscBuffer[k].get(), bufferLength, 0.0);
  if (bassBuffer)
    std::fill_n(bassBuffer.get(), bufferLength, 0.0);
  if (clickBuffer)
    std::fill_n(clickBuffer.get(), bufferLength, 0.0);
  layersDirtyFrom = layersDirtyTo = 0;
  if (bound)
    updatePitch(1.0);
  for (int k = 0; k < kOscillators; ++k)
  {
    lfo[k].phase = 0.0;
    tuneLfo[k].phase = 0.0;
    oscFilter[k].reset();
  }
  fm.phase = 0.0;
  velocity = vel / 127.0;
}

void Note::release() noexcept
{
  if (volumeEnvelope.state != AdsrEnvelope::kIdle)
    volumeEnvelope.state = AdsrEnvelope::kRelease;
  if (filterEnvelope.state != AdsrEnvelope::kIdle)
    filterEnvelope.state = AdsrEnvelope::kRelease;
}

void Note::updatePitch(double e)
{
  const SynthParams& p = *binding.params;
  const double t = p[S::kTransposeRatio];
  const double b = *binding.bendRatio;
  const double w = 1.0 + kTwelveSemitones * fm.value();
  const double a = arpeggiator.step();
  const double p0 = a * e * t * b;
  const double pw = p0 * w;
  if (p[S::kBassLayerToFm] == 0.0)
    bassPhase += e * t * b * baseIncrement;
  else
    bassPhase += baseIncrement * pw;
  bassPhase -= PolyBLEP::floorOf(bassPhase);
  refreshQuotients();
  const double d = detuneFactor;
  const double perSample = samplePeriod;
  for (int k = 0; k < kOscillators; ++k)
  {
    // The tune LFO's sine is only worth computing when it moves the tune.
    const double toTune = p[slot(k, S::kOscLfoToTune)];
    stepIncrements(blep[k][0], table[k][0], blep[k][1], table[k][1], tuneLfo[k], toTune,
                   baseFrequency * pitchRatio[k] * tuneRatio[k], pw, d, perSample);
  }
  fm.advance();
}

double Note::oscillatorFrequency(int k) const noexcept { return blep[k][0].increment * sampleRate; }

double Note::oscillatorSample(int k) noexcept
{
  if (noiseKind[k] != 0)
  {
    if (binding.random == nullptr)
      return 0.0;
    return noiseKind[k] == 1 ? Noise::white(*binding.random)
                             : Noise::pink(*binding.random, pink[k]);
  }
  const int count = unisonCount >= 2 ? 2 : 1;
  double sum = 0.0;
  if (useBlep[k])
  {
    for (int s = 0; s < count; ++s)
    {
      PolyBLEP& o = blep[k][s];
      sum += o.output() + o.offset;
      o.advance();
    }
  }
  else
  {
    for (int s = 0; s < count; ++s)
    {
      TableOscillator& o = table[k][s];
      sum += o.read();
      o.advance();
    }
  }
  return count == 1 ? sum : sum / count;
}

namespace
{
constexpr std::int64_t kLongestTransient =
    std::max(std::max(ClickTransients::kLengthA, ClickTransients::kLengthB),
             std::max(ClickTransients::kLengthC, ClickTransients::kLengthD));
} // namespace

// The transient's position for the time since note-on.
std::int64_t Note::clickPosition(std::int64_t n) const noexcept
{
  return static_cast<std::int64_t>(PolyBLEP::floorOf(44100.0 / sampleRate * double(n)));
}

bool Note::clickOver(std::int64_t n) const noexcept
{
  return clickPosition(n) >= kLongestTransient && n >= std::int64_t(clickStart) + clickLength;
}

double Note::clickSample(double a) noexcept
{
  const std::int64_t n = samplesSinceStart;
  const std::int64_t q = clickPosition(n);
  // Past the four transients and the swept sine every term below is a zero and the sum
  // is 0.0 (for an amount above 0, the only one the voice asks for).
  if (a > 0.0 && q >= kLongestTransient && n >= std::int64_t(clickStart) + clickLength)
    return 0.0;
  const double h = q < ClickTransients::kLengthA ? clicks->a[q] : 0.0;
  const double l = q < ClickTransients::kLengthB ? clicks->b[q] : 0.0;
  const double m = q < ClickTransients::kLengthC ? clicks->c[q] : 0.0;
  const double o = q < ClickTransients::kLengthD ? clicks->d[q] : 0.0;
  double b = 0.0, c = 0.0, d = 0.0, e2 = 0.0, f = 0.0;
  if (a <= 0.2)
  {
    f = 5.0 * a;
  }
  else if (a <= 0.4)
  {
    e2 = 5.0 * (a - 0.2);
    f = 1.0 - e2;
  }
  else if (a <= 0.6)
  {
    d = 5.0 * (a - 0.4);
    e2 = 1.0 - d;
  }
  else if (a <= 0.8)
  {
    c = 5.0 * (a - 0.6);
    d = 1.0 - c;
  }
  else
  {
    b = 5.0 * (a - 0.8);
    c = 1.0 - b;
    f = b * b;
  }
  double u = 0.0;
  if (clickStart < n && n < std::int64_t(clickStart) + clickLength)
  {
    const double r = pow20(1.0 - double(n - clickStart) / clickLength);
    u = std::sin(clickPhase) * r * f * a;
    clickPhase += pow20(r);
  }
  return u - a * (e2 * h + d * l + c * m + b * o);
}

// Both quotients change only with the detune and the rate.
void Note::refreshQuotients() noexcept
{
  if (detune != cachedDetune)
  {
    cachedDetune = detune;
    detuneFactor = 1.0 / (1.0 + kSemitone * detune);
  }
  if (sampleRate != cachedRate)
  {
    cachedRate = sampleRate;
    samplePeriod = 1.0 / sampleRate;
  }
}

void Note::renderOscillators(PitchMemo* memo)
{
  mixRight = mixLeft = bassOut = clickOut = 0.0;
  if (!bound)
    return;
  const SynthParams& p = *binding.params;
  const int i = startOffset + bufferIndex;
  // A note-on offset beyond the buffers (a block larger than the reset announced)
  // writes nothing, but the voice keeps its time.
  if (i >= 0 && i < bufferLength)
  {
    for (int k = 0; k < kOscillators; ++k)
    {
      sameBufferAs[k] = -1;
      if (p[slot(k, S::kOscOn)] > 0.5 && p[slot(k, S::kOscVolume)] > 0.0)
        oscBuffer[k][i] = oscillatorSample(k);
    }
    // Layers that are off write silence, so a layer switched off during a note
    // does not replay its last block.
    bassBuffer[i] = p[S::kBassLayerAmount] > 0.0 ? std::sin(kTwoPi * bassPhase) : 0.0;
    const double click = p[S::kBassLayerClick];
    clickBuffer[i] = click > 0.0 ? clickSample(click) : 0.0;
    markLayers(i);
  }
  const double t = samplesSinceStart / sampleRate;
  const std::uint64_t tBits = std::bit_cast<std::uint64_t>(t);
  double e;
  if (memo != nullptr && memo->envelope == binding.pitchEnvelope && memo->timeBits == tBits)
    e = memo->factor;
  else
  {
    e = binding.pitchEnvelope->evaluate(t);
    if (memo != nullptr)
      *memo = {binding.pitchEnvelope, tBits, e};
  }
  updatePitch(e);
  bufferIndex += 1;
  samplesSinceStart += 1;
  if (bufferIndex >= bufferLength)
    bufferIndex = 0;
}

bool Note::drawsNoise() const noexcept
{
  if (!bound || binding.random == nullptr)
    return false;
  const SynthParams& p = *binding.params;
  for (int k = 0; k < kOscillators; ++k)
    if (noiseKind[k] != 0 && p[slot(k, S::kOscOn)] > 0.5 && p[slot(k, S::kOscVolume)] > 0.0)
      return true;
  return false;
}

void Note::renderFrontBody(int count, const double* bend, PitchRun& memo, RunScratch& scratch,
                           PhaseChains& chains, ModulatorSteps& later)
{
  scratch.count = 0;
  scratch.sineCount = 0;
  std::fill_n(scratch.sameAs, kOscillators, -1);
  scratch.bassChained = false;
  mixRight = mixLeft = bassOut = clickOut = 0.0;
  if (!bound || count <= 0)
    return;
  count = std::min(count, kRunLength);
  scratch.count = count;
  const SynthParams& p = *binding.params;
  // The pitch-envelope factor of every sample of the run, from the time since note-on.
  const double* e = memo.factor;
  if (memo.envelope != binding.pitchEnvelope || memo.start != samplesSinceStart ||
      !(memo.rate == sampleRate) || memo.count < count)
  {
    // Once the fall is over the factor holds (the time only grows while the count of
    // samples does not wrap within the run).
    const PitchEnvelope& envelope = *binding.pitchEnvelope;
    const double t0 = samplesSinceStart / sampleRate;
    if (samplesSinceStart <=
            std::numeric_limits<std::uint32_t>::max() - std::uint32_t(kRunLength) &&
        envelope.settledAt(t0))
      std::fill_n(memo.factor, count, envelope.evaluate(t0));
    else
      for (int j = 0; j < count; ++j)
      {
        const std::uint32_t s = samplesSinceStart + std::uint32_t(j);
        memo.factor[j] = envelope.evaluate(s / sampleRate);
      }
    memo.envelope = binding.pitchEnvelope;
    memo.start = samplesSinceStart;
    memo.rate = sampleRate;
    memo.count = count;
  }

  // First the layers and the per-sample pitch common to the three oscillators, in the
  // order renderOscillators and updatePitch take them.
  const bool exactSine = referenceSine;
  const double t = p[S::kTransposeRatio];
  const bool bassOn = p[S::kBassLayerAmount] > 0.0;
  const bool bassToFm = p[S::kBassLayerToFm] != 0.0;
  const double click = p[S::kBassLayerClick];
  double pw[kRunLength];
  // The bass layer's phases first, their sines side by side in vector lanes after the run.
  const bool bassLanes = bassOn && !exactSine;
  double bassPhases[kRunLength], bassSines[kRunLength];
  int bassAt[kRunLength];
  int bassCount = 0;
  // A click that is over at the run's first sample stays over (its position only grows
  // while the time since note-on does not wrap within the run): 0.0 for every sample.
  const bool clickSounds =
      click > 0.0 && !(samplesSinceStart <=
                           std::numeric_limits<std::uint32_t>::max() - std::uint32_t(kRunLength) &&
                       clickOver(samplesSinceStart));
  // Without FM, chord, bass layer or click, and with the whole run landing in the buffer
  // one sample after the other, the pitch factors are plain products (a factor of exactly
  // 1 leaves a product as it is) and the layers write silence: passes the compiler can
  // vectorise, and the bass phase's chain alone.
  const int first = startOffset + bufferIndex;
  const bool plainRun = fm.isSilent() && arpeggiator.isOff() && !bassOn && !clickSounds &&
                        first >= 0 && bufferIndex + count <= bufferLength &&
                        first + count <= bufferLength;
  int* const at = scratch.at;
  if (plainRun)
  {
    // The bass phase moves on by each sample's increment: a chain that starts with the
    // first increment as its step and records its phases nowhere that is read.
    double* const increments = scratch.bassIncs;
    for (int j = 0; j < count; ++j)
    {
      at[j] = first + j;
      pw[j] = e[j] * t * bend[j];
    }
    if (!bassToFm)
      for (int j = 0; j < count; ++j)
        increments[j] = e[j] * t * bend[j] * baseIncrement;
    else
      for (int j = 0; j < count; ++j)
        increments[j] = baseIncrement * pw[j];
    increments[count] = 0.0;
    scratch.chain[0] = {bassPhase, increments[0], increments + 1, scratch.bassPhases};
    scratch.chainAt[0] = chains.add(scratch.chain[0]);
    if (scratch.chainAt[0] < 0)
      PhaseChains::advanceOne(scratch.chain[0], count);
    scratch.bassChained = true;
    clearLayers(first, first + count);
    later.add(fm, count);
    bufferIndex += count;
    if (bufferIndex >= bufferLength)
      bufferIndex = 0;
    samplesSinceStart += std::uint32_t(count);
  }
  for (int j = 0; j < count && !plainRun; ++j)
  {
    const int i = startOffset + bufferIndex;
    const bool inside = i >= 0 && i < bufferLength;
    at[j] = inside ? i : -1;
    if (inside)
    {
      if (bassLanes)
      {
        bassPhases[bassCount] = bassPhase;
        bassAt[bassCount++] = i;
      }
      else
        bassBuffer[i] = bassOn ? std::sin(kTwoPi * bassPhase) : 0.0;
      clickBuffer[i] = clickSounds ? clickSample(click) : 0.0;
      markLayers(i);
    }
    const double b = bend[j];
    const double w = 1.0 + kTwelveSemitones * fm.value();
    const double a = arpeggiator.step();
    const double p0 = a * e[j] * t * b;
    pw[j] = p0 * w;
    if (!bassToFm)
      bassPhase += e[j] * t * b * baseIncrement;
    else
      bassPhase += baseIncrement * pw[j];
    bassPhase = PolyBLEP::frac(bassPhase);
    fm.advance();
    bufferIndex += 1;
    samplesSinceStart += 1;
    if (bufferIndex >= bufferLength)
      bufferIndex = 0;
  }
  if (bassCount > 0)
  {
    sinesOfTurns(bassPhases, bassSines, bassCount);
    for (int r = 0; r < bassCount; ++r)
      bassBuffer[bassAt[r]] = bassSines[r];
  }
  refreshQuotients();
  const double d = detuneFactor;
  const double perSample = samplePeriod;
  SineRun* const sineRuns = scratch.sines;
  int& sineCount = scratch.sineCount;
  // Then each oscillator through the run: its sample, then its increments for the next.
  for (int k = 0; k < kOscillators; ++k)
  {
    const bool on = p[slot(k, S::kOscOn)] > 0.5 && p[slot(k, S::kOscVolume)] > 0.0;
    const double toTune = p[slot(k, S::kOscLfoToTune)];
    const double ratio = baseFrequency * pitchRatio[k] * tuneRatio[k];
    double* const buffer = oscBuffer[k].get();
    if (!on)
    {
      // Silent: only the increments of the run's last sample remain, and the tune LFO's
      // phase runs on (with the others' when it reaches no tune).
      if (toTune == 0.0)
      {
        setIncrements(blep[k][0], table[k][0], blep[k][1], table[k][1],
                      ratio * tuneLfoFactor(tuneLfo[k], toTune) * pw[count - 1], d, perSample);
        later.add(tuneLfo[k], count);
        continue;
      }
      tuneLfo[k].advanceBy(count - 1);
      stepIncrements(blep[k][0], table[k][0], blep[k][1], table[k][1], tuneLfo[k], toTune, ratio,
                     pw[count - 1], d, perSample);
      continue;
    }
    if (noiseKind[k] != 0)
    {
      for (int j = 0; j < count; ++j)
      {
        if (at[j] >= 0)
          buffer[at[j]] = oscillatorSample(k);
        stepIncrements(blep[k][0], table[k][0], blep[k][1], table[k][1], tuneLfo[k], toTune, ratio,
                       pw[j], d, perSample);
      }
      continue;
    }
    // oscillatorSample on local copies of the sub-voices and the tune LFO, which the
    // stores into the buffer cannot alias.
    const bool analytic = useBlep[k];
    const bool two = unisonCount >= 2;
    // A sine is the one shape whose output() is the sine at every frequency.
    const bool sine =
        analytic && blep[k][0].type == PolyBLEP::kSine && blep[k][1].type == PolyBLEP::kSine;
    const auto sineAt = [exactSine](double phase)
    { return exactSine ? std::sin(kTwoPi * phase) : sineOfTurns(phase); };
    PolyBLEP b0 = blep[k][0];
    PolyBLEP b1 = blep[k][1];
    TableOscillator t0 = table[k][0];
    TableOscillator t1 = table[k][1];
    Modulator tune = tuneLfo[k];
    if (sine && !exactSine)
    {
      // The increments of the run now (without a tune LFO they do not depend on each
      // other); the phases, sines and sums of every sine oscillator after the loop.
      SineRun& run = sineRuns[sineCount++];
      run.k = k;
      run.steady = toTune == 0.0;
      run.ratio = ratio;
      run.twin = -1;
      if (toTune == 0.0)
      {
        // The factor is 1 and reads no LFO; the tune LFO's phase still runs.
        const double m = tuneLfoFactor(tune, toTune);
        run.factor = m;
        // A steady run of the same ratio and factor whose sub-voices stand where this
        // one's stand is its twin: the same increments, phases and sines.
        for (int earlier = 0; earlier < sineCount - 1 && run.twin < 0; ++earlier)
        {
          const SineRun& o = sineRuns[earlier];
          const auto alike = [&](int v)
          {
            return Dsp::sameBits(blep[o.k][v].phase, blep[k][v].phase) &&
                   Dsp::sameBits(blep[o.k][v].increment, blep[k][v].increment);
          };
          if (o.steady && o.twin < 0 && Dsp::sameBits(o.ratio, ratio) &&
              Dsp::sameBits(o.factor, m) && alike(0) && (unisonCount < 2 || alike(1)))
            run.twin = earlier;
        }
        if (run.twin < 0)
          for (int j = 0; j < count; ++j)
          {
            const double f = ratio * m * pw[j];
            run.inc0s[j] = f * perSample;
            run.inc1s[j] = f * d * perSample;
          }
        later.add(tuneLfo[k], count);
      }
      else
      {
        for (int j = 0; j < count; ++j)
        {
          const double m = tuneLfoFactor(tune, toTune);
          const double f = ratio * m * pw[j];
          run.inc0s[j] = f * perSample;
          run.inc1s[j] = f * d * perSample;
          tune.advance();
        }
      }
      tuneLfo[k] = tune;
      continue;
    }
    for (int j = 0; j < count; ++j)
    {
      if (at[j] >= 0)
      {
        double sum = 0.0;
        if (analytic)
        {
          sum += (sine ? b0.amplitude * sineAt(b0.phase) : b0.output()) + b0.offset;
          b0.advance();
          if (two)
          {
            sum += (sine ? b1.amplitude * sineAt(b1.phase) : b1.output()) + b1.offset;
            b1.advance();
          }
        }
        else
        {
          sum += t0.read();
          t0.advance();
          if (two)
          {
            sum += t1.read();
            t1.advance();
          }
        }
        buffer[at[j]] = two ? sum / 2 : sum;
      }
      stepIncrements(b0, t0, b1, t1, tune, toTune, ratio, pw[j], d, perSample);
    }
    blep[k][0] = b0;
    blep[k][1] = b1;
    table[k][0] = t0;
    table[k][1] = t1;
    tuneLfo[k] = tune;
  }
  if (sineCount > 0)
    startSines(scratch, chains);
}

void Note::renderFrontAvx2(int count, const double* bend, PitchRun& memo, RunScratch& scratch,
                           PhaseChains& chains, ModulatorSteps& later)
{
  renderFrontBody(count, bend, memo, scratch, chains, later);
}

void Note::renderFront(int count, const double* bend, PitchRun& memo, RunScratch& scratch,
                       PhaseChains& chains, ModulatorSteps& later)
{
  if (Dsp::kHasAvx2)
    renderFrontAvx2(count, bend, memo, scratch, chains, later);
  else
    renderFrontBody(count, bend, memo, scratch, chains, later);
}

void Note::renderBack(RunScratch& run, const PhaseChains& chains) noexcept
{
  if (run.count <= 0)
    return;
  if (run.bassChained)
    bassPhase = run.chainAt[0] >= 0 ? chains[run.chainAt[0]].phase : run.chain[0].phase;
  if (run.sineCount > 0)
    finishSines(run, chains);
  for (int k = 0; k < kOscillators; ++k)
    sameBufferAs[k] = sameBufferAs[k] == kNothingRendered || sameBufferAs[k] == run.sameAs[k]
                          ? run.sameAs[k]
                          : -1;
}

// The phases of the sine oscillators' sub-voices through the run, their sines side by
// side in vector lanes, and the sums into the buffers. A sub-voice advances by the
// increment in force at its sample: the one set at the sample before.
void Note::startSines(RunScratch& scratch, PhaseChains& chains) noexcept
{
  SineRun* const runs = scratch.sines;
  const int sineCount = scratch.sineCount;
  const int count = scratch.count;
  const int* const at = scratch.at;
  const bool two = unisonCount >= 2;
  // Where the whole run lands in the buffer one sample after the other (the usual case),
  // the loops need not ask where each sample goes, and every sub-voice's chain of phases
  // advances side by side with the others (of this voice and of the voices beside it).
  scratch.straight = at[0] >= 0 && at[count - 1] == at[0] + count - 1;
  // An oscillator whose sub-voices start where an earlier one's start and take the same
  // increments through the run (bit for bit) has that one's phases and sines. Steady
  // runs of the same ratio and factor compute the same increments from the same pitch.
  const auto same = [this, count](const SineRun& a, const SineRun& b, int v)
  {
    const PolyBLEP& pa = blep[a.k][v];
    const PolyBLEP& pb = blep[b.k][v];
    const double* ia = v == 0 ? a.inc0s : a.inc1s;
    const double* ib = v == 0 ? b.inc0s : b.inc1s;
    const bool alike = a.steady && b.steady && Dsp::sameBits(a.ratio, b.ratio) &&
                       Dsp::sameBits(a.factor, b.factor);
    return Dsp::sameBits(pa.phase, pb.phase) && Dsp::sameBits(pa.increment, pb.increment) &&
           (alike || std::memcmp(ia, ib, sizeof(double) * std::size_t(count)) == 0);
  };
  int* const twin = scratch.twin;
  for (int i = 0; i < sineCount; ++i)
  {
    twin[i] = runs[i].twin;
    for (int e = 0; e < i && twin[i] < 0; ++e)
      if (twin[e] < 0 && same(runs[e], runs[i], 0) && (!two || same(runs[e], runs[i], 1)))
        twin[i] = e;
  }
  if (scratch.straight)
  {
    for (int i = 0; i < sineCount; ++i)
    {
      if (twin[i] >= 0)
        continue;
      SineRun& run = runs[i];
      const PolyBLEP& b0 = blep[run.k][0];
      const PolyBLEP& b1 = blep[run.k][1];
      const auto chain = [&](int c, const PhaseChain& from)
      {
        scratch.chain[c] = from;
        scratch.chainAt[c] = chains.add(from);
        if (scratch.chainAt[c] < 0)
          PhaseChains::advanceOne(scratch.chain[c], count);
      };
      chain(1 + 2 * i, {b0.phase, b0.increment, run.inc0s, run.phase0});
      if (two)
        chain(2 + 2 * i, {b1.phase, b1.increment, run.inc1s, run.phase1});
    }
    return;
  }
  for (int i = 0; i < sineCount; ++i)
  {
    if (twin[i] >= 0)
      continue;
    SineRun& run = runs[i];
    double ph0 = blep[run.k][0].phase, ph1 = blep[run.k][1].phase;
    double step0 = blep[run.k][0].increment, step1 = blep[run.k][1].increment;
    for (int j = 0, r = 0; j < count; ++j)
    {
      if (at[j] >= 0)
      {
        run.phase0[r++] = ph0;
        ph0 = PolyBLEP::frac(ph0 + step0);
      }
      step0 = run.inc0s[j];
    }
    if (two)
      for (int j = 0, r = 0; j < count; ++j)
      {
        if (at[j] >= 0)
        {
          run.phase1[r++] = ph1;
          ph1 = PolyBLEP::frac(ph1 + step1);
        }
        step1 = run.inc1s[j];
      }
    run.end0 = ph0;
    run.end1 = ph1;
  }
}

void Note::finishSinesBody(RunScratch& scratch, const PhaseChains& chains) noexcept
{
  SineRun* const runs = scratch.sines;
  const int sineCount = scratch.sineCount;
  const int count = scratch.count;
  const int* const at = scratch.at;
  const int* const twin = scratch.twin;
  const bool two = unisonCount >= 2;
  int where[kRunLength];
  int q = 0;
  if (scratch.straight)
  {
    const auto endOf = [&](int c)
    { return scratch.chainAt[c] >= 0 ? chains[scratch.chainAt[c]].phase : scratch.chain[c].phase; };
    for (int i = 0; i < sineCount; ++i)
    {
      if (twin[i] >= 0)
        continue;
      runs[i].end0 = endOf(1 + 2 * i);
      runs[i].end1 = two ? endOf(2 + 2 * i) : blep[runs[i].k][1].phase;
    }
    q = count;
  }
  else
    for (int j = 0; j < count; ++j)
      if (at[j] >= 0)
        where[q++] = at[j];
  for (int i = 0; i < sineCount; ++i)
  {
    SineRun& run = runs[i];
    SineRun& source = twin[i] >= 0 ? runs[twin[i]] : run;
    const int k = run.k;
    PolyBLEP& b0 = blep[k][0];
    PolyBLEP& b1 = blep[k][1];
    b0.phase = source.end0;
    b1.phase = source.end1;
    b0.increment = table[k][0].increment = source.inc0s[count - 1];
    b1.increment = table[k][1].increment = source.inc1s[count - 1];
    if (twin[i] < 0)
    {
      sinesOfTurns(run.phase0, run.sine0, q);
      if (two)
        sinesOfTurns(run.phase1, run.sine1, q);
    }
    const double* const sine0 = source.sine0;
    const double* const sine1 = source.sine1;
    double* const buffer = oscBuffer[k].get();
    const double a0 = b0.amplitude, o0 = b0.offset, a1 = b1.amplitude, o1 = b1.offset;
    if (twin[i] >= 0)
    {
      // The same sines with the same amplitudes and offsets: the same sums.
      const PolyBLEP& s0 = blep[source.k][0];
      const PolyBLEP& s1 = blep[source.k][1];
      if (Dsp::sameBits(a0, s0.amplitude) && Dsp::sameBits(o0, s0.offset) &&
          (!two || (Dsp::sameBits(a1, s1.amplitude) && Dsp::sameBits(o1, s1.offset))))
        scratch.sameAs[k] = source.k;
    }
    if (scratch.straight)
    {
      // The sums below, sub-voice by sub-voice in the same order.
      double* const to = buffer + at[0];
      if (two)
        for (int r = 0; r < q; ++r)
          to[r] = (0.0 + (a0 * sine0[r] + o0) + (a1 * sine1[r] + o1)) / 2;
      else
        for (int r = 0; r < q; ++r)
          to[r] = 0.0 + (a0 * sine0[r] + o0);
    }
    else
      for (int r = 0; r < q; ++r)
      {
        double sum = 0.0;
        sum += a0 * sine0[r] + o0;
        if (two)
          sum += a1 * sine1[r] + o1;
        buffer[where[r]] = two ? sum / 2 : sum;
      }
  }
}

void Note::finishSinesAvx2(RunScratch& scratch, const PhaseChains& chains) noexcept
{
  finishSinesBody(scratch, chains);
}

void Note::finishSines(RunScratch& scratch, const PhaseChains& chains) noexcept
{
  if (Dsp::kHasAvx2)
    finishSinesAvx2(scratch, chains);
  else
    finishSinesBody(scratch, chains);
}

int Note::mixBegin(const VoiceMixTargets& out, int n)
{
  bufferIndex = 0;
  startOffset = std::min(startOffset, 0);
  if (!bound)
  {
    // Silent, but its envelopes run out so that the voice becomes free again.
    for (int j = 0; j < n; ++j)
    {
      volumeEnvelope.tick();
      filterEnvelope.tick();
    }
    return 0;
  }
  if (n > bufferLength)
    n = bufferLength;
  const SynthParams& p = *binding.params;
  // The parameters hold still for the block: read once, into members that the writes to
  // the targets cannot alias.
  mixTargets = out;
  const bool display = out.lfoDisplay != nullptr;
  for (int k = 0; k < kOscillators; ++k)
  {
    MixOsc& c = mixOsc[k];
    c.on = p[slot(k, S::kOscOn)] > 0.5 && p[slot(k, S::kOscVolume)] > 0.0;
    c.mode = static_cast<int>(std::floor(p[slot(k, S::kOscLfoMode)] * 4.0 + 0.5));
    c.volume = p[slot(k, S::kOscVolume)];
    c.saturation = p[slot(k, S::kOscSaturation)];
    c.pan = p[slot(k, S::kOscPan)];
    c.lfoToPan = p[slot(k, S::kOscLfoToPan)];
    c.lfoToVolume = p[slot(k, S::kOscLfoToVolume)];
    c.lfoToFilter = p[slot(k, S::kOscLfoToFilter)];
    c.cutoff = p[slot(k, S::kOscCutoff)];
    c.resonance = p[slot(k, S::kOscResonance)];
    c.faded = p[slot(k, S::kOscStartPhase)] != 0.5;
    c.buffer = oscBuffer[k].get();
    // The LFO's sine is needed for the display and wherever it moves something. A zero
    // amount adds a signed zero, which leaves every value but a zero (or an infinite or
    // undefined one) exactly as it was; for those the sine is computed after all.
    // An LFO whose value could be undefined is always computed too.
    const Modulator& m = lfo[k];
    c.lfoNeeded = display || c.lfoToVolume != 0.0 || c.lfoToFilter != 0.0 || c.lfoToPan != 0.0 ||
                  !(c.pan != 0.0 && std::isfinite(c.pan)) ||
                  !(std::isfinite(m.phase) && std::isfinite(m.increment) && std::isfinite(m.depth));
    if (c.on && n > 0)
      oscFilter[k].balanceTarget = p[slot(k, S::kOscFilterBalance)];
  }
  mixVolumeScale = velocity * p[S::kVolumeEnvVelocity] * p[S::kVolumeEnvAmount];
  mixFilterScale = velocity * p[S::kFilterEnvVelocity] * p[S::kFilterEnvAmount];
  return n;
}

// The envelopes first, then each oscillator through the stretch (its smoothers and LFO
// stay in registers) up to its filter's input.
void Note::mixFrontBody(int j0, int m, MixStretch& s, ModulatorSteps& later)
{
  // The start fade's values while it lasts, then 1.0 (a local index, which the stores
  // cannot alias).
  std::uint32_t fade = fadeIndex;
  int fading = 0;
  for (; fading < m && fade < kStartFadeLength; ++fading)
    s.fade[fading] = startFade[fade++];
  std::fill(s.fade + fading, s.fade + m, 1.0);
  fadeIndex = fade;
  // An envelope that holds still (idle, or settled on its sustain level) gives the same
  // output at every sample; the two envelopes tick apart from each other.
  // Returns whether it held.
  const auto envelopeRun = [m](AdsrEnvelope& envelope, double scale, double* to)
  {
    if (envelope.isHeld())
    {
      std::fill_n(to, m, scale * envelope.output);
      return true;
    }
    for (int j = 0; j < m; ++j)
    {
      to[j] = scale * envelope.output;
      envelope.tick();
    }
    return false;
  };
  envelopeRun(volumeEnvelope, mixVolumeScale, s.vgs);
  const bool filterHeld = envelopeRun(filterEnvelope, mixFilterScale, s.fes);
  const bool cutsFromPlainEnvelope = SampleChecks::allFiniteUnsigned(s.fes, m);
  // Whether each held oscillator's tests took a finite LFO.
  bool heldFinite[kOscillators] = {};
  for (int k = 0; k < kOscillators; ++k)
  {
    const MixOsc& c = mixOsc[k];
    Modulator& lfoK = lfo[k];
    if (!c.on)
    {
      std::fill_n(s.shown[k], m, 0.0);
      later.add(lfoK, m);
      continue;
    }
    const auto shape = [&c](double v)
    {
      switch (c.mode)
      {
      case 1:
        return std::max(v, 0.0);
      case 2:
        return std::min(v, 0.0);
      case 3:
        return std::abs(v);
      case 4:
        return -v;
      default:
        return v;
      }
    };
    Smoother volS = volumeSmoother[k];
    Smoother satS = saturationSmoother[k];
    Smoother panS = panSmoother[k];
    // A smoother settled on its target returns its state at every sample of the stretch
    // (the pan's target holds while the LFO does not move it).
    const bool volumeHeld = volS.holdsAt(c.volume);
    const bool saturationHeld = satS.holdsAt(c.saturation);
    const bool panHeld = !c.lfoNeeded && panS.holdsAt(c.pan);
    // When the LFO moves nothing, x + x a 0 is x for any finite a unless x is -0 or not
    // finite (a +0 stays +0 whatever the sign of the product), and likewise the cutoff:
    // only those values need the LFO's sine. Its value is finite while its phase cannot
    // overflow within the stretch (its depth is finite, or the sine would be needed).
    const bool lfoFinite = std::abs(lfoK.phase) < 1e300 && std::abs(lfoK.increment) < 1e300;
    // The values that need the sine: -0 (without the bound, a zero of either sign), and
    // every value that is not finite.
    const auto needsLfo = [lfoFinite](double v)
    { return SampleChecks::zeroOrUndefined(v, lfoFinite); };
    const double* const buffer = c.buffer + j0;
    s.held[k] = false;
    s.in[k] = s.xs[k];
    s.cut[k] = s.cuts[k];
    if (!c.lfoNeeded && volumeHeld && saturationHeld && panHeld && !(satS.state > 0.0))
    {
      // Everything held and nothing for the LFO to do: the filter's inputs and cutoffs in
      // passes the compiler can vectorise, then the LFO's phase. A value that needs the
      // sine sends the stretch the general way below instead.
      // A cutoff of 0 .. 1 times envelope values that are finite and carry no sign is
      // finite and carries none: with a finite LFO only the buffer's values can need the
      // sine then.
      // An earlier oscillator held here whose buffer holds the same values passed the
      // buffer's test already; with the same cutoff it passed the cutoffs' too, and its
      // filter's inputs and cutoffs are this one's.
      const int e = sameBufferAs[k];
      const bool twinHeld =
          e >= 0 && e < k && mixOsc[e].on && s.held[e] && heldFinite[e] == lfoFinite;
      if (twinHeld && Dsp::sameBits(c.cutoff, mixOsc[e].cutoff))
      {
        s.held[k] = true;
        s.in[k] = s.in[e];
        s.cut[k] = s.cut[e];
        s.heldVolume[k] = volS.state;
        s.heldPan[k] = panS.state;
        heldFinite[k] = lfoFinite;
        later.add(lfoK, m);
        continue;
      }
      const bool cutsPlain =
          lfoFinite && cutsFromPlainEnvelope && !std::signbit(c.cutoff) && c.cutoff <= 1.0;
      if (!cutsPlain)
        for (int j = 0; j < m; ++j)
          s.cuts[k][j] = c.cutoff * s.fes[j];
      if ((twinHeld || !SampleChecks::anyZeroOrUndefined(buffer, m, lfoFinite)) &&
          (cutsPlain || !SampleChecks::anyZeroOrUndefined(s.cuts[k], m, lfoFinite)))
      {
        // std::clamp(cut, 0.0, 1.0), written without a branch; one value for all when
        // the filter envelope holds.
        const auto clamped = [&c](double fe)
        {
          const double cut = c.cutoff * fe;
          const double low = cut < 0.0 ? 0.0 : cut;
          return 1.0 < low ? 1.0 : low;
        };
        if (filterHeld)
          std::fill_n(s.cuts[k], m, clamped(s.fes[0]));
        else
          for (int j = 0; j < m; ++j)
            s.cuts[k][j] = clamped(s.fes[j]);
        s.held[k] = true;
        s.in[k] = twinHeld ? s.in[e] : buffer;
        heldFinite[k] = lfoFinite;
        s.heldVolume[k] = volS.state;
        s.heldPan[k] = panS.state;
        later.add(lfoK, m);
        continue;
      }
    }
    for (int j = 0; j < m; ++j)
    {
      bool have = c.lfoNeeded;
      double a = have ? lfoK.value() : 0.0;
      const double vol = volumeHeld ? volS.state : volS.next(c.volume);
      const double sat = saturationHeld ? satS.state : satS.next(c.saturation);
      s.pans[k][j] = panHeld ? panS.state
                     : have  ? panS.next(c.pan + 0.5 * a * c.lfoToPan)
                             : panS.next(c.pan);
      if (have)
        a = shape(a);
      s.shown[k][j] = a;
      const double g = c.faded ? s.fade[j] : 1.0;
      double x = buffer[j];
      if (sat > 0.0)
        x = saturate(x, sat);
      if (!have && needsLfo(x))
      {
        a = shape(lfoK.value());
        have = true;
      }
      if (have)
        x = x + x * a * c.lfoToVolume;
      double cut = c.cutoff * s.fes[j];
      if (!have && needsLfo(cut))
      {
        a = shape(lfoK.value());
        have = true;
      }
      if (have)
        cut = cut + cut * a * c.lfoToFilter;
      s.xs[k][j] = x;
      s.cuts[k][j] = std::clamp(cut, 0.0, 1.0);
      s.fades[k][j] = g;
      s.vols[k][j] = vol;
      lfoK.advance();
    }
    volumeSmoother[k] = volS;
    saturationSmoother[k] = satS;
    panSmoother[k] = panS;
  }
}

void Note::mixFrontAvx2(int j0, int m, MixStretch& s, ModulatorSteps& later)
{
  mixFrontBody(j0, m, s, later);
}

void Note::mixFront(int j0, int m, MixStretch& s, ModulatorSteps& later)
{
  if (Dsp::kHasAvx2)
    mixFrontAvx2(j0, m, s, later);
  else
    mixFrontBody(j0, m, s, later);
}

int Note::addFilters(MixStretch& s, OscFilterUnit** units, const double** in, const double** cutoff,
                     double* resonance, double** out)
{
  int sounding = 0;
  for (int k = 0; k < kOscillators; ++k)
  {
    if (!mixOsc[k].on)
      continue;
    units[sounding] = &oscFilter[k];
    in[sounding] = s.in[k];
    cutoff[sounding] = s.cut[k];
    resonance[sounding] = mixOsc[k].resonance;
    out[sounding] = s.xs[k];
    ++sounding;
  }
  return sounding;
}

// Each oscillator's filtered stretch, faded and at its volume, into the stretch's stereo
// sums in the order of the oscillators, then the outputs.
void Note::mixBackBody(int j0, int m, const MixStretch& s)
{
  if (m <= 0)
    return;
  const VoiceMixTargets& out = mixTargets;
  double sumLeft[kRunLength], sumRight[kRunLength];
  std::fill_n(sumLeft, m, 0.0);
  std::fill_n(sumRight, m, 0.0);
  for (int k = 0; k < kOscillators; ++k)
  {
    if (!mixOsc[k].on)
      continue;
    double ys[kRunLength];
    if (s.held[k])
    {
      // The same products and pan law with the held values (x * 1.0 is x).
      const double vol = s.heldVolume[k];
      const double pan = s.heldPan[k];
      double* const y = mixOsc[k].buffer + j0;
      if (mixOsc[k].faded)
        for (int j = 0; j < m; ++j)
          y[j] = s.xs[k][j] * s.fade[j] * vol;
      else
        for (int j = 0; j < m; ++j)
          y[j] = s.xs[k][j] * vol;
      if (pan < 0.5)
      {
        const double toRight = 2.0 * pan;
        for (int j = 0; j < m; ++j)
        {
          sumRight[j] += toRight * y[j];
          sumLeft[j] += y[j];
        }
      }
      else
      {
        const double toLeft = 1.0 - 2.0 * (pan - 0.5);
        for (int j = 0; j < m; ++j)
        {
          sumRight[j] += y[j];
          sumLeft[j] += toLeft * y[j];
        }
      }
      continue;
    }
    for (int j = 0; j < m; ++j)
    {
      const double y = s.xs[k][j] * s.fades[k][j] * s.vols[k][j];
      const double pan = s.pans[k][j];
      ys[j] = y;
      // Both sides of the pan law, chosen without a branch.
      const bool leftHalf = pan < 0.5;
      sumRight[j] += leftHalf ? 2.0 * pan * y : y;
      sumLeft[j] += leftHalf ? y : (1.0 - 2.0 * (pan - 0.5)) * y;
    }
    std::copy_n(ys, m, mixOsc[k].buffer + j0);
  }
  // The voice's samples first, then each target in turn: every target sample still
  // receives the same sums in the same order.
  // Layers that hold +0.0 throughout the stretch are read from silence that stays in the
  // cache (the same values).
  static const double kSilence[kRunLength] = {};
  const bool silentLayers = !(layersDirtyFrom < j0 + m && j0 < layersDirtyTo);
  const double* const bass = silentLayers ? kSilence : bassBuffer.get() + j0;
  const double* const click = silentLayers ? kSilence : clickBuffer.get() + j0;
  addIntoTargets(out.left + j0, out.right + j0, out.bassBus + j0, sumLeft, sumRight, s.vgs, click,
                 bass, velocity, m);
  const auto addInto = [m](double* target, const double* values)
  {
    for (int j = 0; j < m; ++j)
      target[j] += values[j];
  };
  if (out.lfoDisplay != nullptr)
    for (int j = 0; j < m; ++j)
    {
      double* rec =
          out.lfoDisplay + static_cast<std::size_t>(j0 + j) * VoiceMixTargets::kLfoRecordStride;
      rec[0] = s.shown[0][j];
      rec[1] = s.shown[1][j];
      rec[2] = s.shown[2][j];
    }
  if (out.envBus != nullptr)
    addInto(out.envBus + j0, s.vgs);
  if (out.filterEnvBus != nullptr)
    addInto(out.filterEnvBus + j0, s.fes);
  // What the voice shows of its last sample.
  const int last = m - 1;
  const double g = s.vgs[last] * velocity;
  voiceGain = s.vgs[last];
  mixLeft = sumLeft[last] * g;
  mixRight = sumRight[last] * g;
  bassOut = g * bass[last];
  clickOut = g * click[last];
}

void Note::mixBackAvx2(int j0, int m, const MixStretch& s) { mixBackBody(j0, m, s); }

void Note::mixBack(int j0, int m, const MixStretch& s)
{
  if (Dsp::kHasAvx2)
    mixBackAvx2(j0, m, s);
  else
    mixBackBody(j0, m, s);
}

void Note::mixEnd() noexcept
{
  bufferIndex = 0;
  std::fill_n(sameBufferAs, kOscillators, kNothingRendered);
}

} // namespace Korvane
