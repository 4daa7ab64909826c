// What a listener hears from one voice: pitch by note transpose mode, tune, pitch, unison,
// FM, global transpose and sample rate, measured from rendered samples; the start fade,
// pan law, velocity, LFO modes and the arpeggio.
#include "VoiceTestRig.h"

#include "voice/Fft.h"

#include <gtest/gtest.h>

#include <bit>
#include <complex>
#include <cstdint>
#include <functional>
#include <limits>

using namespace VoiceTest;
using Korvane::Note;
using Korvane::VoicePool;
using S = Korvane::SynthParams;

namespace
{

constexpr double kRate = 44100.0;

double noteModeValue(int mode) { return mode / 9.0; }

// Frequency of the note played on oscillator 1 (a sine), from the left output.
double playedFrequency(Rig& rig, int note, int samples = 44100)
{
  rig.pool->noteOn(note, 127, 0);
  const auto out = rig.render(samples);
  return zeroCrossingFrequency(out, kRate, 2048);
}

// The two strongest spectral peaks between lo and hi Hz (Hann window, parabolic
// interpolation), lower one first.
std::pair<double, double> twoPeaks(const std::vector<double>& x, double lo, double hi)
{
  const int n = 65536;
  Korvane::Fft fft(n);
  std::vector<double> w(n);
  for (int i = 0; i < n; ++i)
    w[i] = x[std::size_t(i)] * (0.5 - 0.5 * std::cos(2.0 * 3.141592653589793 * i / n));
  std::vector<std::complex<double>> spectrum(n / 2 + 1);
  fft.forwardReal(w.data(), spectrum.data());
  std::vector<double> mag(spectrum.size());
  for (std::size_t i = 0; i < spectrum.size(); ++i)
    mag[i] = std::abs(spectrum[i]);
  const double bin = kRate / n;
  std::vector<std::pair<double, double>> peaks; // (magnitude, frequency)
  for (int i = int(lo / bin); i < int(hi / bin); ++i)
  {
    if (mag[i] > mag[i - 1] && mag[i] >= mag[i + 1])
    {
      const double a = mag[i - 1], b = mag[i], c = mag[i + 1];
      const double d = 0.5 * (a - c) / (a - 2 * b + c);
      peaks.push_back({b, (i + d) * bin});
    }
  }
  std::sort(peaks.rbegin(), peaks.rend());
  double f1 = peaks.at(0).second, f2 = peaks.at(1).second;
  return {std::min(f1, f2), std::max(f1, f2)};
}

// True when a sawtooth's step (or its smoothing) lies within three samples of i.
bool nearStep(const double* x, int i)
{
  for (int j = i - 3; j <= i + 3; ++j)
    if (x[j + 1] < x[j])
      return true;
  return false;
}

} // namespace

TEST(NoteTest, NoteTransposeModesSetThePitch)
{
  {
    Rig rig;
    EXPECT_NEAR(playedFrequency(rig, 69), 880.0, 0.05); // "Standard MIDI": an octave up
  }
  {
    Rig rig;
    rig.p(S::kNoteTransposeMode) = noteModeValue(1);
    EXPECT_NEAR(playedFrequency(rig, 69), 440.0, 0.05);
  }
  {
    Rig rig;
    rig.p(S::kNoteTransposeMode) = noteModeValue(2);
    EXPECT_NEAR(playedFrequency(rig, 57), 880.0, 0.05);
  }
  for (int note : {20, 69, 100})
  {
    Rig rig;
    rig.p(S::kNoteTransposeMode) = noteModeValue(3);
    EXPECT_NEAR(playedFrequency(rig, note, 88200), 39.2, 0.01) << note;
  }
  {
    Rig rig;
    rig.p(S::kNoteTransposeMode) = noteModeValue(7);
    EXPECT_NEAR(playedFrequency(rig, 69, 88200), 64.84, 0.01);
  }
}

