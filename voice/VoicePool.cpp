#include "voice/VoicePool.h"

#include "voice/PitchEnvelope.h"
#include "voice/SynthParams.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>

namespace Korvane
{

VoicePool::VoicePool()
  : voices(std::make_unique<Note[]>(kVoiceCount)),
    stretches(std::make_unique<Note::MixStretch[]>(kMixBatch)),
    runScratch(std::make_unique<Note::RunScratch[]>(kRenderBatch))
{
  clearPendingBends();
}

void VoicePool::bind(const VoiceBinding& b)
{
  binding = b;
  bound = b.complete();
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].bind(b);
  if (binding.bendRatio != nullptr)
    *binding.bendRatio = bendRatio;
}

void VoicePool::reset(double sampleRate, int blockSize)
{
  setSampleRate(sampleRate);
  clearPendingBends();
  ensureBufferLength(blockSize);
}

void VoicePool::setSampleRate(double rate)
{
  renderWaiting();
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].setSampleRate(rate);
}

void VoicePool::clearPendingBends() noexcept
{
  for (auto& p : pendingBends)
  {
    p.free = true;
    p.countdown = 0;
  }
}

void VoicePool::ensureBufferLength(int blockSize)
{
  renderWaiting();
  if (blockSize > waitingCapacity)
  {
    waitingBend = std::make_unique<double[]>(std::size_t(blockSize));
    waitingCapacity = blockSize;
  }
  for (int i = 0; i < kVoiceCount; ++i)
    if (blockSize > voices[i].bufferLength)
      voices[i].allocateBuffers(blockSize);
}

int VoicePool::noteOn(int note, int velocity, int offset)
{
  renderWaiting();
  for (int i = 0; i < kVoiceCount; ++i)
  {
    Note& v = voices[i];
    if (v.isActive())
      continue;
    v.setNote(note);
    v.start(velocity);
    v.startOffset = offset;
    activeMask |= std::uint64_t(1) << i;
    if (bound && binding.noteStarted != nullptr)
    {
      char name[16];
      if (!noteName(note, name, sizeof name))
        name[0] = '\0';
      binding.noteStarted(binding.owner, v.noteFrequency, name);
    }
    return i;
  }
  return -1;
}

void VoicePool::noteOff(int note) noexcept
{
  renderWaiting();
  for (int i = 0; i < kVoiceCount; ++i)
  {
    Note& v = voices[i];
    if (v.noteNumber == note && v.isActive())
      v.release();
  }
}

bool VoicePool::queuePitchBend(int offset, double value) noexcept
{
  renderWaiting();
  for (auto& p : pendingBends)
  {
    if (!p.free)
      continue;
    p.free = false;
    p.countdown = offset;
    p.kind = kPitchBendKind;
    p.value = value;
    return true;
  }
  return false;
}

void VoicePool::stepPendingBends()
{
  for (auto& p : pendingBends)
  {
    if (p.free)
      continue;
    if (p.countdown > 0)
    {
      --p.countdown;
    }
    else
    {
      p.free = true;
      if (bound && p.kind == kPitchBendKind)
        bendTarget =
            std::pow(std::pow(2.0, 1.0 / 12.0), binding.pitchEnvelope->getBendRange() * p.value);
    }
  }
}

void VoicePool::renderSample()
{
  renderWaiting();
  stepPendingBends();
  Note::PitchMemo memo;
  for (std::uint64_t m = activeMask; m != 0; m &= m - 1)
    voices[std::countr_zero(m)].renderOscillators(&memo);
  bendRatio = bendTarget * bendGain + bendRatio * bendPole;
  if (binding.bendRatio != nullptr)
    *binding.bendRatio = bendRatio;
}

