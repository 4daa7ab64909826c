#pragma once
// Chains of phases through a run of samples, many at once. Every chain records its
// phase, moves on by its step and wraps into 0..1 (PolyBLEP::frac), then takes its next
// step from its increments: the same values bit for bit as each chain advanced alone,
// however many advance together. The voices of a pool put their oscillators' and bass
// layers' chains here so that the chains of different voices share vector lanes.

namespace Korvane
{

// A chain of phases through a run: from phase and step, recording each sample's phase
// into phases[j] and taking the next step from incs[j] (j = 0 .. count-1; the step read
// at the last sample is the one in force after the run).
struct PhaseChain
{
  double phase, step;
  const double* incs;
  double* phases;
};

class PhaseChains
{
public:
  static constexpr int kMost = 64;

  // Called from the audio thread, never blocks.
  void clear() noexcept { size = 0; }
  // Appends a chain and returns its index (-1 when all kMost are taken: advance that
  // chain alone with advanceOne).
  int add(const PhaseChain& chain) noexcept
  {
    if (size >= kMost)
      return -1;
    chains[size] = chain;
    return size++;
  }
  // Every chain through count samples (1 .. the length of its arrays); four a vector
  // where the processor has AVX2.
  void advance(int count) noexcept;
  const PhaseChain& operator[](int i) const noexcept { return chains[i]; }
  int getSize() const noexcept { return size; }

  static void advanceOne(PhaseChain& chain, int count) noexcept;

private:
  PhaseChain chains[kMost];
  int size = 0;
};

} // namespace Korvane
