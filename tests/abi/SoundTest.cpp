// What a listener hears, measured on the module's output through the VST 2.4 interface.
#include "ModuleFixture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace
{
// The fundamental from rising zero crossings, interpolated between samples.
double Frequency(const std::vector<double>& x, size_t from, size_t to, double rate)
{
  double first = -1, last = -1;
  int crossings = 0;
  for (size_t i = from + 1; i < to; ++i)
  {
    if (x[i - 1] < 0.0 && x[i] >= 0.0)
    {
      const double t = double(i - 1) + x[i - 1] / (x[i - 1] - x[i]);
      if (first < 0)
        first = t;
      else
        ++crossings;
      last = t;
    }
  }
  return crossings > 0 ? crossings * rate / (last - first) : 0.0;
}

} // namespace

class SoundTest : public ModuleTest
{
protected:
  void SetUp() override
  {
    ModuleTest::SetUp();
    Start();
    VoicesOnly(plug);
  }

  // These tests measure the voices' path: "Bypass all effects" leaves only the output
  // saturation, which at its default drive 0 passes the signal unchanged.
  static void VoicesOnly(VstHost::PluginInstance& p) { p.SetParameter(132, 1.0f); }

  // Renders frames samples in host blocks, appending to out.
  void RenderInto(Channels& out, int frames)
  {
    if (out.size() < 2)
      out.resize(2);
    Channels block;
    for (int done = 0; done < frames; done += kBlockSize)
    {
      const int n = std::min(kBlockSize, frames - done);
      plug.Render(block, n);
      for (size_t c = 0; c < 2; ++c)
        out[c].insert(out[c].end(), block[c].begin(), block[c].begin() + n);
    }
  }

  // A held note's steady tone: the pitch envelope off, measured after the attack.
  double SteadyFrequency(int note)
  {
    plug.SetParameter(88, 0.0f); // "Pitch env. On/Off"
    plug.NoteOn(0, note, 100);
    Channels out;
    RenderInto(out, int(kSampleRate * 0.5));
    return Frequency(out[0], size_t(kSampleRate * 0.1), out[0].size(), kSampleRate);
  }

  void SetMode(int mode) { plug.SetParameter(86, float(mode / 9.0)); }

  // frames samples from a fresh instance that `setup` prepares after the usual start.
  template <typename Setup>
  static Channels RenderFresh(Setup setup, int frames)
  {
    VstHost::PluginInstance other;
    EXPECT_TRUE(other.Load(TG_MODULE_PATH));
    other.Start(kSampleRate, kBlockSize);
    VoicesOnly(other);
    setup(other);
    Channels out;
    other.Render(out, frames);
    return out;
  }
};

TEST_F(SoundTest, ANoteSoundsAndDiesAwayAfterItsNoteOff)
{
  plug.NoteOn(0, 36, 127);
  Channels out;
  RenderInto(out, int(kSampleRate * 0.5));
  EXPECT_GT(Peak(out[0], 0, out[0].size()), 0.1);
  EXPECT_GT(Peak(out[1], 0, out[1].size()), 0.1);
  plug.NoteOff(0, 36);
  RenderInto(out, int(kSampleRate * 1.0));
  EXPECT_TRUE(AllFinite(out));
  // Release 0.05: half a second later nothing is left.
  const size_t end = out[0].size();
  EXPECT_LT(Peak(out[0], end - size_t(kSampleRate * 0.2), end), 1e-4);
}

TEST_F(SoundTest, NoteTransposeModesSetThePitch)
{
  EXPECT_NEAR(SteadyFrequency(69), 880.0, 1.0); // "Standard MIDI" sounds an octave up
}

TEST_F(SoundTest, OctaveDownPlaysNote69At440)
{
  SetMode(1);
  EXPECT_NEAR(SteadyFrequency(69), 440.0, 0.5);
}

TEST_F(SoundTest, LowKickPlaysEveryNoteAt39Hz)
{
  SetMode(3);
  EXPECT_NEAR(SteadyFrequency(40), 39.2, 0.1);
  plug.NoteOff(0, 40);
  Channels out;
  RenderInto(out, int(kSampleRate * 0.3));
  EXPECT_NEAR(SteadyFrequency(90), 39.2, 0.1);
}