void VoicePool::renderSamples(int count, bool mixNext)
{
  renderWaiting();
  bool noise = binding.bendRatio == nullptr;
  for (std::uint64_t m = activeMask; m != 0 && !noise; m &= m - 1)
    noise = voices[std::countr_zero(m)].drawsNoise();
  const bool wait = mixNext && !noise && count <= waitingCapacity;
  while (count > 0)
  {
    const int run = std::min(count, Note::kRunLength);
    count -= run;
    if (noise)
    {
      // The voices draw noise in turn sample by sample.
      for (int j = 0; j < run; ++j)
        renderSample();
      continue;
    }
    // The bend ratio every voice reads at each sample of the run.
    bool pending = false;
    for (const auto& p : pendingBends)
      pending = pending || !p.free;
    double runBend[Note::kRunLength];
    double* const bend = wait ? waitingBend.get() + waitingCount : runBend;
    // A settled bend (its smoothing step gives it back bit for bit) holds through the run.
    const double next = bendTarget * bendGain + bendRatio * bendPole;
    if (!pending && std::bit_cast<std::uint64_t>(next) == std::bit_cast<std::uint64_t>(bendRatio) &&
        std::bit_cast<std::uint64_t>(*binding.bendRatio) == std::bit_cast<std::uint64_t>(bendRatio))
      std::fill_n(bend, run, bendRatio);
    else
      for (int j = 0; j < run; ++j)
      {
        if (pending)
          stepPendingBends();
        bend[j] = *binding.bendRatio;
        bendRatio = bendTarget * bendGain + bendRatio * bendPole;
        *binding.bendRatio = bendRatio;
      }
    if (wait)
    {
      waitingCount += run;
      waitingMask = activeMask;
      continue;
    }
    // The voices in batches: each batch's runs up to their phase chains, the chains of
    // the whole batch side by side, then the rest of each run.
    Note::PitchRun memo;
    for (std::uint64_t m = activeMask; m != 0;)
    {
      int batch[kRenderBatch];
      int size = 0;
      for (; m != 0 && size < kRenderBatch; m &= m - 1)
        batch[size++] = std::countr_zero(m);
      renderBatch(batch, size, run, bend, memo);
    }
  }
}

void VoicePool::renderBatch(const int* batch, int size, int count, const double* bend,
                            Note::PitchRun& memo)
{
  chains.clear();
  for (int b = 0; b < size; ++b)
    voices[batch[b]].renderFront(count, bend, memo, runScratch[b], chains, later);
  chains.advance(count);
  later.advance(count);
  for (int b = 0; b < size; ++b)
    voices[batch[b]].renderBack(runScratch[b], chains);
}

void VoicePool::renderWaiting(const int* batch, int size)
{
  Note::PitchRun memo;
  for (int j0 = 0; j0 < waitingCount; j0 += Note::kRunLength)
    renderBatch(batch, size, std::min(Note::kRunLength, waitingCount - j0), waitingBend.get() + j0,
                memo);
}

void VoicePool::renderWaiting()
{
  if (waitingCount == 0)
    return;
  for (std::uint64_t m = waitingMask; m != 0;)
  {
    int batch[kRenderBatch];
    int size = 0;
    for (; m != 0 && size < kRenderBatch; m &= m - 1)
      batch[size++] = std::countr_zero(m);
    renderWaiting(batch, size);
  }
  waitingCount = 0;
}

void VoicePool::mixBlock(const VoiceMixTargets& out, int n)
{
  if (n <= 0 || out.left == nullptr || out.right == nullptr || out.bassBus == nullptr)
  {
    renderWaiting();
    return;
  }
  updateActiveMask();
  // The samples waiting render group by group below, for the voices that render them.
  if (waitingCount > 0 && waitingMask != activeMask)
    renderWaiting();
  // Every voice writes the whole LFO display, so only the last one's records remain;
  // the others need not write it (nor compute LFOs for it) when that one is bound and
  // mixes at least as many samples.
  VoiceMixTargets hidden = out;
  hidden.lfoDisplay = nullptr;
  const int last = activeMask != 0 ? 63 - std::countl_zero(activeMask) : -1;
  const bool lastShows = last >= 0 && voices[last].isBound();
  // The active voices in groups, in their order: a sample's targets still receive the
  // voices one after another.
  for (std::uint64_t m = activeMask; m != 0;)
  {
    int group[kMixBatch];
    int size = 0;
    for (; m != 0 && size < kMixBatch; m &= m - 1)
      group[size++] = std::countr_zero(m);
    if (waitingCount > 0)
      renderWaiting(group, size);
    mixGroup(group, size, out, hidden, last, lastShows, n);
  }
  waitingCount = 0;
  for (std::uint64_t m = activeMask; m != 0; m &= m - 1)
    voices[std::countr_zero(m)].mixEnd();
  updateActiveMask();
}

