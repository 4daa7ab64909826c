#include "effects/distortion/DistortionCurve.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace Korvane
{

namespace
{

double clampUnit(double v) { return std::clamp(v, -1.0, 1.0); }

} // namespace

DistortionCurve::DistortionCurve() { resetLinear(); }

// --- Called from the audio thread, never blocks or allocates ------------------------

double DistortionCurve::lookupAt(int i, double t, int next) const
{
  switch (interpolation)
  {
  case kNoInterpolation:
    return i < kLength ? points[i] : 0.0;
  case kLinear:
    return (1.0 - t) * points[i] + t * points[next];
  case kCosine:
  {
    const double m = (1.0 - std::cos(std::numbers::pi * t)) / 2.0;
    return (1.0 - m) * points[i] + m * points[next];
  }
  default:
    break;
  }
  const double y0 = points[std::max(i - 1, 0)];
  const double y1 = points[i];
  const double y2 = points[next];
  const double y3 = points[std::min(i + 2, kLength - 1)];
  if (interpolation == kHermite)
    return hermite(y0, y1, y2, y3, t);
  if (t == 1.0)
    return y2;
  if (t == 0.0)
    return y1;
  const double a0 = y3 - y2 - y0 + y1;
  return a0 * t * t * t + (y0 - y1 - a0) * t * t + (y2 - y0) * t + y1;
}

// --- Called from the audio thread (deferred commands) or the main thread ------------

bool DistortionCurve::applyCommand(int code, const Points* restoreTable)
{
  switch (code)
  {
  case kRestore:
    if (restoreTable)
      points = *restoreTable;
    return true;
  case kSmooth:
    smooth();
    return true;
  case kAddNoise:
    addNoise();
    return true;
  case kSmoothZeroCrossing:
    smoothZeroCrossing();
    return true;
  case kResetLinear:
    resetLinear();
    return true;
  default:
    return false;
  }
}

void DistortionCurve::smooth()
{
  double a = (points[0] - 1.0) * 0.25;
  for (int k = 0; k < kLength; ++k)
  {
    points[k] = clampUnit((a + points[k]) / 2.0);
    a = points[k];
  }
  a = (points[kLength - 1] + 1.0) * 0.25;
  for (int k = kLength - 1; k >= 0; --k)
  {
    points[k] = clampUnit((a + points[k]) / 2.0);
    a = points[k];
  }
}

void DistortionCurve::addNoise()
{
  for (double& p : points)
  {
    const int r = std::rand();
    const double sign = p < 0.0 ? -1.0 : 1.0;
    p = clampUnit(p + (double(r % 32767) - 16383.5) / 16383.5 * sign * 0.0777);
  }
}

void DistortionCurve::smoothZeroCrossing()
{
  for (int i = 0; i < 8; ++i)
  {
    const double scale = double(i) / 8.0;
    points[255 - i] *= scale;
    points[256 + i] *= scale;
  }
}

void DistortionCurve::resetLinear()
{
  for (int k = 0; k < kLength; ++k)
    points[k] = 2.0 * k / kSpan - 1.0;
}

// --- Called from the main thread (state, curve files); may allocate -----------------

std::string DistortionCurve::exportText() const
{
  std::string text;
  text.reserve(kLength * 14);
  // Room for any finite double in fixed notation with 10 decimals (the largest has 309
  // integer digits), so no point is ever cut short; a state may hold any finite point.
  char number[330];
  for (int k = 0; k < kLength; ++k)
  {
    if (k > 0)
      text += ',';
    const auto result =
        std::to_chars(number, number + sizeof number, points[k], std::chars_format::fixed, 10);
    text.append(number, result.ptr);
  }
  return text;
}

bool DistortionCurve::importText(std::string_view text)
{
  Points values{};
  int count = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  auto skipSpace = [&p, end]()
  {
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n'))
      ++p;
  };
  while (true)
  {
    skipSpace();
    if (p < end && *p == '+')
      ++p; // from_chars takes no plus sign; hand-edited files may carry one
    double value = 0.0;
    const auto result = std::from_chars(p, end, value);
    if (result.ec != std::errc() || !std::isfinite(value))
      return false;
    if (count == kLength)
      return false; // a 513th number
    values[count++] = value;
    p = result.ptr;
    skipSpace();
    if (p == end)
      break;
    if (*p != ',')
      return false;
    ++p;
  }
  if (count != kLength)
    return false;
  points = values;
  return true;
}

bool DistortionCurve::importValues(const double* values, int count)
{
  if (!values || count != kLength)
    return false;
  for (int k = 0; k < kLength; ++k)
    if (!std::isfinite(values[k]))
      return false;
  std::copy(values, values + kLength, points.begin());
  return true;
}

const char* DistortionCurve::interpolationLabel(int mode)
{
  switch (mode)
  {
  case kNoInterpolation:
    return "[no interpolation]";
  case kLinear:
    return "[linear interpolation]";
  case kCosine:
    return "[cosine interpolation]";
  case kCubic:
    return "[cubic interpolation]";
  case kHermite:
    return "[hermite interpolation]";
  default:
    return "[unknown interpolation]";
  }
}

} // namespace Korvane