TEST(NoteTest, TuneAndPitchRatios)
{
  struct Case
  {
    bool tune;
    double value;
    double ratio;
  } cases[] = {
      {true, 1.0, 1.0594631}, {true, 0.0, 1.0 / 1.0594631}, {false, 1.0, 2.0}, {false, 0.0, 0.5}};
  for (const auto& c : cases)
  {
    Rig rig;
    if (c.tune)
      rig.pool->setTuneRatio(0, VoicePool::tuneRatioOf(c.value));
    else
      rig.pool->setPitchRatio(0, VoicePool::pitchRatioOf(c.value));
    EXPECT_NEAR(playedFrequency(rig, 57) / 440.0, c.ratio, 2e-6) << c.tune << " " << c.value;
  }
  EXPECT_EQ(VoicePool::tuneRatioOf(0.5), 1.0);
  EXPECT_EQ(VoicePool::pitchRatioOf(0.5), 1.0);
  EXPECT_EQ(VoicePool::unisonCountOf(0.49), 1);
  EXPECT_EQ(VoicePool::unisonCountOf(0.5), 2);
}

TEST(NoteTest, UnisonDetunesTheSecondSubVoiceDown)
{
  Rig rig;
  rig.pool->setUnisonCount(2);
  rig.pool->setUnisonDetune(1.0);
  rig.pool->noteOn(69, 127, 0);
  const auto out = rig.render(70000);
  const std::vector<double> tail(out.begin() + 4000, out.end());
  const auto [low, high] = twoPeaks(tail, 500.0, 1500.0);
  EXPECT_NEAR(high, 880.0, 0.3);
  EXPECT_NEAR(high / low, 1.0594630943592953, 5e-4);

  Rig one; // detune 0: both sub-voices identical, a single peak at the note
  one.pool->setUnisonCount(2);
  EXPECT_NEAR(playedFrequency(one, 69), 880.0, 0.05);
}

TEST(NoteTest, FmDepthOneSwingsTheFrequencyBetween029And171Times)
{
  // The sawtooth rises by 2 * increment per sample between its steps, so its slope
  // is the instantaneous frequency. The raw oscillator samples are read before mixing.
  auto slopes = [](double depth)
  {
    Rig rig(kRate, 4096);
    rig.pool->selectWaveform(0, 1.0 / 39.0);
    rig.pool->setFmAmount(depth);
    rig.pool->noteOn(45, 127, 0); // 220 Hz
    for (int k = 0; k < 4000; ++k)
      rig.pool->renderSample();
    const double* x = rig.pool->voice(0).oscillatorBuffer(0);
    double lo = 1e9, hi = 0.0;
    for (int i = 100; i < 3990; ++i)
    {
      if (nearStep(x, i))
        continue;
      const double f = (x[i + 1] - x[i]) / 2.0 * kRate;
      lo = std::min(lo, f);
      hi = std::max(hi, f);
    }
    return std::pair{lo, hi};
  };
  const auto [flat0, flat1] = slopes(0.0);
  EXPECT_NEAR(flat0, 220.0, 0.01);
  EXPECT_NEAR(flat1, 220.0, 0.01);
  const auto [lo, hi] = slopes(1.0);
  EXPECT_NEAR(lo / 220.0, 0.2864, 0.003);
  EXPECT_NEAR(hi / 220.0, 1.7136, 0.003);
}

TEST(NoteTest, GlobalTransposeMovesOscillatorsTwiceAndTheBassLayerOnce)
{
  // A sounding note is re-tuned when the transpose changes.
  Rig rig;
  rig.p(S::kBassLayerAmount) = 1.0;
  rig.pool->noteOn(45, 127, 0); // 220 Hz
  auto measure = [&]
  {
    std::vector<double> left, bass;
    for (int b = 0; b < 60; ++b)
    {
      Block blk(512);
      rig.renderBlock(blk, 512);
      left.insert(left.end(), blk.left.begin(), blk.left.end());
      bass.insert(bass.end(), blk.bass.begin(), blk.bass.end());
    }
    return std::pair{zeroCrossingFrequency(left, kRate, 2048),
                     zeroCrossingFrequency(bass, kRate, 2048)};
  };
  const auto [osc0, bass0] = measure();
  EXPECT_NEAR(osc0, 220.0, 0.05);
  EXPECT_NEAR(bass0, 220.0, 0.05);
  rig.p(S::kTransposeRatio) = VoicePool::pitchRatioOf(1.0); // +12 semitones
  rig.pool->applyGlobalTranspose();
  const auto [osc1, bass1] = measure();
  EXPECT_NEAR(osc1, 880.0, 0.1);
  EXPECT_NEAR(bass1, 440.0, 0.1);
}