void VoicePool::mixGroup(const int* group, int size, const VoiceMixTargets& out,
                         const VoiceMixTargets& hidden, int last, bool lastShows, int n)
{
  // Each voice reads its settings for the block; those with samples to mix take part in
  // the stretches, in the order of the voices.
  int order[kMixBatch];
  int lengths[kMixBatch];
  int mixing = 0;
  int longest = 0;
  for (int g = 0; g < size; ++g)
  {
    const int i = group[g];
    const bool covered =
        i != last && lastShows && voices[last].bufferLength >= voices[i].bufferLength;
    const int length = voices[i].mixBegin(covered ? hidden : out, n);
    if (length <= 0)
      continue;
    order[mixing] = i;
    lengths[mixing] = length;
    ++mixing;
    longest = std::max(longest, length);
  }
  // Stretch by stretch, the voices in batches of the same stretch length.
  for (int j0 = 0; j0 < longest; j0 += Note::kRunLength)
  {
    int k = 0;
    while (k < mixing)
    {
      if (lengths[k] <= j0)
      {
        ++k;
        continue;
      }
      const int m = std::min(Note::kRunLength, lengths[k] - j0);
      int batch[kMixBatch];
      int count = 0;
      while (k < mixing && count < kMixBatch)
      {
        if (lengths[k] <= j0)
        {
          ++k;
          continue;
        }
        if (std::min(Note::kRunLength, lengths[k] - j0) != m)
          break;
        batch[count++] = order[k++];
      }
      mixStretch(batch, count, j0, m);
    }
  }
}

void VoicePool::mixStretch(const int* batch, int count, int j0, int m)
{
  constexpr int kUnits = kMixBatch * Note::kOscillators;
  OscFilterUnit* units[kUnits] = {};
  const double* filterIn[kUnits] = {};
  const double* filterCut[kUnits] = {};
  double resonances[kUnits] = {};
  double* filterOut[kUnits] = {};
  int sounding = 0;
  for (int b = 0; b < count; ++b)
  {
    Note& v = voices[batch[b]];
    v.mixFront(j0, m, stretches[b], later);
    sounding += v.addFilters(stretches[b], units + sounding, filterIn + sounding,
                             filterCut + sounding, resonances + sounding, filterOut + sounding);
  }
  // The LFOs that only move on, and the oscillator filters of the whole batch side by
  // side.
  later.advance(m);
  OscFilterUnit::processTogether(units, filterIn, filterCut, resonances, filterOut, sounding, m);
  for (int b = 0; b < count; ++b)
    voices[batch[b]].mixBack(j0, m, stretches[b]);
}

void VoicePool::updateActiveMask() noexcept
{
  std::uint64_t m = 0;
  for (int i = 0; i < kVoiceCount; ++i)
    if (voices[i].isActive())
      m |= std::uint64_t(1) << i;
  activeMask = m;
}

void VoicePool::setLfoFrequency(int k, double v) noexcept
{
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].setLfoFrequency(k, v);
}

void VoicePool::setEnvelopeAttack(EnvelopeId e, double v)
{
  for (int i = 0; i < kVoiceCount; ++i)
    envelope(voices[i], e).setAttack(v);
}

void VoicePool::setEnvelopeDecay(EnvelopeId e, double v)
{
  for (int i = 0; i < kVoiceCount; ++i)
    envelope(voices[i], e).setDecay(v);
}

void VoicePool::setEnvelopeSustain(EnvelopeId e, double v)
{
  for (int i = 0; i < kVoiceCount; ++i)
    envelope(voices[i], e).setSustain(v);
}

void VoicePool::setEnvelopeRelease(EnvelopeId e, double v)
{
  for (int i = 0; i < kVoiceCount; ++i)
    envelope(voices[i], e).setRelease(v);
}

