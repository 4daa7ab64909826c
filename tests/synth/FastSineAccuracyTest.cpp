// The fast sines (the voices' and the distortion's loudness mode 2) against the library
// sine they replace, heard through the whole instrument: every factory program renders a
// chord both ways (the same fresh instance, the same notes) and the two outputs stay
// within -120 dB of full scale of each other.
#include "effects/distortion/Distortion.h"
#include "synth/Thumpgeist.h"
#include "voice/Note.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{

constexpr int kBlock = 256;
constexpr int kBlocks = 60; // 0.35 s at 44.1 kHz

std::vector<double> Render(int program, bool exact)
{
  Korvane::Note::referenceSine = exact;
  Korvane::Distortion::referenceSine = exact;
  auto plug = std::make_unique<Thumpgeist>(nullptr);
  Vst::AEffect* e = plug->GetAEffect();
  e->dispatcher(e, Vst::effSetSampleRate, 0, 0, nullptr, 44100.0f);
  e->dispatcher(e, Vst::effSetBlockSize, 0, kBlock, nullptr, 0.0f);
  e->dispatcher(e, Vst::effSetProgram, 0, program, nullptr, 0.0f);
  std::vector<double> left(kBlock), right(kBlock), out;
  double* outs[] = {left.data(), right.data()};
  const int notes[3][2] = {{36, 0}, {43, 37}, {48, 101}};
  for (int b = 0; b < kBlocks; ++b)
  {
    if (b == 0)
      for (const auto& n : notes)
        plug->ProcessMidiMessage(MidiMessage{n[1], 0x90, uint8_t(n[0]), 100});
    if (b == kBlocks - 12)
      for (const auto& n : notes)
        plug->ProcessMidiMessage(MidiMessage{5, 0x80, uint8_t(n[0]), 0});
    plug->ProcessBlock(nullptr, outs, kBlock);
    out.insert(out.end(), left.begin(), left.end());
    out.insert(out.end(), right.begin(), right.end());
  }
  Korvane::Note::referenceSine = false;
  Korvane::Distortion::referenceSine = false;
  return out;
}

} // namespace

TEST(FastSineAccuracy, EveryFactoryProgramStaysBelowMinus120DecibelsOfTheReference)
{
  double worstOfAll = 0.0;
  for (int program = 0; program < 128; ++program)
  {
    const std::vector<double> reference = Render(program, true);
    const std::vector<double> fast = Render(program, false);
    ASSERT_EQ(reference.size(), fast.size());
    double worst = 0.0;
    for (std::size_t i = 0; i < fast.size(); ++i)
      worst = std::max(worst, std::abs(fast[i] - reference[i]));
    EXPECT_LT(worst, 1e-6) << "program " << program;
    worstOfAll = std::max(worstOfAll, worst);
  }
  if (std::getenv("THUMPGEIST_PRINT_GOLDEN") != nullptr)
    std::printf("worst difference over the factory programs %.3g (%.1f dBFS)\n", worstOfAll,
                worstOfAll > 0.0 ? 20.0 * std::log10(worstOfAll) : -999.0);
}