TEST(NoteTest, SampleRateChangeKeepsPitchAndEnvelopeTimes)
{
  Rig rig(48000.0);
  rig.pool->noteOn(69, 127, 0);
  const auto out = rig.render(48000);
  EXPECT_NEAR(zeroCrossingFrequency(out, 48000.0, 2048), 880.0, 0.05);

  Rig slow;
  slow.pool->setEnvelopeAttack(VoicePool::kVolumeEnvelope, 0.5); // 0.5 * 0.2 s
  const double before = slow.pool->voice(3).volumeEnvelope.attackSamples;
  slow.pool->reset(96000.0, 512);
  EXPECT_NEAR(before, 4410.0, 1e-6);
  EXPECT_NEAR(slow.pool->voice(3).volumeEnvelope.attackSamples, 9600.0, 1e-6);
  EXPECT_EQ(slow.pool->voice(3).clickStart, 96);
  EXPECT_EQ(slow.pool->voice(3).clickLength, 19200);
}

TEST(NoteTest, StartFadeUnlessTheStartPhaseIsExactlyHalf)
{
  // Two voices, one at start phase 0.5 (no fade), one a hair away from it: the same
  // signal, so their ratio over the first 16 samples is the fade.
  Rig rig;
  rig.osc(0, S::kOscWaveform) = 0.0;
  rig.pool->noteOn(69, 127, 0);
  Block b(64);
  rig.renderBlock(b, 64);
  Rig faded;
  faded.osc(0, S::kOscStartPhase) = 0.5 + 1e-13;
  faded.pool->noteOn(69, 127, 0);
  Block c(64);
  faded.renderBlock(c, 64);
  for (int j = 1; j < 20; ++j)
  {
    ASSERT_GT(std::abs(b.left[j]), 1e-6);
    const double expected = j < 16 ? j * (31.0 - j) / 240.0 : 1.0;
    EXPECT_NEAR(c.left[j] / b.left[j], expected, 1e-9) << j;
  }
}

TEST(NoteTest, PanLawIsLinear)
{
  auto mixAt = [](double pan)
  {
    Rig rig(kRate, 4096);
    rig.osc(0, S::kOscPan) = pan;
    rig.pool->noteOn(69, 127, 0);
    Block settle(4096);
    rig.renderBlock(settle, 4096); // lets the pan smoother settle
    Block b(4096);
    rig.renderBlock(b, 4096);
    return std::pair{peak(b.left), peak(b.right)};
  };
  const auto hardLeft = mixAt(0.0);
  EXPECT_GT(hardLeft.first, 0.1);
  EXPECT_EQ(hardLeft.second, 0.0);
  const auto hardRight = mixAt(1.0);
  EXPECT_LT(hardRight.first, 1e-12);
  const auto centre = mixAt(0.5);
  EXPECT_NEAR(centre.first, centre.second, 1e-9);
  EXPECT_NEAR(centre.first, hardLeft.first, 1e-9); // full level on both sides
  const auto quarter = mixAt(0.25);
  EXPECT_NEAR(quarter.second / quarter.first, 0.5, 1e-9);
}

