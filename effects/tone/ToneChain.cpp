#include "effects/tone/ToneChain.h"

#include "dsp/CpuFeatures.h"
#include "dsp/Lanes.h"
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

using Dsp::Pair;
using Dsp::PairMask;

// Four doubles side by side (one AVX vector, or two SSE2 vectors where the processor has
// no AVX): two stereo pairs, the low pair in lanes 0 and 1.
using Quad = double __attribute__((vector_size(4 * sizeof(double))));
using QuadMask = long long __attribute__((vector_size(4 * sizeof(double))));

__attribute__((always_inline)) inline Quad joinPairs(Pair low, Pair high)
{
  return __builtin_shufflevector(low, high, 0, 1, 2, 3);
}
__attribute__((always_inline)) inline Pair lowPair(Quad v) { return __builtin_shufflevector(v, v, 0, 1); }
__attribute__((always_inline)) inline Pair highPair(Quad v) { return __builtin_shufflevector(v, v, 2, 3); }
__attribute__((always_inline)) inline Quad selectLanes(QuadMask m, Quad v, Quad w)
{
  return Quad((QuadMask(v) & m) | (QuadMask(w) & ~m));
}

// The chain's four filters, each of one Direct Form I section: the equaliser's shelves in
// the lanes of vector 0, the dump/expand's low- and high-pass in those of vector 1, each
// vector [first filter left, right, second filter left, right].
//
// The filters form a pipeline: each works kLag samples behind the one before it, so in one
// step the low shelf takes sample t, the high shelf t - 2, the low-pass t - 4 and the
// high-pass t - 6. Every input of a step was computed at least two steps earlier, so a
// vector never waits on the one computed in the step just before it, and each filter's
// own recursion is all that bounds the speed. Each lane computes exactly what its filter's
// ChannelState computes for its channel alone.
constexpr int kLag = 2;
constexpr int kDepth = 3 * kLag; // steps from the low shelf's sample to the high-pass's

struct Sections
{
  Quad b0[2], b1[2], b2[2], a1[2], a2[2];
  Quad x1[2], x2[2], y1[2], y2[2], guard[2];
};

template <class Design>
using StateOf = typename Design::State;

template <class Design>
const Dsp::Biquad& sectionOf(const Design& d)
{
  return d.getDesign()[0];
}

void loadVector(Sections& s, int v, const Dsp::Biquad& first, const Dsp::Biquad& second,
                Dsp::DirectFormI* const (&stages)[4], const double (&guards)[4])
{
  s.b0[v] = Quad{first.b0, first.b0, second.b0, second.b0};
  s.b1[v] = Quad{first.b1, first.b1, second.b1, second.b1};
  s.b2[v] = Quad{first.b2, first.b2, second.b2, second.b2};
  s.a1[v] = Quad{first.a1, first.a1, second.a1, second.a1};
  s.a2[v] = Quad{first.a2, first.a2, second.a2, second.a2};
  Quad* memories[4] = {&s.x1[v], &s.x2[v], &s.y1[v], &s.y2[v]};
  for (int k = 0; k < 4; ++k)
    for (int lane = 0; lane < 4; ++lane)
      (*memories[k])[lane] = stages[lane]->memoryAt(k);
  s.guard[v] = Quad{guards[0], guards[1], guards[2], guards[3]};
}

void storeVector(const Sections& s, int v, Dsp::DirectFormI* const (&stages)[4], double (&guards)[4])
{
  const Quad* memories[4] = {&s.x1[v], &s.x2[v], &s.y1[v], &s.y2[v]};
  for (int k = 0; k < 4; ++k)
    for (int lane = 0; lane < 4; ++lane)
      stages[lane]->memoryAt(k) = (*memories[k])[lane];
  for (int lane = 0; lane < 4; ++lane)
    guards[lane] = s.guard[v][lane];
}

// One sample of each lane's section, as DirectFormI::process1 and ChannelState's guard
// flip compute it. Masked: only the lanes set in `live` advance their memories.
template <bool Masked>
__attribute__((always_inline)) inline Quad section(Sections& s, int v, Quad in, QuadMask live)
{
  const Quad out = s.b0[v] * in + s.b1[v] * s.x1[v] + s.b2[v] * s.x2[v] - s.a1[v] * s.y1[v] -
                   s.a2[v] * s.y2[v] + s.guard[v];
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
  // Every lane's guard changes sign on every step, the masked ones too: each filter sits
  // out an even number of steps at either end of the block (a multiple of kLag), so its
  // guard ends the block as its own samples leave it.
  s.guard[v] = -s.guard[v];
  return out;
}

