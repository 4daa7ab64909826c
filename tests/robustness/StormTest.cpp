// The automation storm: random notes, pitch bends and parameter changes (0, 1, random,
// extremes repeated block after block, and refused ones), program changes and chunk
// loads (whole, truncated, with flipped bytes, garbage) between blocks, over sample
// rates from 8 to 192 kHz and process calls of 1 to 4096 frames and more, in all three
// process paths. Every sample is finite and within the output limit, no process call
// allocates, and the same input gives the same output.
//
// Each row renders TG_STORM_SECONDS seconds of audio (default kDefaultSeconds); a soak
// sets it higher.
#include "InProcessHost.h"
#include "synth/AllocationCounter.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace
{
namespace P = ParamIndex;
constexpr double kDefaultSeconds = 3.0;

double StormSeconds()
{
  const char* text = std::getenv("TG_STORM_SECONDS");
  const double seconds = text ? std::atof(text) : 0.0;
  return seconds > 0.0 ? seconds : kDefaultSeconds;
}

struct StormCase
{
  double rate;
  int blockSize; // announced with effSetBlockSize; calls are 1 to this (sometimes more)
  ProcessPath path;
};

// Every rate meets small, odd, usual and the largest block sizes across the paths.
constexpr StormCase kCases[] = {
    {8000, 1, ProcessPath::Double},
    {8000, 4096, ProcessPath::FloatReplacing},
    {8000, 333, ProcessPath::FloatAccumulating},
    {11025, 64, ProcessPath::Double},
    {11025, 1023, ProcessPath::FloatAccumulating},
    {22050, 7, ProcessPath::FloatReplacing},
    {22050, 512, ProcessPath::Double},
    {32000, 2049, ProcessPath::FloatAccumulating},
    {44100, 1, ProcessPath::FloatReplacing},
    {44100, 64, ProcessPath::FloatAccumulating},
    {44100, 512, ProcessPath::FloatReplacing},
    {44100, 1000, ProcessPath::Double},
    {44100, 4096, ProcessPath::Double},
    {48000, 127, ProcessPath::Double},
    {48000, 480, ProcessPath::FloatReplacing},
    {48000, 4095, ProcessPath::FloatAccumulating},
    {88200, 256, ProcessPath::FloatAccumulating},
    {96000, 33, ProcessPath::FloatReplacing},
    {96000, 1024, ProcessPath::Double},
    {176400, 777, ProcessPath::FloatReplacing},
    {192000, 2, ProcessPath::FloatAccumulating},
    {192000, 2048, ProcessPath::Double},
    {192000, 4096, ProcessPath::FloatReplacing},
};

// How GoogleTest and CTest name a row.
void PrintTo(const StormCase& c, std::ostream* os)
{
  *os << c.rate << " Hz, calls up to " << c.blockSize << " frames, " << PathName(c.path);
}

// What a run produced, for the invariants and for comparing two runs.
struct StormResult
{
  uint64_t hash = 1469598103934665603ull;
  int64_t frames = 0;
  int64_t calls = 0;
  int64_t events = 0; // MIDI events, parameter, program and chunk operations
  int allocations = 0;
  int64_t firstNonFinite = -1;
  int64_t firstOverLimit = -1;
  double peak = 0.0;
};

template <typename Sample>
void Fold(StormResult& r, const Sample* x, int n, double limit, int64_t at)
{
  for (int k = 0; k < n; ++k)
  {
    const double v = double(x[k]);
    Sample s = x[k];
    unsigned char bytes[sizeof(Sample)];
    std::memcpy(bytes, &s, sizeof s);
    for (unsigned char b : bytes)
      r.hash = (r.hash ^ b) * 1099511628211ull;
    if (!std::isfinite(v) && r.firstNonFinite < 0)
      r.firstNonFinite = at + k;
    if (std::fabs(v) > limit && r.firstOverLimit < 0)
      r.firstOverLimit = at + k;
    r.peak = std::max(r.peak, std::fabs(v));
  }
}

class Storm
{
public:
  Storm(const StormCase& c, uint32_t seed) : row(c), host(c.rate, c.blockSize), rng(seed)
  {
    const size_t most = size_t(c.blockSize) * 3;
    doubles[0].resize(most);
    doubles[1].resize(most);
    floats[0].resize(most);
    floats[1].resize(most);
    // Events per second of audio, so that every rate and block size meets the same density.
    next = {Gap(0, 40), Gap(0, 30), Gap(0, 120), Gap(0, 1.5), Gap(0, 1.5), Gap(0, 4)};
  }

  StormResult Run(double seconds)
  {
    const auto total = int64_t(seconds * row.rate);
    while (result.frames < total)
    {
      const int frames = CallLength();
      BetweenBlocks();
      QueueMidi(frames);
      Render(frames);
    }
    return result;
  }

private:
  enum Kind
  {
    kNote,
    kBend,
    kParam,
    kProgram,
    kChunk,
    kLimit
  };

  double Uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng); }
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  // The frame of the next event after one at frame `from`, for a kind that happens
  // perSecond times a second.
  int64_t Gap(int64_t from, double perSecond)
  {
    return from + 1 + int64_t(-std::log(1.0 - Uniform()) * row.rate / perSecond);
  }

  // Mostly 1 to the announced size; sometimes exactly it, a single frame, or more than
  // it (the adapter renders that in pieces).
  int CallLength()
  {
    const double r = Uniform();
    if (r < 0.1)
      return row.blockSize;
    if (r < 0.15)
      return 1;
    if (r < 0.17)
      return Int(row.blockSize + 1, row.blockSize * 3);
    return Int(1, row.blockSize);
  }

  float ParamValue()
  {
    const double r = Uniform();
    if (r < 0.3)
      return 0.0f;
    if (r < 0.6)
      return 1.0f;
    if (r < 0.98)
      return float(Uniform());
    return r < 0.99 ? std::numeric_limits<float>::quiet_NaN() : 1e30f;
  }

  void BetweenBlocks()
  {
    // One parameter swings between its extremes at every block boundary for a while.
    if (extremeLeft > 0)
    {
      host.SetParameter(extremeParam, float(extremeLeft-- & 1));
      ++result.events;
    }
    while (next[kParam] <= result.frames)
    {
      next[kParam] = Gap(next[kParam], 120);
      ++result.events;
      const double r = Uniform();
      if (r < 0.05 && extremeLeft == 0)
      {
        extremeParam = Int(0, P::kNumParams - 1);
        extremeLeft = Int(4, 40);
      }
      else if (r < 0.07)
        host.SetParameter(Int(0, 1) ? -1 : P::kNumParams + Int(0, 100), 0.5f); // refused
      else
        host.SetParameter(Int(0, P::kNumParams - 1), ParamValue());
    }
    // "Limit output" is on for most of the storm, so that its bound is checked.
    if (next[kLimit] <= result.frames)
    {
      next[kLimit] = Gap(next[kLimit], 4);
      ++result.events;
      host.SetParameter(P::kLimitOutput, Uniform() < 0.8 ? 1.0f : 0.0f);
    }
    if (next[kProgram] <= result.frames)
    {
      next[kProgram] = Gap(next[kProgram], 1.5);
      ++result.events;
      const int r = Int(0, 9);
      host.Dispatch(Vst::effSetProgram, 0, r == 0 ? -1 : r == 1 ? 128 + Int(0, 1000) : Int(0, 127));
    }
    if (next[kChunk] <= result.frames)
    {
      next[kChunk] = Gap(next[kChunk], 1.5);
      ++result.events;
      ChunkOperation();
    }
  }

  void ChunkOperation()
  {
    const bool bank = Int(0, 3) == 0;
    std::vector<uint8_t>& saved = bank ? savedBank : savedProgram;
    const int r = Int(0, 5);
    if (r == 0 || saved.empty())
    {
      saved = host.GetChunk(bank);
      return;
    }
    std::vector<uint8_t> chunk = saved;
    if (r == 2)
      chunk.resize(size_t(Int(0, int(chunk.size()) - 1))); // truncated
    else if (r == 3)
      for (int i = 0; i < 16; ++i)
        chunk[size_t(Int(0, int(chunk.size()) - 1))] ^= uint8_t(1 << Int(0, 7)); // bit flips
    else if (r == 4)
      for (uint8_t& b : chunk)
        b = uint8_t(Int(0, 255)); // garbage of the right length
    host.SetChunk(chunk, bank);
  }

  void QueueMidi(int frames)
  {
    const int64_t end = result.frames + frames;
    while (next[kNote] < end)
    {
      const int offset = int(next[kNote] - result.frames);
      next[kNote] = Gap(next[kNote], 40);
      ++result.events;
      const int note = Int(0, 127);
      const int r = Int(0, 9);
      if (r < 5)
        host.Midi(offset, uint8_t(0x90 | Int(0, 15)), uint8_t(note), uint8_t(Int(1, 127)));
      else if (r < 8)
        host.Midi(offset, 0x80, uint8_t(note), 0);
      else if (r < 9)
        host.Midi(offset, 0x90, uint8_t(note), 0); // a note-on of velocity 0 ends it
      else
        host.Midi(offset, 0xB0, 123, 0); // controllers change nothing
    }
    while (next[kBend] < end)
    {
      const int offset = int(next[kBend] - result.frames);
      next[kBend] = Gap(next[kBend], 30);
      ++result.events;
      const int r = Int(0, 3);
      const int value = r == 0 ? 0 : r == 1 ? 16383 : Int(0, 16383);
      host.Midi(offset, 0xE0, uint8_t(value & 0x7F), uint8_t(value >> 7));
    }
    host.SendEvents();
  }

  void Render(int frames)
  {
    const double limit =
        host.GetParameter(P::kLimitOutput) > 0.0f ? Thumpgeist::kLimitOn : Thumpgeist::kLimitOff;
    const bool isDouble = row.path == ProcessPath::Double;
    // The accumulating path adds to silence here, so its output is the instrument's.
    for (int ch = 0; ch < 2; ++ch)
    {
      std::fill_n(doubles[size_t(ch)].begin(), frames, 0.0);
      std::fill_n(floats[size_t(ch)].begin(), frames, 0.0f);
    }
    int allocations = 0;
    {
      const AllocationCounter counter;
      if (isDouble)
        host.Process(row.path, doubles[0].data(), doubles[1].data(), frames);
      else
        host.Process(row.path, floats[0].data(), floats[1].data(), frames);
      allocations = counter.Count();
    }
    result.allocations += allocations;
    for (int ch = 0; ch < 2; ++ch)
    {
      if (isDouble)
        Fold(result, doubles[size_t(ch)].data(), frames, limit, result.frames);
      else
        Fold(result, floats[size_t(ch)].data(), frames, double(float(limit)), result.frames);
    }
    result.frames += frames;
    ++result.calls;
  }

  StormCase row;
  InProcessHost host;
  std::mt19937 rng;
  std::vector<double> doubles[2];
  std::vector<float> floats[2];
  std::vector<uint8_t> savedProgram, savedBank;
  std::vector<int64_t> next;
  int extremeParam = 0;
  int extremeLeft = 0;
  StormResult result;
};