TEST(NoteTest, VelocityEntersSquaredAndTheVolumeEnvelopeScales)
{
  auto bassLevel = [](int velocity, double envVelocity)
  {
    Rig rig;
    rig.osc(0, S::kOscOn) = 0.0;
    rig.p(S::kBassLayerAmount) = 1.0;
    rig.p(S::kVolumeEnvVelocity) = envVelocity;
    rig.pool->noteOn(45, velocity, 0);
    const auto bass = rig.render(4096, 512, Rig::kBass);
    return peak(bass, 100);
  };
  const double full = bassLevel(127, 1.0);
  EXPECT_NEAR(full, 1.0, 1e-3);
  EXPECT_NEAR(bassLevel(64, 1.0) / full, (64.0 / 127.0) * (64.0 / 127.0), 1e-12);
  EXPECT_EQ(bassLevel(127, 0.0), 0.0);

  Rig silent; // "Volume Env. Amount" 0: silent, yet the voice still renders
  silent.p(S::kVolumeEnvAmount) = 0.0;
  silent.pool->noteOn(69, 127, 0);
  EXPECT_EQ(peak(silent.render(2048)), 0.0);
  EXPECT_TRUE(silent.pool->voice(0).isActive());
  EXPECT_NE(silent.pool->voice(0).oscillatorBuffer(0)[100], 0.0);
}

TEST(NoteTest, LfoModesShapeTheLfoValue)
{
  auto lfoTrace = [](int mode, double freq)
  {
    Rig rig(kRate, 4410);
    rig.osc(0, S::kOscLfoMode) = mode / 4.0;
    rig.pool->setLfoFrequency(0, freq);
    rig.pool->noteOn(69, 127, 0);
    Block b(4410);
    rig.renderBlock(b, 4410);
    std::vector<double> a(4410);
    for (int j = 0; j < 4410; ++j)
      a[j] = b.lfo[std::size_t(j) * 5];
    return a;
  };
  const auto bipolar = lfoTrace(0, 0.5); // 10 Hz: one cycle in 4410 samples
  EXPECT_NEAR(*std::max_element(bipolar.begin(), bipolar.end()), 1.0, 1e-6);
  EXPECT_NEAR(*std::min_element(bipolar.begin(), bipolar.end()), -1.0, 1e-6);
  EXPECT_NEAR(bipolar[1102], 1.0, 1e-4); // a quarter cycle in: the sine's top
  const auto pos = lfoTrace(1, 0.5), neg = lfoTrace(2, 0.5), rect = lfoTrace(3, 0.5),
             inv = lfoTrace(4, 0.5);
  for (int j = 0; j < 4410; ++j)
  {
    EXPECT_EQ(pos[j], std::max(bipolar[j], 0.0));
    EXPECT_EQ(neg[j], std::min(bipolar[j], 0.0));
    EXPECT_EQ(rect[j], std::abs(bipolar[j]));
    EXPECT_EQ(inv[j], -bipolar[j]);
  }
  const auto off = lfoTrace(0, 0.0);
  EXPECT_EQ(*std::max_element(off.begin(), off.end()), 0.0);
  EXPECT_EQ(*std::min_element(off.begin(), off.end()), 0.0);
}

TEST(NoteTest, ArpeggioStepsThroughTheTriadEvery1378Samples)
{
  // Instantaneous frequency from the sawtooth's slope: root, then the major third
  // after one step of a sixteenth of a beat at 120 BPM, then the fifth.
  Rig rig(kRate, 4096);
  rig.pool->selectWaveform(0, 1.0 / 39.0);
  rig.p(S::kNoteTransposeMode) = noteModeValue(8);
  rig.pool->noteOn(33, 127, 0); // 110 Hz
  for (int k = 0; k < 4000; ++k)
    rig.pool->renderSample();
  const double* x = rig.pool->voice(0).oscillatorBuffer(0);
  auto ratio = [&](int i) { return (x[i + 1] - x[i]) / 2.0 * kRate / 110.0; };
  auto firstAbove = [&](double r, int from)
  {
    for (int i = from; i < 3990; ++i)
      if (!nearStep(x, i) && ratio(i) > r)
        return i;
    return -1;
  };
  const int third = firstAbove(1.1, 10);
  const int fifth = firstAbove(1.38, third);
  EXPECT_NEAR(third, 1379, 2);
  EXPECT_NEAR(fifth - third, 1378, 2);
  EXPECT_NEAR(ratio(third + 40), std::pow(2.0, 4.0 / 12.0), 1e-6);
  EXPECT_NEAR(ratio(fifth + 40), std::pow(2.0, 7.0 / 12.0), 1e-6);
}