// What the steps carry from one to the next: the two vectors' outputs of the last two
// steps and the equaliser's output (before the dump/expand) of the same steps' samples,
// the older one first.
static_assert(kLag == 2, "Carried keeps the outputs of exactly two steps");
struct Carried
{
  Quad shelvesOlder = {}, shelvesLast = {}, dumpsOlder = {}, dumpsLast = {};
  Pair tonedOlder = {}, tonedLast = {};
  PairMask eqFinite = PairMask{} - 1, dumpFinite = PairMask{} - 1;
};

// Step t of the pipeline over `frames` samples. Masked steps are those at either end,
// where a filter's sample lies outside the block: its lanes neither advance nor count.
template <bool Masked>
__attribute__((always_inline)) inline void step(Sections& s, Carried& c, double* left,
                                                double* right, int t, int frames, double eqWet,
                                                double dumpWet)
{
  const auto inside = [frames](int sample) { return !Masked || (sample >= 0 && sample < frames); };
  const auto at = [&](int sample) { return inside(sample) ? Pair{left[sample], right[sample]} : Pair{}; };
  // The equaliser's output of sample t - 2 * kLag, computed kLag steps ago, blended as
  // Equalizer::process blends it; a non-finite input never enters a filter.
  const Pair shelved = highPair(c.shelvesOlder);
  if (inside(t - 2 * kLag))
    c.eqFinite &= Dsp::finiteLanes(shelved);
  const Pair toned = (1.0 - eqWet) * at(t - 2 * kLag) + eqWet * shelved;
  const Quad shelvesIn = joinPairs(Dsp::finiteOrZero(at(t)), lowPair(c.shelvesOlder));
  const Quad dumpsIn = joinPairs(Dsp::finiteOrZero(toned), lowPair(c.dumpsOlder));
  QuadMask shelvesLive{}, dumpsLive{};
  if constexpr (Masked)
  {
    const long long on = -1;
    shelvesLive = QuadMask{inside(t) ? on : 0, inside(t) ? on : 0, inside(t - kLag) ? on : 0,
                           inside(t - kLag) ? on : 0};
    dumpsLive = QuadMask{inside(t - 2 * kLag) ? on : 0, inside(t - 2 * kLag) ? on : 0,
                         inside(t - kDepth) ? on : 0, inside(t - kDepth) ? on : 0};
  }
  c.shelvesOlder = c.shelvesLast;
  c.shelvesLast = section<Masked>(s, 0, shelvesIn, shelvesLive);
  c.dumpsOlder = c.dumpsLast;
  c.dumpsLast = section<Masked>(s, 1, dumpsIn, dumpsLive);
  // The high-pass's output of sample t - kDepth, blended with the equaliser's output of
  // that sample as DumpExpand::process blends it.
  const int done = t - kDepth;
  const Pair tonedDone = c.tonedOlder;
  c.tonedOlder = c.tonedLast;
  c.tonedLast = toned;
  if (inside(done))
  {
    const Pair swept = highPair(c.dumpsLast);
    c.dumpFinite &= Dsp::finiteLanes(swept);
    const Pair out = (1.0 - dumpWet) * tonedDone + dumpWet * swept;
    left[done] = out[0];
    right[done] = out[1];
  }
}

__attribute__((always_inline)) inline void runSteps(Sections& state, Carried& carried,
                                                    double* left, double* right, int frames,
                                                    double eqWet, double dumpWet)
{
  // Local copies, so that the recursions stay in registers.
  Sections s = state;
  Carried c = carried;
  const int steps = frames + kDepth;
  const int settledFrom = kDepth, settledTo = frames > kDepth ? frames : kDepth;
  int t = 0;
  for (; t < settledFrom; ++t)
    step<true>(s, c, left, right, t, frames, eqWet, dumpWet);
  for (; t < settledTo; ++t)
    step<false>(s, c, left, right, t, frames, eqWet, dumpWet);
  for (; t < steps; ++t)
    step<true>(s, c, left, right, t, frames, eqWet, dumpWet);
  state = s;
  carried = c;
}