TEST_F(SoundTest, AnEventAtOffset300OfA256FrameBlockSoundsFromSample300)
{
  auto firstSound = [](const std::vector<double>& x)
  { return std::find_if(x.begin(), x.end(), [](double v) { return v != 0.0; }) - x.begin(); };
  // How long a note takes to leave exact zero when it starts at sample 0.
  VstHost::PluginInstance reference;
  ASSERT_TRUE(reference.Load(TG_MODULE_PATH));
  reference.Start(kSampleRate, kBlockSize);
  VoicesOnly(reference);
  reference.NoteOn(0, 36, 127);
  Channels ref;
  reference.Render(ref, kBlockSize);
  const auto lead = firstSound(ref[0]);
  ASSERT_LT(lead, 8);

  plug.NoteOn(300, 36, 127);
  Channels out;
  RenderInto(out, 1024);
  EXPECT_EQ(firstSound(out[0]), 300 + lead);
}

TEST_F(SoundTest, ARepeatedNoteOnOfAHeldKeyAddsNoVoice)
{
  auto render = [this](bool repeat)
  {
    VstHost::PluginInstance other;
    EXPECT_TRUE(other.Load(TG_MODULE_PATH));
    other.Start(kSampleRate, kBlockSize);
    VoicesOnly(other);
    other.NoteOn(0, 48, 100);
    if (repeat)
      other.NoteOn(100, 48, 100);
    Channels out;
    other.Render(out, 4096);
    return out;
  };
  EXPECT_EQ(render(true), render(false));
}

TEST_F(SoundTest, VelocityZeroActsAsNoteOff)
{
  auto render = [this](bool velocityZero)
  {
    VstHost::PluginInstance other;
    EXPECT_TRUE(other.Load(TG_MODULE_PATH));
    other.Start(kSampleRate, kBlockSize);
    VoicesOnly(other);
    other.NoteOn(0, 48, 100);
    if (velocityZero)
      other.QueueMidi(2000, 0x90, 48, 0);
    else
      other.NoteOff(2000, 48);
    Channels out;
    other.Render(out, 8192);
    return out;
  };
  const Channels a = render(true);
  EXPECT_EQ(a, render(false));
  EXPECT_GT(Peak(a[0], 0, 2000), 0.01);
}

TEST_F(SoundTest, FullPitchBendWithRange12ReachesAnOctave)
{
  plug.SetParameter(87, 1.0f); // "Pitch-Bend Range": 12 semitones
  plug.SetParameter(88, 0.0f);
  plug.PitchBend(0, 1.0);
  plug.NoteOn(0, 57, 100); // 440 Hz in "Standard MIDI"
  Channels out;
  RenderInto(out, int(kSampleRate * 0.5));
  EXPECT_NEAR(Frequency(out[0], size_t(kSampleRate * 0.2), out[0].size(), kSampleRate), 880.0, 2.0);
}

TEST_F(SoundTest, LimitOutputBoundsEverySample)
{
  plug.SetParameter(138, 1.0f); // full volume
  plug.SetParameter(80, 1.0f);  // bass layer at its loudest
  for (int note : {24, 36, 48, 60})
    plug.NoteOn(0, note, 127);
  Channels loud;
  RenderInto(loud, 8192);
  EXPECT_GT(Peak(loud[0], 0, 8192), 0.98777); // loud enough for the limit to matter
  EXPECT_LE(Peak(loud[0], 0, 8192), 3.1622777);

  plug.SetParameter(133, 1.0f); // "Limit output"
  Channels limited;
  RenderInto(limited, 8192);
  EXPECT_LE(Peak(limited[0], 0, 8192), 0.98777);
  EXPECT_LE(Peak(limited[1], 0, 8192), 0.98777);
}

TEST_F(SoundTest, DryWetZeroPassesTheUnprocessedMix)
{
  // Without effect units the processed pair equals the dry one, so every dry/wet
  // setting gives the voices' mix (the law itself is measured in OutputStageTest);
  // the bass layer comes after dry/wet and is added on top, the same on both sides.
  auto render = [](float dryWet, float bass)
  {
    return RenderFresh(
        [&](VstHost::PluginInstance& p)
        {
          p.SetParameter(136, dryWet);
          p.SetParameter(80, bass);
          p.NoteOn(0, 36, 127);
        },
        4096);
  };
  const Channels dry = render(0.0f, 0.0f), wet = render(1.0f, 0.0f), half = render(0.5f, 0.0f);
  const Channels withBass = render(0.0f, 1.0f);
  double bassPeak = 0.0;
  for (size_t i = 0; i < 4096; ++i)
  {
    ASSERT_NEAR(dry[0][i], wet[0][i], 1e-12) << i;
    ASSERT_NEAR(half[0][i], dry[0][i], 1e-12) << i;
    if (i >= 2048) // once the output pan has settled at the centre
    {
      ASSERT_NEAR(withBass[0][i] - dry[0][i], withBass[1][i] - dry[1][i], 1e-12) << i;
      bassPeak = std::max(bassPeak, std::fabs(withBass[0][i] - dry[0][i]));
    }
  }
  EXPECT_GT(bassPeak, 0.01);
}