TEST(NoteTest, NoteOnAtOffsetTenStartsAtBufferPositionTen)
{
  Rig rig(kRate, 64);
  rig.osc(0, S::kOscStartPhase) = 0.75; // phase 0.25: the sine starts at its top
  rig.p(S::kBassLayerAmount) = 1.0;
  for (int k = 0; k < 10; ++k)
    rig.pool->renderSample();
  rig.pool->noteOn(69, 127, 10);
  for (int k = 10; k < 64; ++k)
    rig.pool->renderSample();
  const Note& v = rig.pool->voice(0);
  for (int i = 0; i < 10; ++i)
  {
    EXPECT_EQ(v.oscillatorBuffer(0)[i], 0.0) << i;
    EXPECT_EQ(v.bassLayerBuffer()[i], 0.0) << i;
  }
  EXPECT_DOUBLE_EQ(v.oscillatorBuffer(0)[10], 1.0);
  EXPECT_GT(v.bassLayerBuffer()[10], 0.0);
  Block b(64);
  rig.pool->mixBlock(b.targets(), 64);
  EXPECT_EQ(b.left[9], 0.0);
  EXPECT_NE(b.left[10], 0.0);
  // From the next block on the voice writes from position 0.
  for (int k = 0; k < 64; ++k)
    rig.pool->renderSample();
  EXPECT_NE(v.oscillatorBuffer(0)[0], 0.0);
}

TEST(NoteTest, WaveformSelection)
{
  Rig rig;
  Note& v = rig.pool->voice(0);
  struct Case
  {
    double x;
    bool blep;
    int type;
    int noise;
    double offset;
  } cases[] = {
      {0.0, true, 0, 0, 0.0},         {1.0 / 39, true, 5, 0, 0.0},   {3.0 / 39, true, 4, 0, -0.5},
      {4.0 / 39, true, 4, 0, -0.75},  {5.0 / 39, true, 2, 0, 0.0},   {7.5 / 39, false, -1, 1, 0.0},
      {8.49 / 39, false, -1, 1, 0.0}, {9.0 / 39, false, -1, 2, 0.0}, {6.0 / 39, false, -1, 0, 0.0}};
  for (const auto& c : cases)
  {
    rig.pool->selectWaveform(1, c.x);
    EXPECT_EQ(v.useBlep[1], c.blep) << c.x;
    EXPECT_EQ(v.noiseKind[1], c.noise) << c.x;
    if (c.blep)
    {
      EXPECT_EQ(v.blep[1][1].type, c.type);
      EXPECT_EQ(v.blep[1][0].offset, c.offset);
    }
    EXPECT_EQ(v.table[1][0].table, &provider().set(Korvane::WaveformProvider::positionOf(c.x)));
  }
  // A table waveform sounds at the note's pitch too.
  Rig table;
  table.pool->selectWaveform(0, 6.0 / 39);
  EXPECT_NEAR(playedFrequency(table, 57), 440.0, 0.5);
}

TEST(NoteTest, NoiseOscillatorsDrawFromTheBoundGenerator)
{
  // White noise on oscillator 1 and pink on oscillator 2: one value, then three, per
  // sample, in the generator's order.
  Rig rig(kRate, 512);
  rig.random.seed(77);
  rig.osc(1, S::kOscOn) = 1.0;
  rig.osc(1, S::kOscVolume) = 1.0;
  rig.pool->selectWaveform(0, 8.0 / 39.0);
  rig.pool->selectWaveform(1, 9.0 / 39.0);
  rig.pool->noteOn(60, 127, 0);
  for (int k = 0; k < 500; ++k)
    rig.pool->renderSample();
  Korvane::Random15 reference(77);
  Korvane::PinkNoiseState pink;
  const Note& v = rig.pool->voice(0);
  for (int n = 0; n < 500; ++n)
  {
    ASSERT_EQ(v.oscillatorBuffer(0)[n], reference.next() * 2.0 / 32767.0 - 1.0) << n;
    ASSERT_EQ(v.oscillatorBuffer(1)[n], Korvane::Noise::pink(reference, pink)) << n;
  }
}