void runStepsDefault(Sections& s, Carried& c, double* left, double* right, int frames,
                     double eqWet, double dumpWet)
{
  runSteps(s, c, left, right, frames, eqWet, dumpWet);
}

// The same steps with the vectors four doubles wide, for processors with AVX2 (no fused
// multiply-adds: the same bits).
__attribute__((target("avx2"))) void runStepsAvx2(Sections& s, Carried& c, double* left,
                                                  double* right, int frames, double eqWet,
                                                  double dumpWet)
{
  runSteps(s, c, left, right, frames, eqWet, dumpWet);
}

} // namespace

bool processToneChain(Equalizer& eq, DumpExpand& dump, double* left, double* right, int frames)
{
  if (left == nullptr || right == nullptr || frames <= 0 || frames > Equalizer::kBufferSize ||
      !(left + frames <= right || right + frames <= left) || frames > DumpExpand::kBufferSize ||
      eq.wet != 1.0 || dump.wet != 1.0 || eq.midValue != 0.5 || dump.bypassFilters != 0 ||
      eq.lowShelf.isGliding() || eq.highShelf.isGliding() || dump.lowPass.isGliding() ||
      dump.highPass.isGliding())
    return false;
  if (eq.lowShelf.getDesign().getNumStages() != 1 || eq.highShelf.getDesign().getNumStages() != 1 ||
      dump.lowPass.getDesign().getNumStages() != 1 || dump.highPass.getDesign().getNumStages() != 1)
    return false;
  using LowShelf = StateOf<Equalizer::LowShelfDesign>;
  using HighShelf = StateOf<Equalizer::HighShelfDesign>;
  using LowPass = StateOf<DumpExpand::LowPassDesign>;
  using HighPass = StateOf<DumpExpand::HighPassDesign>;
  LowShelf* lowShelf[2] = {&eq.lowShelf.getState(0), &eq.lowShelf.getState(1)};
  HighShelf* highShelf[2] = {&eq.highShelf.getState(0), &eq.highShelf.getState(1)};
  LowPass* lowPass[2] = {&dump.lowPass.getState(0), &dump.lowPass.getState(1)};
  HighPass* highPass[2] = {&dump.highPass.getState(0), &dump.highPass.getState(1)};
  Dsp::DirectFormI* const shelfStages[4] = {&lowShelf[0]->getStage(0), &lowShelf[1]->getStage(0),
                                            &highShelf[0]->getStage(0), &highShelf[1]->getStage(0)};
  Dsp::DirectFormI* const dumpStages[4] = {&lowPass[0]->getStage(0), &lowPass[1]->getStage(0),
                                           &highPass[0]->getStage(0), &highPass[1]->getStage(0)};
  double shelfGuards[4] = {lowShelf[0]->getGuard(), lowShelf[1]->getGuard(),
                           highShelf[0]->getGuard(), highShelf[1]->getGuard()};
  double dumpGuards[4] = {lowPass[0]->getGuard(), lowPass[1]->getGuard(), highPass[0]->getGuard(),
                          highPass[1]->getGuard()};

  Sections s;
  loadVector(s, 0, sectionOf(eq.lowShelf), sectionOf(eq.highShelf), shelfStages, shelfGuards);
  loadVector(s, 1, sectionOf(dump.lowPass), sectionOf(dump.highPass), dumpStages, dumpGuards);
  Carried c;
  if (Dsp::kHasAvx2)
    runStepsAvx2(s, c, left, right, frames, eq.wet, dump.wet);
  else
    runStepsDefault(s, c, left, right, frames, eq.wet, dump.wet);
  storeVector(s, 0, shelfStages, shelfGuards);
  storeVector(s, 1, dumpStages, dumpGuards);
  lowShelf[0]->setGuard(shelfGuards[0]);
  lowShelf[1]->setGuard(shelfGuards[1]);
  highShelf[0]->setGuard(shelfGuards[2]);
  highShelf[1]->setGuard(shelfGuards[3]);
  lowPass[0]->setGuard(dumpGuards[0]);
  lowPass[1]->setGuard(dumpGuards[1]);
  highPass[0]->setGuard(dumpGuards[2]);
  highPass[1]->setGuard(dumpGuards[3]);

  // A filter whose output ran away is cleared after the block, as each unit does.
  if (!Dsp::allLanes(c.eqFinite))
    eq.reset();
  if (!Dsp::allLanes(c.dumpFinite))
    dump.reset();
  return true;
}

} // namespace Korvane
