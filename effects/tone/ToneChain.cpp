#include "effects/tone/ToneChain.h"

#include <algorithm>

#include "dsp/CpuFeatures.h"
#include "dsp/Lanes.h"
#include "dsp/Quads.h"
#include "effects/tone/DumpExpand.h"
#include "effects/tone/Equalizer.h"

namespace Korvane
{

// The kernels below pass four-double vectors between functions that are all inlined
// into one of the two compiled loops, so no call with a vector argument is made across
// the instruction sets.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace
{

using Dsp::highPair;
using Dsp::joinPairs;
using Dsp::lowPair;
using Dsp::Pair;
using Dsp::PairMask;
using Dsp::Quad;
using Dsp::QuadMask;
using Dsp::selectLanes;

// The chain's filters, each Direct Form I section in two lanes (left, right) of a
// four-lane vector:
// - kShelves: the equaliser's low shelf, then its high shelf;
// - kMid: the two sections of the equaliser's mid band (its band-pass or band-stop),
//   which works on the unshelved input (only while the mid path is heard);
// - kDumps: the dump/expand's low-pass, then its high-pass.
// Each vector is [first section left, right, second section left, right].
//
// The sections form a pipeline: each works kLag samples behind the one before it, so in
// one step the low shelf and the mid band's first section take sample t, the high shelf
// and the second section t - 2, the low-pass t - 4 and the high-pass t - 6. Every input of
// a step was computed at least two steps earlier, so a vector never waits on the one
// computed in the step just before it, and each section's own recursion is all that
// bounds the speed. Each lane computes exactly what its filter's ChannelState computes for
// its channel alone.
constexpr int kLag = 2;
constexpr int kDepth = 3 * kLag; // steps from the low shelf's sample to the high-pass's
constexpr int kShelves = 0, kMid = 1, kDumps = 2, kVectors = 3;

struct Sections
{
  Quad b0[kVectors], b1[kVectors], b2[kVectors], a1[kVectors], a2[kVectors];
  Quad x1[kVectors], x2[kVectors], y1[kVectors], y2[kVectors], guard[kVectors];
  // The guards that change sign on every step: a ChannelState's first section's. Its
  // later sections add a guard of +0.
  QuadMask flip[kVectors];
};

// Where one vector's lanes come from: the sections' coefficients and memories.
struct VectorSource
{
  const Dsp::Biquad* first;
  const Dsp::Biquad* second;
  Dsp::DirectFormI* stages[4];
};

// The two one-section filters `first` and `second` of a stereo design pair.
template <class First, class Second>
VectorSource twoFilters(First& first, Second& second)
{
  auto& a = first.getState(0);
  auto& b = first.getState(1);
  auto& c = second.getState(0);
  auto& d = second.getState(1);
  return {&first.getDesign()[0],
          &second.getDesign()[0],
          {&a.getStage(0), &b.getStage(0), &c.getStage(0), &d.getStage(0)}};
}

// The two sections of one stereo two-section design.
template <class Design>
VectorSource twoSections(Design& design)
{
  auto& a = design.getState(0);
  auto& b = design.getState(1);
  return {&design.getDesign()[0],
          &design.getDesign()[1],
          {&a.getStage(0), &b.getStage(0), &a.getStage(1), &b.getStage(1)}};
}

void loadVector(Sections& s, int v, const VectorSource& from, const double (&guards)[4])
{
  const Dsp::Biquad& p = *from.first;
  const Dsp::Biquad& q = *from.second;
  s.b0[v] = Quad{p.b0, p.b0, q.b0, q.b0};
  s.b1[v] = Quad{p.b1, p.b1, q.b1, q.b1};
  s.b2[v] = Quad{p.b2, p.b2, q.b2, q.b2};
  s.a1[v] = Quad{p.a1, p.a1, q.a1, q.a1};
  s.a2[v] = Quad{p.a2, p.a2, q.a2, q.a2};
  Quad* memories[4] = {&s.x1[v], &s.x2[v], &s.y1[v], &s.y2[v]};
  for (int k = 0; k < 4; ++k)
    for (int lane = 0; lane < 4; ++lane)
      (*memories[k])[lane] = from.stages[lane]->memoryAt(k);
  const long long sign = static_cast<long long>(0x8000000000000000ull);
  for (int lane = 0; lane < 4; ++lane)
  {
    s.guard[v][lane] = guards[lane];
    s.flip[v][lane] = Dsp::sameBits(guards[lane], 0.0) ? 0 : sign;
  }
}

void storeVector(const Sections& s, int v, const VectorSource& to, double (&guards)[4])
{
  const Quad* memories[4] = {&s.x1[v], &s.x2[v], &s.y1[v], &s.y2[v]};
  for (int k = 0; k < 4; ++k)
    for (int lane = 0; lane < 4; ++lane)
      to.stages[lane]->memoryAt(k) = (*memories[k])[lane];
  for (int lane = 0; lane < 4; ++lane)
    guards[lane] = s.guard[v][lane];
}

// One sample of each lane's section, as DirectFormI::process1 computes it with the
// coefficients of `k` and the memories of `s`, adding `guard`. Masked: only the lanes set
// in `live` advance their memories.
template <bool Masked>
__attribute__((always_inline)) inline Quad section(Sections& s, const Sections& k, int v, Quad in,
                                                   QuadMask live, Quad guard)
{
  const Quad out = k.b0[v] * in + k.b1[v] * s.x1[v] + k.b2[v] * s.x2[v] - k.a1[v] * s.y1[v] -
                   k.a2[v] * s.y2[v] + guard;
  if constexpr (Masked)
  {
    s.x2[v] = selectLanes(live, s.x1[v], s.x2[v]);
    s.x1[v] = selectLanes(live, in, s.x1[v]);
    s.y2[v] = selectLanes(live, s.y1[v], s.y2[v]);
    s.y1[v] = selectLanes(live, out, s.y1[v]);
  }
  else
  {
    (void)live;
    s.x2[v] = s.x1[v];
    s.x1[v] = in;
    s.y2[v] = s.y1[v];
    s.y1[v] = out;
  }
  return out;
}

// What the steps carry from one to the next: the vectors' outputs of the last two steps
// and the equaliser's output (before the dump/expand) of the same steps' samples, the
// older one first.
static_assert(kLag == 2, "Carried keeps the outputs of exactly two steps");
struct Carried
{
  Quad older[kVectors] = {}, last[kVectors] = {};
  Pair tonedOlder = {}, tonedLast = {};
  PairMask eqFinite = PairMask{} - 1, dumpFinite = PairMask{} - 1;
};

// The blend of the equaliser's paths, as the equaliser computes it. Both units run fully
// wet here: each blends its output x with the dry sample d as 0 * d + x, which is the
// units' (1 - wet) * d + wet * x at a wet of exactly 1, bit for bit.
struct Blend
{
  double midKeep, midWeight; // MidPath: shelved * midKeep + mid band * midWeight
};

// All ones in the first section's lanes if `first`, in the second's if `second`.
__attribute__((always_inline)) inline QuadMask liveLanes(bool first, bool second)
{
  const long long a = first ? -1 : 0, z = second ? -1 : 0;
  return QuadMask{a, a, z, z};
}

// Step t of the pipeline over `frames` samples. Masked steps are those at either end,
// where a section's sample lies outside the block: its lanes neither advance nor count.
// Unchecked (only for a block of finite samples, and not for masked steps) leaves out
// what a finite sample and finite filter outputs make no difference to: the tests for
// finite outputs and the replacement of non-finite filter inputs by 0. The caller then
// checks the filters' memories after the block instead (see processToneChain).
template <bool Masked, bool MidPath, bool Checked = true>
__attribute__((always_inline)) inline void step(Sections& s, const Sections& k, Carried& c,
                                                double* left, double* right, int t, int frames,
                                                const Blend& b, const Quad (&guard)[kVectors])
{
  const auto inside = [frames](int sample) { return !Masked || (sample >= 0 && sample < frames); };
  const auto at = [&](int sample) {
    return inside(sample) ? Pair{left[sample], right[sample]} : Pair{};
  };
  // The equaliser's output of sample t - 2 * kLag, computed kLag steps ago, blended as
  // Equalizer::process blends it; a non-finite input never enters a filter.
  const Pair shelved = highPair(c.older[kShelves]);
  Pair equalised = shelved;
  PairMask finite = Dsp::finiteLanes(shelved);
  if constexpr (MidPath)
  {
    const Pair band = highPair(c.older[kMid]);
    finite &= Dsp::finiteLanes(band);
    equalised = b.midKeep * shelved + b.midWeight * band;
  }
  constexpr bool kChecks = Checked || Masked;
  if (kChecks && inside(t - 2 * kLag))
    c.eqFinite &= finite;
  const Pair toned = 0.0 * at(t - 2 * kLag) + equalised;
  const Pair input = kChecks ? Dsp::finiteOrZero(at(t)) : at(t);
  const Quad shelvesIn = joinPairs(input, lowPair(c.older[kShelves]));
  const Quad midIn = joinPairs(input, lowPair(c.older[kMid]));
  const Quad dumpsIn =
      joinPairs(kChecks ? Dsp::finiteOrZero(toned) : toned, lowPair(c.older[kDumps]));
  QuadMask firstLive{}, dumpsLive{};
  if constexpr (Masked)
  {
    firstLive = liveLanes(inside(t), inside(t - kLag));
    dumpsLive = liveLanes(inside(t - 2 * kLag), inside(t - kDepth));
  }
  for (int v = 0; v < kVectors; ++v)
    c.older[v] = c.last[v];
  c.last[kShelves] = section<Masked>(s, k, kShelves, shelvesIn, firstLive, guard[kShelves]);
  if constexpr (MidPath)
    c.last[kMid] = section<Masked>(s, k, kMid, midIn, firstLive, guard[kMid]);
  c.last[kDumps] = section<Masked>(s, k, kDumps, dumpsIn, dumpsLive, guard[kDumps]);
  // The high-pass's output of sample t - kDepth, blended with the equaliser's output of
  // that sample as DumpExpand::process blends it.
  const int done = t - kDepth;
  const Pair tonedDone = c.tonedOlder;
  c.tonedOlder = c.tonedLast;
  c.tonedLast = toned;
  if (inside(done))
  {
    const Pair swept = highPair(c.last[kDumps]);
    if constexpr (kChecks)
      c.dumpFinite &= Dsp::finiteLanes(swept);
    const Pair out = 0.0 * tonedDone + swept;
    left[done] = out[0];
    right[done] = out[1];
  }
}

// One step at either end: the first sections' guards change sign on every step, a masked
// one's too, as each section sits out an even number of steps at either end of the block
// (a multiple of kLag) and so ends the block with the guard its own samples leave.
template <bool MidPath>
__attribute__((always_inline)) inline void maskedStep(Sections& s, Carried& c, double* left,
                                                      double* right, int t, int frames,
                                                      const Blend& blend)
{
  const Quad guard[kVectors] = {s.guard[0], s.guard[1], s.guard[2]};
  step<true, MidPath>(s, s, c, left, right, t, frames, blend, guard);
  for (int v = 0; v < kVectors; ++v)
    s.guard[v] = Quad(QuadMask(s.guard[v]) ^ s.flip[v]);
}

template <bool MidPath, bool Checked>
__attribute__((always_inline)) inline void runSteps(Sections& state, Carried& carried, double* left,
                                                    double* right, int frames, const Blend& blend)
{
  // Local copies, so that the recursions stay in registers.
  Sections s = state;
  Carried c = carried;
  const int steps = frames + kDepth;
  const int settledFrom = kDepth, settledTo = frames > kDepth ? frames : kDepth;
  int t = 0;
  for (; t < settledFrom; ++t)
    maskedStep<MidPath>(s, c, left, right, t, frames, blend);
  // The settled steps two at a time, with the guards of even and odd steps (t starts
  // even) and the coefficients read from memory on each step, which leaves the registers
  // to the memories and the carried outputs.
  struct Constants
  {
    Sections k;
    Quad even[kVectors], odd[kVectors];
  } constants{s, {}, {}};
  for (int v = 0; v < kVectors; ++v)
  {
    constants.even[v] = s.guard[v];
    constants.odd[v] = Quad(QuadMask(s.guard[v]) ^ s.flip[v]);
  }
  const Constants* k = &constants;
  for (; t + 2 <= settledTo; t += 2)
  {
    asm("" : "+r"(k)); // read anew on every step: not held in registers
    step<false, MidPath, Checked>(s, k->k, c, left, right, t, frames, blend, k->even);
    step<false, MidPath, Checked>(s, k->k, c, left, right, t + 1, frames, blend, k->odd);
  }
  if (t < settledTo)
  {
    step<false, MidPath, Checked>(s, k->k, c, left, right, t, frames, blend, k->even);
    ++t;
    for (int v = 0; v < kVectors; ++v)
      s.guard[v] = constants.odd[v];
  }
  for (; t < steps; ++t)
    maskedStep<MidPath>(s, c, left, right, t, frames, blend);
  state = s;
  carried = c;
}

// runSteps with the mid path and the checks chosen at run time.
__attribute__((always_inline)) inline void runStepsOf(Sections& s, Carried& c, double* left,
                                                      double* right, int frames, const Blend& blend,
                                                      bool midPath, bool checked)
{
  if (midPath && checked)
    runSteps<true, true>(s, c, left, right, frames, blend);
  else if (midPath)
    runSteps<true, false>(s, c, left, right, frames, blend);
  else if (checked)
    runSteps<false, true>(s, c, left, right, frames, blend);
  else
    runSteps<false, false>(s, c, left, right, frames, blend);
}

void runStepsDefault(Sections& s, Carried& c, double* left, double* right, int frames,
                     const Blend& blend, bool midPath, bool checked)
{
  runStepsOf(s, c, left, right, frames, blend, midPath, checked);
}

// The same steps with the vectors four doubles wide, for processors with AVX2 (no fused
// multiply-adds: the same bits).
__attribute__((target("avx2"))) void runStepsAvx2(Sections& s, Carried& c, double* left,
                                                  double* right, int frames, const Blend& blend,
                                                  bool midPath, bool checked)
{
  runStepsOf(s, c, left, right, frames, blend, midPath, checked);
}

// The same four-double steps with AVX-512's 32 vector registers, which hold every
// section's memories and the carried outputs through the loop.
__attribute__((target("avx2,avx512f,avx512vl"))) void runStepsAvx512(Sections& s, Carried& c,
                                                                     double* left, double* right,
                                                                     int frames, const Blend& blend,
                                                                     bool midPath, bool checked)
{
  runStepsOf(s, c, left, right, frames, blend, midPath, checked);
}

// Whether the last outputs of every section the block ran are finite. A section's output
// once infinite or undefined makes each later one so (its memories feed back through
// products that stay infinite or undefined), so with finite last outputs every output of
// the block was finite, and so was every filter input the unchecked steps took as it
// came: an input that was not would have made the next section's outputs non-finite.
bool lastOutputsFinite(const Sections& s, bool midPath)
{
  PairMask finite = PairMask{} - 1;
  for (int v = 0; v < kVectors; ++v)
    if (v != kMid || midPath)
      finite &= Dsp::finiteLanes(lowPair(s.y1[v])) & Dsp::finiteLanes(highPair(s.y1[v]));
  return Dsp::allLanes(finite);
}

} // namespace

bool processToneChain(Equalizer& eq, DumpExpand& dump, double* left, double* right, int frames,
                      Dsp::Kernel widest)
{
  if (left == nullptr || right == nullptr || frames <= 0 || frames > Equalizer::kBufferSize ||
      !(left + frames <= right || right + frames <= left) || frames > DumpExpand::kBufferSize ||
      eq.wet != 1.0 || dump.wet != 1.0 || dump.bypassFilters != 0 || eq.lowShelf.isGliding() ||
      eq.highShelf.isGliding() || dump.lowPass.isGliding() || dump.highPass.isGliding())
    return false;
  // The mid band heard (its band-pass above the centre, its band-stop below), handed to
  // `use`.
  const bool midPath = eq.midValue != 0.5;
  const auto withBand = [&eq](auto&& use)
  {
    if (eq.midValue > 0.5)
      return use(eq.bandPass);
    return use(eq.bandStop);
  };
  if (midPath &&
      withBand([](auto& band) { return band.isGliding() || band.getDesign().getNumStages() != 2; }))
    return false;
  const auto oneSection = [](const auto& design) { return design.getDesign().getNumStages() == 1; };
  if (!oneSection(eq.lowShelf) || !oneSection(eq.highShelf) || !oneSection(dump.lowPass) ||
      !oneSection(dump.highPass))
    return false;

  // Each vector's sections and the guards its lanes hold: a first section's is its
  // ChannelState's, a later section's +0. Without the mid path its vector stands idle on a
  // copy of the shelves and is not stored back.
  const VectorSource sources[kVectors] = {
      twoFilters(eq.lowShelf, eq.highShelf),
      midPath ? withBand([](auto& band) { return twoSections(band); })
              : twoFilters(eq.lowShelf, eq.highShelf),
      twoFilters(dump.lowPass, dump.highPass)};
  const auto pairGuards = [](auto& first, auto& second, double(&into)[4])
  {
    into[0] = first.getState(0).getGuard();
    into[1] = first.getState(1).getGuard();
    into[2] = second.getState(0).getGuard();
    into[3] = second.getState(1).getGuard();
  };
  double guards[kVectors][4] = {};
  pairGuards(eq.lowShelf, eq.highShelf, guards[kShelves]);
  pairGuards(dump.lowPass, dump.highPass, guards[kDumps]);
  if (midPath)
    withBand(
        [&guards](auto& band)
        {
          guards[kMid][0] = band.getState(0).getGuard();
          guards[kMid][1] = band.getState(1).getGuard();
        });

  Sections s;
  for (int v = 0; v < kVectors; ++v)
    loadVector(s, v, sources[v], guards[v]);
  Blend blend{1.0, 0.0};
  if (midPath)
    eq.midWeights(blend.midKeep, blend.midWeight);
  const auto run = [&](Carried& c, bool checked)
  {
    if (Dsp::kHasAvx512 && widest >= Dsp::Kernel::Avx512)
      runStepsAvx512(s, c, left, right, frames, blend, midPath, checked);
    else if (Dsp::kHasAvx2 && widest >= Dsp::Kernel::Avx2)
      runStepsAvx2(s, c, left, right, frames, blend, midPath, checked);
    else
      runStepsDefault(s, c, left, right, frames, blend, midPath, checked);
  };
  // A block of finite samples runs without the per-sample tests; should an output have
  // turned out infinite or undefined, the block runs again from the same start with them.
  Carried c;
  double keptLeft[Equalizer::kBufferSize], keptRight[Equalizer::kBufferSize];
  if (Dsp::copyAllFinite(left, keptLeft, frames) && Dsp::copyAllFinite(right, keptRight, frames))
  {
    const Sections kept = s;
    run(c, false);
    if (!lastOutputsFinite(s, midPath))
    {
      s = kept;
      c = Carried{};
      std::copy_n(keptLeft, frames, left);
      std::copy_n(keptRight, frames, right);
      run(c, true);
    }
  }
  else
    run(c, true);

  for (int v = 0; v < kVectors; ++v)
    if (v != kMid || midPath)
      storeVector(s, v, sources[v], guards[v]);
  const auto storeGuards = [](auto& first, auto& second, const double(&from)[4])
  {
    first.getState(0).setGuard(from[0]);
    first.getState(1).setGuard(from[1]);
    second.getState(0).setGuard(from[2]);
    second.getState(1).setGuard(from[3]);
  };
  storeGuards(eq.lowShelf, eq.highShelf, guards[kShelves]);
  storeGuards(dump.lowPass, dump.highPass, guards[kDumps]);
  if (midPath)
    withBand(
        [&guards](auto& band)
        {
          band.getState(0).setGuard(guards[kMid][0]);
          band.getState(1).setGuard(guards[kMid][1]);
        });

  // A filter whose output ran away is cleared after the block, as each unit does.
  if (!Dsp::allLanes(c.eqFinite))
    eq.reset();
  if (!Dsp::allLanes(c.dumpFinite))
    dump.reset();
  return true;
}

} // namespace Korvane