TEST_F(SoundTest, BassLayerSoloWithAmountZeroIsSilent)
{
  plug.SetParameter(81, 1.0f); // "Bass-Layer solo", amount stays 0
  plug.NoteOn(0, 36, 127);
  Channels out;
  RenderInto(out, 8192);
  EXPECT_EQ(Peak(out[0], 0, 8192), 0.0);

  plug.SetParameter(80, 0.8f); // now the bass layer alone sounds, the same on both sides
  RenderInto(out, 8192);
  EXPECT_GT(Peak(out[0], 8192, 16384), 0.01);
  for (size_t i = 8192; i < 16384; ++i)
    ASSERT_NEAR(out[0][i], out[1][i], 1e-12) << i;
}

TEST_F(SoundTest, TheFirstBlockFadesInFromSilence)
{
  // A fresh instance's output volume and pan smoothers, and the voice's own volume and
  // pan smoothers, all start at 0 and move by state = 0.0223 target + 0.9777 state.
  // A voice that has sounded before keeps its smoothers settled: its second note is the
  // same signal at full level. So, sample by sample, with s(n) = 1 - 0.9777^(n+1):
  //   first note left  / settled left = s(n) * s(n)   (voice volume, output volume)
  //   first note right / first note left = s(n) * s(n) (voice pan, output pan)
  plug.NoteOn(0, 36, 127);
  Channels first;
  RenderInto(first, kBlockSize);

  VstHost::PluginInstance settled;
  ASSERT_TRUE(settled.Load(TG_MODULE_PATH));
  settled.Start(kSampleRate, kBlockSize);
  VoicesOnly(settled);
  settled.NoteOn(0, 36, 127);
  settled.NoteOff(kBlockSize * 4, 36);
  Channels warmUp;
  for (int b = 0; b < 200; ++b) // two seconds: released and free again
    settled.Render(warmUp, kBlockSize);
  settled.NoteOn(0, 36, 127);
  Channels again;
  settled.Render(again, kBlockSize);

  EXPECT_EQ(first[0][0], 0.0); // the sine starts at phase 0
  int measured = 0;
  for (int n = 1; n < kBlockSize; ++n)
  {
    if (std::fabs(again[0][size_t(n)]) < 1e-6) // the filter opens over the first samples
      continue;
    const double s = 1.0 - std::pow(0.9777, n + 1);
    EXPECT_NEAR(first[0][size_t(n)] / again[0][size_t(n)], s * s, 1e-9) << n;
    EXPECT_NEAR(first[1][size_t(n)] / first[0][size_t(n)], s * s, 1e-9) << n;
    ++measured;
  }
  EXPECT_GT(measured, kBlockSize / 2);
}

TEST_F(SoundTest, LinkedLfoRatesAndLinkSwitchesNotifyTheHost)
{
  plug.ClearAutomation();
  plug.SetParameter(15, 0.0f); // oscillator 1's LFO free-running
  plug.SetParameter(14, 1.0f); // oscillator 1 linked
  plug.ClearAutomation();
  plug.SetParameter(13, 0.3f);
  bool saw34 = false, saw55 = false;
  for (const auto& a : plug.Automation())
  {
    saw34 |= a.index == 34 && std::fabs(a.value - 0.3f) < 1e-6f;
    saw55 |= a.index == 55 && std::fabs(a.value - 0.3f) < 1e-6f;
  }
  EXPECT_TRUE(saw34);
  EXPECT_TRUE(saw55);
  EXPECT_EQ(plug.ParamDisplay(34), "0.300");

  // Linking oscillator 2 unlinks oscillator 1 and tells the host.
  plug.ClearAutomation();
  plug.SetParameter(35, 1.0f);
  ASSERT_FALSE(plug.Automation().empty());
  EXPECT_EQ(plug.Automation().back().index, 14);
  EXPECT_EQ(plug.Automation().back().value, 0.0f);
  EXPECT_EQ(plug.ParamDisplay(14), "0.000");
}

TEST_F(SoundTest, SixtyFourVoicesRenderWithoutTroubleAndMoreAreIgnored)
{
  auto render = [](int notes)
  {
    return RenderFresh(
        [notes](VstHost::PluginInstance& p)
        {
          for (int note = 20; note < 20 + notes; ++note)
            p.NoteOn(note - 20, note, 90);
        },
        4096);
  };
  const Channels sixtyFour = render(64), seventy = render(70);
  EXPECT_TRUE(AllFinite(seventy));
  EXPECT_GT(Rms(seventy[0], 1000, 4096), 0.0);
  // The six notes beyond the 64th find no voice: not a sample changes, while the 64th
  // itself is heard.
  EXPECT_EQ(seventy, sixtyFour);
  EXPECT_NE(sixtyFour, render(63));
}