TEST(NoteTest, ABadParameterValueDoesNotLatchInTheSmoothers)
{
  // One block with undefined pan and saturation targets; afterwards the voice sounds
  // again, finite.
  Rig rig(kRate, 512);
  rig.pool->noteOn(45, 127, 0);
  rig.render(1024);
  rig.osc(0, S::kOscPan) = std::numeric_limits<double>::quiet_NaN();
  rig.osc(0, S::kOscSaturation) = std::numeric_limits<double>::infinity();
  rig.render(512);
  rig.osc(0, S::kOscPan) = 0.5;
  rig.osc(0, S::kOscSaturation) = 0.0;
  const auto out = rig.render(4096);
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](double x) { return std::isfinite(x); }));
  EXPECT_GT(peak(out, 2048), 0.5);
  Note::Smoother s;
  s.next(1.0);
  const double held = s.state;
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity()})
    EXPECT_EQ(s.next(bad), held);
}

TEST(NoteTest, ASmootherHeldAtItsTargetStaysBitForBitWhereItIs)
{
  for (const double target : {0.0, 0.5, 1.0, 0.777777, -0.25})
  {
    Note::Smoother s;
    EXPECT_EQ(s.holdsAt(target), target == 0.0) << target;
    int steps = 0;
    while (!s.holdsAt(target) && steps < 100000)
    {
      s.next(target);
      ++steps;
    }
    ASSERT_TRUE(s.holdsAt(target)) << target;
    const std::uint64_t held = std::bit_cast<std::uint64_t>(s.state);
    for (int i = 0; i < 1000; ++i)
      EXPECT_EQ(std::bit_cast<std::uint64_t>(s.next(target)), held) << target;
    EXPECT_TRUE(s.holdsAt(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(s.holdsAt(target + 0.5)) << target;
  }
}

namespace
{

// Renders `blocks` blocks of n samples, keeping the stereo pair and the oscillator 1
// LFO value of every sample; after each block `each` (if any) sees the rig and block.
struct Trace
{
  std::vector<double> left, right, lfo;
};

Trace trace(Rig& rig, int blocks, int n, const std::function<void(Rig&, Block&)>& each = {})
{
  Trace t;
  for (int b = 0; b < blocks; ++b)
  {
    Block blk(n);
    rig.renderBlock(blk, n);
    t.left.insert(t.left.end(), blk.left.begin(), blk.left.end());
    t.right.insert(t.right.end(), blk.right.begin(), blk.right.end());
    for (int j = 0; j < n; ++j)
      t.lfo.push_back(blk.lfo[std::size_t(j) * Korvane::VoiceMixTargets::kLfoRecordStride]);
    if (each)
      each(rig, blk);
  }
  return t;
}

constexpr double kTwoPi = 2.0 * 3.141592653589793;

} // namespace

TEST(NoteTest, ThePitchFollowsTheTuneLfoAndFmUnderGlobalTranspose)
{
  // Sample i of a 110 Hz note plays at 110 T^2 m w Hz, with the tune LFO (10 Hz, depth
  // 0.5) and the FM modulator (at the transposed base frequency 110 T) taken at their
  // phases of sample i - 1: v = 0.5 amount sin, m = 1 + K v (1 / (1 - K v) below 0),
  // w = 1 + 12 K depth sin. Measured from the raw sawtooth's slope between its steps.
  struct Case
  {
    double toTune, depth, transpose;
  } cases[] = {{1.0, 0.0, 0.5}, {0.5, 0.0, 0.5}, {0.0, 1.0, 1.0}, {0.0, 0.4, 1.0}, {1.0, 1.0, 1.0}};
  for (const Case& c : cases)
  {
    Rig rig(kRate, 4096);
    rig.pool->selectWaveform(0, 1.0 / 39.0);
    rig.osc(0, S::kOscLfoToTune) = c.toTune;
    rig.pool->setLfoFrequency(0, 0.5);
    rig.p(S::kTransposeRatio) = VoicePool::pitchRatioOf(c.transpose);
    rig.pool->applyGlobalTranspose();
    rig.pool->setFmAmount(c.depth);
    rig.pool->noteOn(33, 127, 0);
    for (int k = 0; k < 4000; ++k)
      rig.pool->renderSample();
    const double* x = rig.pool->voice(0).oscillatorBuffer(0);
    const double t = VoicePool::pitchRatioOf(c.transpose);
    for (int i = 10; i < 3990; ++i)
    {
      if (nearStep(x, i))
        continue;
      const double v = 0.5 * c.toTune * std::sin(kTwoPi * 10.0 * (i - 1) / kRate);
      const double m = v >= 0.0 ? 1.0 + Note::kSemitone * v : 1.0 / (1.0 - Note::kSemitone * v);
      const double w =
          1.0 + Note::kTwelveSemitones * c.depth * std::sin(kTwoPi * 110.0 * t * (i - 1) / kRate);
      ASSERT_NEAR((x[i + 1] - x[i]) / 2.0 * kRate, 110.0 * t * t * m * w, 1e-6)
          << c.toTune << " " << c.depth << " " << i;
    }
  }
}

TEST(NoteTest, LfoToVolumeFilterAndPan)
{
  // A 55 Hz sine with its LFO at 1 Hz; the LFO value a of every sample is what the
  // display shows (mode 0). The low-pass at full cutoff is nearly transparent.
  constexpr int kBlocks = 12, kN = 4096;
  auto play =
      [](const std::function<void(Rig&)>& setup, const std::function<void(Rig&, Block&)>& each = {})
  {
    Rig rig(kRate, kN);
    rig.pool->setLfoFrequency(0, 0.05);
    setup(rig);
    rig.pool->noteOn(21, 127, 0);
    return trace(rig, kBlocks, kN, each);
  };
  const Trace ref = play([](Rig&) {});

  // Volume: x + x a amount.
  const Trace v = play([](Rig& r) { r.osc(0, S::kOscLfoToVolume) = 0.6; });
  for (std::size_t j = 2000; j < v.left.size(); j += 3)
    ASSERT_NEAR(v.left[j], ref.left[j] * (1.0 + 0.6 * v.lfo[j]), 2e-4) << j;

  // Filter: the filter receives cutoff * filter envelope (1 here) * (1 + a amount),
  // kept within 0..1.
  for (double cutoff : {0.5, 0.7})
    play(
        [cutoff](Rig& r)
        {
          r.osc(0, S::kOscCutoff) = cutoff;
          r.osc(0, S::kOscLfoToFilter) = 1.0;
        },
        [cutoff](Rig& r, Block& b)
        {
          const double a = b.lfo[std::size_t(kN - 1) * Korvane::VoiceMixTargets::kLfoRecordStride];
          EXPECT_NEAR(r.pool->voice(0).oscFilter[0].left.kellettLowPass.cutoff,
                      std::clamp(cutoff * (1.0 + a), 0.0, 1.0), 1e-12);
        });

  // Pan: the smoother (0.0223 target + 0.9777 state, from 0) moves towards
  // pan + 0.5 a amount; left and right follow the linear law.
  const Trace p = play([](Rig& r) { r.osc(0, S::kOscLfoToPan) = 0.8; });
  double state = 0.0;
  for (std::size_t j = 0; j < p.left.size(); ++j)
  {
    state = 0.0223 * (0.5 + 0.5 * p.lfo[j] * 0.8) + 0.9777 * state;
    const double gl = state < 0.5 ? 1.0 : 1.0 - 2.0 * (state - 0.5);
    const double gr = state < 0.5 ? 2.0 * state : 1.0;
    ASSERT_NEAR(p.left[j] * gr, p.right[j] * gl, 1e-9) << j;
  }
}

TEST(NoteTest, SaturationShapesTheOscillatorBeforeItsFilter)
{
  // saturate(x, s) = atan(x) / atan(1) * max(7.77 s, 1), within -1..+1. A 55 Hz sine
  // through the nearly transparent low-pass: the saturated voice is the law applied to
  // the clean one, once the smoother has settled.
  constexpr int kN = 8192;
  Rig clean(kRate, kN);
  clean.pool->noteOn(21, 127, 0);
  const Trace ref = trace(clean, 1, kN);
  for (double s : {0.05, 0.1287, 0.5, 1.0})
  {
    Rig sat(kRate, kN);
    sat.osc(0, S::kOscSaturation) = s;
    sat.pool->noteOn(21, 127, 0);
    const Trace t = trace(sat, 1, kN);
    const double drive = std::max(7.77 * s, 1.0);
    for (std::size_t j = 2000; j < t.left.size(); ++j)
      ASSERT_NEAR(t.left[j], std::clamp(std::atan(ref.left[j]) / std::atan(1.0) * drive, -1.0, 1.0),
                  3e-3 * drive)
          << s << " " << j;
  }
}

TEST(NoteTest, UnisonPlaysTheMeanOfItsSubVoices)
{
  // Sub-voice 0 at the note, sub-voice 1 at 1 / (1 + K detune) of it, both from phase 0;
  // the oscillator sample is their mean, so unison never raises the level.
  struct Case
  {
    double voices, detune;
  } cases[] = {{0.49, 1.0}, {0.5, 0.0}, {1.0, 1.0}, {0.75, 0.5}};
  for (const Case& c : cases)
  {
    Rig rig(kRate, 4096);
    rig.pool->setUnisonCount(VoicePool::unisonCountOf(c.voices));
    rig.pool->setUnisonDetune(c.detune);
    rig.pool->noteOn(69, 127, 0); // 880 Hz
    for (int k = 0; k < 4000; ++k)
      rig.pool->renderSample();
    const double* x = rig.pool->voice(0).oscillatorBuffer(0);
    const double inc0 = 880.0 / kRate, inc1 = inc0 / (1.0 + Note::kSemitone * c.detune);
    for (int n = 0; n < 4000; ++n)
    {
      const double first = std::sin(kTwoPi * std::fmod(n * inc0, 1.0));
      const double second = std::sin(kTwoPi * std::fmod(n * inc1, 1.0));
      ASSERT_NEAR(x[n], c.voices < 0.5 ? first : (first + second) / 2.0, 1e-9)
          << c.voices << " " << c.detune << " " << n;
    }
  }
}

TEST(NoteTest, BassLayerToFmMakesTheBassFollowTheOscillatorsPitch)
{
  // "Bass-Layer to FM" 0: the bass phase advances by the note's increment alone;
  // otherwise by the oscillators' increment (FM included). It also takes the note-on's
  // pitch update, so it runs one sample ahead of a sine oscillator started at phase 0.
  for (double toFm : {0.0, 1.0})
  {
    Rig rig(kRate, 4096);
    rig.p(S::kBassLayerAmount) = 1.0;
    rig.p(S::kBassLayerToFm) = toFm;
    rig.pool->setFmAmount(1.0);
    rig.pool->noteOn(33, 127, 0); // 110 Hz
    for (int k = 0; k < 4000; ++k)
      rig.pool->renderSample();
    const Note& v = rig.pool->voice(0);
    for (int n = 0; n < 3998; ++n)
    {
      const double steady = std::sin(kTwoPi * std::fmod((n + 1) * 110.0 / kRate, 1.0));
      ASSERT_NEAR(v.bassLayerBuffer()[n], toFm == 0.0 ? steady : v.oscillatorBuffer(0)[n + 1], 1e-9)
          << toFm << " " << n;
    }
  }
}