void VoicePool::setEnvelopeDuration(EnvelopeId e, double v)
{
  for (int i = 0; i < kVoiceCount; ++i)
    envelope(voices[i], e).setDuration(v);
}

void VoicePool::setEnvelopeShape(double v)
{
  for (int i = 0; i < kVoiceCount; ++i)
  {
    voices[i].volumeEnvelope.setShape(v);
    voices[i].filterEnvelope.setDuration(v);
  }
}

void VoicePool::setUnisonDetune(double v) noexcept
{
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].detune = v;
}

void VoicePool::selectWaveform(int k, double x)
{
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].selectWaveform(k, x);
}

void VoicePool::applyGlobalTranspose() noexcept
{
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].retune();
}

void VoicePool::setPitchRatio(int k, double ratio) noexcept
{
  if (k < 0 || k >= Note::kOscillators)
    return;
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].pitchRatio[k] = ratio;
}

void VoicePool::setTuneRatio(int k, double ratio) noexcept
{
  if (k < 0 || k >= Note::kOscillators)
    return;
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].tuneRatio[k] = ratio;
}

void VoicePool::setUnisonCount(std::uint16_t count) noexcept
{
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].unisonCount = count;
}

void VoicePool::setFmAmount(double v) noexcept
{
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].fm.depth = v;
}

void VoicePool::setFilterLeftType(int k, double x)
{
  if (k < 0 || k >= Note::kOscillators)
    return;
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].oscFilter[k].setLeftType(x);
}

void VoicePool::setFilterRightType(int k, double x)
{
  if (k < 0 || k >= Note::kOscillators)
    return;
  for (int i = 0; i < kVoiceCount; ++i)
    voices[i].oscFilter[k].setRightType(x);
}

double VoicePool::pitchRatioOf(double v) noexcept { return std::pow(2.0, 2.0 * v - 1.0); }

double VoicePool::tuneRatioOf(double v) noexcept
{
  if (v >= 0.5)
    return 1.0 + 2.0 * Note::kSemitone * (v - 0.5);
  return 1.0 / (1.0 + Note::kSemitone * (1.0 - 2.0 * v));
}

std::uint16_t VoicePool::unisonCountOf(double v) noexcept
{
  return std::floor(v + 0.5) >= 1.0 ? 2 : 1;
}

int VoicePool::activeCount() const noexcept
{
  int n = 0;
  for (int i = 0; i < kVoiceCount; ++i)
    n += voices[i].isActive() ? 1 : 0;
  return n;
}

bool VoicePool::noteName(int note, char* out, std::size_t size) noexcept
{
  static const char* const kFormats[12] = {"C%d",  "C#%d", "D%d",  "D#%d", "E%d",  "F%d",
                                           "F#%d", "G%d",  "G#%d", "A%d",  "A#%d", "B%d"};
  if (out != nullptr && size > 0)
    out[0] = '\0';
  // A negative number would index before the pitch-class names.
  if (note > 127 || note < 0 || out == nullptr || size == 0)
    return false;
  std::snprintf(out, size, kFormats[note % 12], note / 12);
  return true;
}

std::string VoicePool::transposeModeName(int mode)
{
  const char* format = nullptr;
  double f = 0.0;
  switch (mode)
  {
  case 1:
    return "Octave Down";
  case 2:
    return "Octave Up";
  case 3:
    format = "Low Kick %3.1fHz";
    f = 39.2;
    break;
  case 4:
    format = "Mid Kick %3.1fHz";
    f = 44.0;
    break;
  case 5:
    format = "Electronic Kick %3.1fHz";
    f = 50.0;
    break;
  case 6:
    format = "High Kick %3.1fHz";
    f = 56.0;
    break;
  case 7:
    format = "Drum Body %3.1fHz";
    f = 64.84;
    break;
  case 8:
    return "Arp. Dur 1/16";
  case 9:
    return "Arp. Moll 1/16";
  default:
    return "Standard MIDI";
  }
  char text[64];
  std::snprintf(text, sizeof text, format, f);
  return text;
}

} // namespace Korvane