class StormTest : public ::testing::TestWithParam<StormCase>
{
};

std::string CaseName(const ::testing::TestParamInfo<StormCase>& info)
{
  return std::to_string(int(info.param.rate)) + "Hz_" + std::to_string(info.param.blockSize) + "_" +
         PathName(info.param.path);
}
} // namespace

TEST_P(StormTest, OutputStaysFiniteBoundedAndAllocationFree)
{
  const StormCase& c = GetParam();
  const double seconds = StormSeconds();
  const StormResult r = Storm(c, 17).Run(seconds);
  EXPECT_LT(r.firstNonFinite, 0) << "first sample that is not finite: frame " << r.firstNonFinite;
  EXPECT_LT(r.firstOverLimit, 0) << "first sample beyond the output limit: frame "
                                 << r.firstOverLimit;
  EXPECT_EQ(r.allocations, 0) << "allocations in " << r.calls << " process calls";
  // The storm sounds: its notes reach the output.
  EXPECT_GT(r.peak, 0.01);
  std::printf("storm %g Hz, block %d, %s: %.2f s, %lld calls, %lld events, peak %.4f\n", c.rate,
              c.blockSize, PathName(c.path), seconds, static_cast<long long>(r.calls),
              static_cast<long long>(r.events), r.peak);
}

INSTANTIATE_TEST_SUITE_P(Rows, StormTest, ::testing::ValuesIn(kCases), CaseName);

// The same seed in a fresh instance gives the same samples, in every path.
TEST(StormDeterminism, SameInputGivesSameOutput)
{
  for (const StormCase& c : {kCases[3], kCases[10], kCases[15]})
  {
    const StormResult a = Storm(c, 5).Run(0.3);
    const StormResult b = Storm(c, 5).Run(0.3);
    EXPECT_EQ(a.hash, b.hash) << c.rate << " Hz, block " << c.blockSize << ", " << PathName(c.path);
    EXPECT_EQ(a.frames, b.frames);
  }
}
