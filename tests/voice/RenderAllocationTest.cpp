// Rendering allocates nothing. This program replaces the global allocation functions with
// ones that forward to malloc and count while counting is switched on; the other tests
// of the program are unaffected.
#include "VoiceTestRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{

std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

void* allocate(std::size_t n)
{
  if (gCounting.load(std::memory_order_relaxed))
    gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1))
    return p;
  throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t n) { return allocate(n); }
void* operator new[](std::size_t n) { return allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
  if (gCounting.load(std::memory_order_relaxed))
    gAllocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

using namespace VoiceTest;
using S = Korvane::SynthParams;

TEST(RenderAllocationTest, RenderingAllocatesNothing)
{
  Rig rig(44100.0, 256);
  // Everything on: three oscillators (PolyBLEP, table, pink noise), unison, FM, LFOs,
  // saturation, bass layer, click, arpeggio, pitch envelope, bends.
  for (int k = 0; k < 3; ++k)
  {
    rig.osc(k, S::kOscOn) = 1.0;
    rig.osc(k, S::kOscVolume) = 0.8;
    rig.osc(k, S::kOscSaturation) = 0.3;
    rig.osc(k, S::kOscLfoToTune) = 0.5;
    rig.osc(k, S::kOscLfoToVolume) = 0.5;
    rig.pool->setLfoFrequency(k, 0.3);
  }
  rig.pool->selectWaveform(1, 12.0 / 39);
  rig.pool->selectWaveform(2, 9.0 / 39);
  rig.pool->setUnisonCount(2);
  rig.pool->setUnisonDetune(0.3);
  rig.pool->setFmAmount(0.4);
  rig.p(S::kBassLayerAmount) = 1.0;
  rig.p(S::kBassLayerClick) = 0.9;
  rig.p(S::kNoteTransposeMode) = 8.0 / 9.0;
  rig.pitchEnvelope.setOnOff(1.0);
  rig.pitchEnvelope.setAmount(0.3);
  Block b(256);
  rig.renderBlock(b, 256); // first touch of everything

  // The counter sees an allocation when there is one.
  gAllocations = 0;
  gCounting = true;
  delete new double(1.0);
  gCounting = false;
  ASSERT_EQ(gAllocations.load(), 1);

  gAllocations = 0;
  gCounting = true;
  for (int block = 0; block < 40; ++block)
  {
    if (block % 4 == 0)
      for (int n = 0; n < 8; ++n)
        rig.pool->noteOn(40 + block + n, 100, n * 7);
    if (block % 4 == 2)
      rig.pool->noteOff(40 + block - 2);
    rig.pool->queuePitchBend(block, block % 2 ? 0.5 : -0.5);
    for (int k = 0; k < 256; ++k)
      rig.pool->renderSample();
    rig.pool->mixBlock(b.targets(), 256);
  }
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);
  EXPECT_GT(rig.pool->activeCount(), 8);
  EXPECT_GT(peak(b.left), 0.0);
}
