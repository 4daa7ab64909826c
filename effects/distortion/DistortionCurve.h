#pragma once

#include <algorithm>
#include <array>
#include <cmath>
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
