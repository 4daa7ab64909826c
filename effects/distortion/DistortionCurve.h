#pragma once

#include "dsp/Lanes.h"
#include "dsp/Quads.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <string_view>

namespace Korvane
{

// One 512-point transfer curve over the input range -1..+1: point k is the output for
// the input x_k = 2k/511 - 1, so point 0 is x = -1, point 511 is x = +1 and points 255
// and 256 straddle zero. Built as the identity. The distortion, the saturators and the
// curve editor read it through `lookup`; the curve menu edits it through the commands.
class DistortionCurve
{
public:
  static constexpr int kLength = 512;
  static constexpr double kSpan = kLength - 1;

  enum Interpolation
  {
    kNoInterpolation = 0,
    kLinear = 1,
    kCosine = 2,
    kCubic = 3,
    kHermite = 4
  };

  // Codes of the curve menu (the restore button sends kRestore).
  enum Command
  {
    kRestore = 0,
    kSmooth = 1,
    kAddNoise = 3,
    kSmoothZeroCrossing = 8,
    kResetLinear = 12
  };

  using Points = std::array<double, kLength>;

  Points points{};
  int interpolation = kHermite;
  std::string name;

  DistortionCurve();

  // --- Called from the audio thread, never blocks or allocates --------------------

  // The curve's output for input x (clamped to -1..+1; NaN reads as 0), interpolated
  // between neighbouring points by `interpolation`: 0 none, 1 linear, 2 cosine,
  // 4 Hermite, any other value cubic.
  // Inline for the block loops; the linear curve (the saturator's) is read here, the
  // other interpolations by lookupAt.
  double lookup(double x) const
  {
    if (std::isnan(x))
      x = 0.0;
    x = std::clamp(x, -1.0, 1.0);
    const double pos = (x + 1.0) * 0.5 * kSpan;
    const int i = static_cast<int>(pos); // 0..511, pos is never negative
    const double t = pos - i;
    const int next = std::min(i + 1, kLength - 1);
    if (interpolation == kLinear)
      return (1.0 - t) * points[i] + t * points[next];
    return lookupAt(i, t, next);
  }

  // The functions down to interpolate take vectors of any width; the AVX2 block loops
  // only ever inline them, so that no call passes a vector across the instruction sets.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

  // Hermite interpolation (tension 0, bias 0) between y1 and y2 at t, of doubles or of
  // pairs lane by lane.
  template <typename T>
  static T hermite(T y0, T y1, T y2, T y3, T t)
  {
    const T m0 = ((y1 - y0) + (y2 - y1)) / 2.0;
    const T m1 = ((y2 - y1) + (y3 - y2)) / 2.0;
    const T t2 = t * t;
    const T t3 = t2 * t;
    return (2.0 * t3 - 3.0 * t2 + 1.0) * y1 + (t3 - 2.0 * t2 + t) * m0 + (t3 - t2) * m1 +
           (-2.0 * t3 + 3.0 * t2) * y2;
  }

  // The points with the end values repeated, one before point 0 and two after point
  // 511: the neighbours lookupLanes reads, without bounds to check.
  using PaddedPoints = std::array<double, kLength + 3>;
  void padPoints(PaddedPoints& into) const
  {
    into[0] = points[0];
    std::copy(points.begin(), points.end(), into.begin() + 1);
    into[kLength + 1] = into[kLength + 2] = points[kLength - 1];
  }

  // lookup of two inputs at once on the padded points, lane by lane the same bits as
  // lookup with `interpolation` == Mode (Mode kCubic standing for every value that
  // interpolates cubically), so that a block loop chooses the interpolation once.
  template <int Mode>
  static Dsp::Pair lookupLanes(const PaddedPoints& padded, Dsp::Pair x)
  {
    using Dsp::Pair;
    // NaN reads as 0 (it is the one value not within the infinities).
    const Pair infinity = Pair{} + std::numeric_limits<double>::infinity();
    x = Dsp::selectLanes(Dsp::absLanes(x) <= infinity, x, Pair{});
    x = Dsp::clampLanes(x, -1.0, 1.0);
    const Pair pos = (x + 1.0) * 0.5 * kSpan;
    const int i = static_cast<int>(pos[0]), j = static_cast<int>(pos[1]); // 0..511
    const Pair t = pos - Pair{double(i), double(j)};
    // Points i - 1 and i (clamped to 0), then i + 1 and i + 2 (clamped to 511), of each
    // lane; the low halves are the first lane's, the high halves the second's.
    const Pair first = Dsp::loadPair(padded.data() + i), second = Dsp::loadPair(padded.data() + j);
    const Pair y1 = __builtin_shufflevector(first, second, 1, 3);
    if constexpr (Mode == kNoInterpolation)
      return y1;
    const Pair firstNext = Dsp::loadPair(padded.data() + i + 2);
    const Pair secondNext = Dsp::loadPair(padded.data() + j + 2);
    const Pair y2 = __builtin_shufflevector(firstNext, secondNext, 0, 2);
    const Pair y0 = __builtin_shufflevector(first, second, 0, 2);
    const Pair y3 = __builtin_shufflevector(firstNext, secondNext, 1, 3);
    return interpolate<Mode>(y0, y1, y2, y3, t);
  }

