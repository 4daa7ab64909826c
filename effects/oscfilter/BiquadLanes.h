#pragma once

#include <type_traits>

namespace Korvane
{

// Up to kLanes direct-form-I biquads whose coefficients hold through a stretch run side
// by side, four a vector, so that their recursions advance together instead of one
// filter's chain of dependent sums after another. Every lane computes what
// TweakedButterworthBiquad::processAt computes after its coefficients are set, operation
// for operation, so the outputs and memories are the same bit for bit.
class BiquadLanes
{
public:
  static constexpr int kLanes = 16;
  static constexpr int kMaxSamples = 64;
  // A filter (anything with the memories x1, x2, y1, y2 and coefficients b0 .. a2 of
  // double type, set for the stretch) and where its samples come from and go to; false
  // when all lanes are taken.
  template <typename Biquad>
  bool add(Biquad& f, const double* input, double* out) noexcept
  {
    if (count == kLanes)
      return false;
    lanes[count++] = {&f.x1, &f.x2, &f.y1, &f.y2, f.b0, f.b1, f.b2, f.a1, f.a2, input, out};
    return true;
  }
  int freeLanes() const noexcept { return kLanes - count; }
  int size() const noexcept { return count; }
  // n samples (at most kMaxSamples) of every lane, then the memories back into the filters.
  void run(int n) noexcept;

private:
  struct Lane
  {
    double *x1, *x2, *y1, *y2;
    double b0, b1, b2, a1, a2;
    const double* input;
    double* out;
  };
  Lane lanes[kLanes];
  int count = 0;

public:
  // Lanes first .. first + W - 1 (those there are) held in the registers of one group of
  // W = 2 or 4, which run() steps through a stretch, or another kernel beside its own
  // lanes so that the two recursions overlap: load, step(j) for each sample j, store.
  // Missing lanes filter silence into a sink. The narrow group suits a kernel of
  // two-double vectors with one or two biquads beside it.
  using Vector2 = double __attribute__((vector_size(2 * sizeof(double))));
  using Vector4 = double __attribute__((vector_size(4 * sizeof(double))));
  template <int W>
  struct GroupOf
  {
    static_assert(W == 2 || W == 4);
    static constexpr int kWidth = W;
    using Vector = std::conditional_t<W == 2, Vector2, Vector4>;
    // What a stretch steps through, which a kernel copies into registers.
    struct Steps
    {
      const double* input[W];
      double* out[W];
      Vector b0, b1, b2, a1, a2, x1, x2, y1, y2;
      void step(int j) noexcept
      {
        Vector x;
#pragma GCC unroll 4
        for (int h = 0; h < W; ++h)
          x[h] = input[h][j];
        const Vector y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
#pragma GCC unroll 4
        for (int h = 0; h < W; ++h)
          out[h][j] = y[h];
      }
    } steps;
    double* memory[W][4];
    double sink[kMaxSamples]; // the missing lanes' samples
    double spare[4];          // and memories

    void load(const BiquadLanes& from, int first) noexcept;
    void step(int j) noexcept { steps.step(j); }
    void store() const noexcept;
  };
  using Group = GroupOf<4>;
  // Forgets the lanes (their filters were run through a Group).
  void clear() noexcept { count = 0; }
};

} // namespace Korvane
