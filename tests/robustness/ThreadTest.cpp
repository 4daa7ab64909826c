// A second thread changes parameters, gets and sets program and bank chunks and changes
// programs while this thread renders notes in all three process paths, as hosts do from
// their main and audio threads. The output stays finite and both threads finish: a
// watchdog ends the program if either stops making progress (a deadlock). Built with the
// thread sanitizer (preset tsan), the test also shows that the threads share no data
// outside the plug-in mutex.
#include "InProcessHost.h"
#include "synth/ParamIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

namespace
{
namespace P = ParamIndex;
using Clock = std::chrono::steady_clock;

double ThreadSeconds()
{
  const char* text = std::getenv("TG_STORM_SECONDS");
  const double seconds = text ? std::atof(text) : 0.0;
  return seconds > 0.0 ? seconds : 2.0;
}
} // namespace

TEST(ThreadSafety, SecondThreadChangesStateWhileAudioRenders)
{
  constexpr int kBlock = 512;
  InProcessHost host(48000.0, kBlock);
  host.SetParameter(P::kLimitOutput, 1.0f);
  const auto duration = std::chrono::duration<double>(ThreadSeconds());
  std::atomic<bool> stop{false};
  std::atomic<int64_t> blocks{0};
  std::atomic<int64_t> operations{0};

  // Ends the program when neither thread has moved for a long while.
  std::thread watchdog(
      [&]
      {
        int64_t seen = -1;
        auto lastMove = Clock::now();
        while (!stop)
        {
          std::this_thread::sleep_for(std::chrono::milliseconds(50));
          const int64_t now = blocks + operations;
          if (now != seen)
          {
            seen = now;
            lastMove = Clock::now();
          }
          else if (Clock::now() - lastMove > std::chrono::seconds(60))
          {
            std::fprintf(stderr, "no progress for 60 s: deadlock\n");
            std::abort();
          }
        }
      });

  std::thread control(
      [&]
      {
        std::mt19937 rng(23);
        std::vector<uint8_t> program, bank;
        while (!stop)
        {
          const int r = int(rng() % 100);
          if (r < 70)
            host.SetParameter(int(rng() % P::kNumParams), float(rng() % 1001) / 1000.0f);
          else if (r < 75)
            host.GetParameter(int(rng() % P::kNumParams));
          else if (r < 82)
            program = host.GetChunk(false);
          else if (r < 86 && !program.empty())
            host.SetChunk(program, false);
          else if (r < 89)
            bank = host.GetChunk(true);
          else if (r < 91 && !bank.empty())
            host.SetChunk(bank, true);
          else
            host.Dispatch(Vst::effSetProgram, 0, intptr_t(rng() % 128));
          ++operations;
          std::this_thread::yield();
        }
      });

  std::vector<double> dl(kBlock), dr(kBlock);
  std::vector<float> fl(kBlock), fr(kBlock);
  std::mt19937 rng(7);
  int64_t nonFinite = 0;
  double peak = 0.0;
  const auto end = Clock::now() + duration;
  for (int64_t b = 0; Clock::now() < end; ++b)
  {
    if (b % 8 == 0)
      host.Midi(int(rng() % kBlock), 0x90, uint8_t(30 + rng() % 60), 110);
    if (b % 8 == 5)
      host.Midi(int(rng() % kBlock), 0xB0, 123, 0);
    host.SendEvents();
    const auto path = ProcessPath(b % 3);
    const int frames = 1 + int(rng() % kBlock);
    std::fill(fl.begin(), fl.end(), 0.0f);
    std::fill(fr.begin(), fr.end(), 0.0f);
    if (path == ProcessPath::Double)
      host.Process(path, dl.data(), dr.data(), frames);
    else
      host.Process(path, fl.data(), fr.data(), frames);
    for (int k = 0; k < frames; ++k)
    {
      const double l = path == ProcessPath::Double ? dl[size_t(k)] : fl[size_t(k)];
      const double r = path == ProcessPath::Double ? dr[size_t(k)] : fr[size_t(k)];
      nonFinite += std::isfinite(l) && std::isfinite(r) ? 0 : 1;
      peak = std::max({peak, std::fabs(l), std::fabs(r)});
    }
    ++blocks;
  }
  stop = true;
  control.join();
  watchdog.join();
  EXPECT_EQ(nonFinite, 0);
  EXPECT_GT(blocks.load(), 0);
  EXPECT_GT(operations.load(), 0);
  std::printf("%lld blocks rendered while the second thread made %lld changes (peak %.3f)\n",
              static_cast<long long>(blocks.load()), static_cast<long long>(operations.load()),
              peak);
}