  // lookupLanes of four or eight inputs at once (V a Dsp::Quad or Dsp::Oct), for the
  // blocks built for AVX2 and AVX-512: lane by lane the same bits.
  template <int Mode, class V>
  __attribute__((always_inline)) static V lookupWide(const PaddedPoints& padded, V x)
  {
    constexpr int kN = int(sizeof(V) / sizeof(double));
    using Mask = decltype(x < V{});
    const V zero{};
    const V magnitude = V(Mask(x) & (Mask{} + 0x7fffffffffffffffLL));
    x = magnitude <= zero + std::numeric_limits<double>::infinity() ? x : zero;
    // As Dsp::clampLanes: SSE2's max against -1, then its min against +1.
    x = zero - 1.0 > x ? zero - 1.0 : x;
    x = zero + 1.0 < x ? zero + 1.0 : x;
    const V pos = (x + 1.0) * 0.5 * kSpan;
    int at[kN];
    V whole;
#pragma GCC unroll 8
    for (int k = 0; k < kN; ++k)
    {
      at[k] = static_cast<int>(pos[k]);
      whole[k] = double(at[k]);
    }
    const V t = pos - whole;
    const double* p = padded.data();
    V y1, y2;
#pragma GCC unroll 8
    for (int k = 0; k < kN; ++k)
    {
      y1[k] = p[at[k] + 1];
      y2[k] = p[at[k] + 2];
    }
    if constexpr (Mode == kNoInterpolation)
      return y1;
    if constexpr (Mode == kLinear || Mode == kCosine)
      return interpolate<Mode>(V{}, y1, y2, V{}, t);
    // The four neighbours of each input lie side by side: one load per input, turned
    // into one vector per neighbour, four inputs at a time.
    Dsp::Quad q[4][kN / 4];
    for (int g = 0; g < kN / 4; ++g)
    {
      Dsp::Quad r0 = Dsp::loadQuad(p + at[4 * g]), r1 = Dsp::loadQuad(p + at[4 * g + 1]);
      Dsp::Quad r2 = Dsp::loadQuad(p + at[4 * g + 2]), r3 = Dsp::loadQuad(p + at[4 * g + 3]);
      Dsp::transposeQuads(r0, r1, r2, r3);
      q[0][g] = r0;
      q[1][g] = r1;
      q[2][g] = r2;
      q[3][g] = r3;
    }
    V y[4];
    for (int m = 0; m < 4; ++m)
      if constexpr (kN == 4)
        y[m] = q[m][0];
      else
        y[m] = Dsp::joinQuads(q[m][0], q[m][1]);
    return interpolate<Mode>(y[0], y[1], y[2], y[3], t);
  }

  // The interpolation Mode between y1 and y2 at t (y0 and y3 their outer neighbours),
  // lane by lane for any vector V.
  template <int Mode, class V>
  __attribute__((always_inline)) static V interpolate(V y0, V y1, V y2, V y3, V t)
  {
    if constexpr (Mode == kNoInterpolation)
      return y1;
    if constexpr (Mode == kLinear)
      return (1.0 - t) * y1 + t * y2;
    if constexpr (Mode == kCosine)
    {
      V c;
      for (int k = 0; k < int(sizeof(V) / sizeof(double)); ++k)
        c[k] = std::cos(std::numbers::pi * t[k]);
      const V m = (1.0 - c) / 2.0;
      return (1.0 - m) * y1 + m * y2;
    }
    if constexpr (Mode == kHermite)
      return hermite(y0, y1, y2, y3, t);
    const V a0 = y3 - y2 - y0 + y1;
    const V cubic = a0 * t * t * t + (y0 - y1 - a0) * t * t + (y2 - y0) * t + y1;
    const V zero{};
    return t == zero + 1.0 ? y2 : (t == zero ? y1 : cubic);
  }
#pragma GCC diagnostic pop

  // --- Called from the audio thread (deferred commands) or the main thread --------

  // Applies a curve-menu command. kRestore copies `restoreTable` (nothing when it is
  // null); codes without an effect change nothing. Returns true when the code is one
  // of the five commands.
  bool applyCommand(int code, const Points* restoreTable);

  // Two-pass smoothing (forward, then backward), each point clamped to -1..+1.
  void smooth();
  // Adds +-7.77 % of C library rand() noise to every point, away from or towards zero.
  void addNoise();
  // Fades the eight points on each side of the centre to zero.
  void smoothZeroCrossing();
  // Back to the identity.
  void resetLinear();

  // --- Called from the main thread (state, curve files); may allocate -------------

  // The 512 values in index order, fixed notation with 10 decimals, separated by ","
  // with no trailing separator and no line break.
  std::string exportText() const;

  // Parses comma-separated numbers; only when exactly 512 finite numbers are read are
  // they copied into the points. Returns whether the curve changed.
  bool importText(std::string_view text);

  // Copies the values when there are exactly 512 of them and all are finite.
  bool importValues(const double* values, int count);

  // lookup between point i and point next (i + 1 but at most the last) at fraction t, for
  // every interpolation.
  double lookupAt(int i, double t, int next) const;

  // The editor's label for an interpolation mode.
  static const char* interpolationLabel(int mode);
};

} // namespace Korvane