TEST_F(SoundTest, TwoFreshInstancesRenderANoiseNoteBitIdentically)
{
  // Offline bounces are reproducible: both instances exist before either renders, as
  // in a host with two tracks, and render block by block in turn; oscillator 1 plays
  // white noise, oscillator 2 pink noise.
  VstHost::PluginInstance a, b;
  for (VstHost::PluginInstance* p : {&a, &b})
  {
    ASSERT_TRUE(p->Load(TG_MODULE_PATH));
    p->Start(kSampleRate, kBlockSize);
    VoicesOnly(*p);
    p->SetParameter(1, 8.0f / 39.0f); // "Osc1 waveform": WhiteNoize
    p->SetParameter(21, 1.0f);
    p->SetParameter(22, 9.0f / 39.0f); // PinkNoize
    p->NoteOn(0, 36, 127);
  }
  int differing = 0;
  double power = 0.0;
  for (int k = 0; k < 8; ++k)
  {
    Channels blockA, blockB;
    a.Render(blockA, kBlockSize);
    b.Render(blockB, kBlockSize);
    for (int i = 0; i < kBlockSize; ++i)
      differing += blockA[0][size_t(i)] != blockB[0][size_t(i)];
    EXPECT_EQ(blockA[1], blockB[1]);
    power += Rms(blockA[0], 0, kBlockSize);
  }
  EXPECT_GT(power, 0.01);
  EXPECT_EQ(differing, 0);
}

TEST_F(SoundTest, NonFiniteValuesNeverReachAParameter)
{
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  // Switches, tunes, volumes, pans, the shaped bit crusher, dry/wet and the output.
  for (int i : {0, 3, 4, 6, 80, 110, 134, 136, 138})
  {
    SCOPED_TRACE(i);
    const std::string shown = plug.ParamDisplay(i);
    const float normalized = plug.GetParameter(i);
    for (float v : {nan, inf, -inf})
      plug.SetParameter(i, v);
    for (const char* text : {"nan", "inf", "-inf", "1e999", "-NAN"})
      EXPECT_EQ(plug.SetParameterText(i, text), 0) << text;
    EXPECT_EQ(plug.ParamDisplay(i), shown);
    EXPECT_EQ(plug.GetParameter(i), normalized);
  }
  // Normalized values outside 0..1 give the ends of the range, also through a shape.
  plug.SetParameter(110, -0.5f);
  EXPECT_EQ(plug.ParamDisplay(110), "0.000");
  plug.SetParameter(110, 1.5f);
  EXPECT_EQ(plug.GetParameter(110), 1.0f);
  plug.SetParameter(110, 1.0f);

  plug.NoteOn(0, 36, 127);
  Channels out;
  RenderInto(out, 8192);
  EXPECT_TRUE(AllFinite(out));
  EXPECT_GT(Rms(out[0], 0, 8192), 0.01);
}

TEST_F(SoundTest, OutputVolumeAndPanFollowTheirLaws)
{
  // "Output volume" (138) is a linear gain, "Output pan" (134) a linear balance: p < 0.5
  // keeps left at v and gives right 2 p v, otherwise right stays at v and left gets
  // (1 - 2 (p - 0.5)) v. Gains relative to the default (0.5, 0.5), once settled.
  struct Case
  {
    float volume, pan;
    double left, right;
  } cases[] = {{1.0f, 0.5f, 2.0, 2.0},
               {0.25f, 0.5f, 0.5, 0.5},
               {0.5f, 0.0f, 1.0, 0.0},
               {0.5f, 0.75f, 0.5, 1.0},
               {1.0f, 0.125f, 2.0, 0.5}};
  auto render = [](float volume, float pan)
  {
    return RenderFresh(
        [&](VstHost::PluginInstance& p)
        {
          p.SetParameter(138, volume);
          p.SetParameter(134, pan);
          p.NoteOn(0, 40, 100);
        },
        4096);
  };
  const Channels reference = render(0.5f, 0.5f);
  for (const Case& c : cases)
  {
    const Channels out = render(c.volume, c.pan);
    for (size_t i = 2048; i < 4096; i += 7)
    {
      ASSERT_NEAR(out[0][i], c.left * reference[0][i], 1e-9) << c.volume << " " << c.pan;
      ASSERT_NEAR(out[1][i], c.right * reference[1][i], 1e-9) << c.volume << " " << c.pan;
    }
  }
}
