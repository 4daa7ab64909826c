#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

namespace Korvane
{

// Band-limited analytic oscillator: naive shapes with polynomial residuals (BLEP for
// steps, BLAMP for corners) smoothing their discontinuities over one sample either
// side. The owner reads output(), adds `offset` itself, then calls advance().
// At a quarter of the sample rate and above every type outputs a plain sine.
class PolyBLEP
{
public:
  enum Type : std::int32_t
  {
    kSine = 0,
    kCosine = 1,
    kTriangle = 2,
    kSquare = 3,
    kRectangle = 4,
    kSawtooth = 5,
    kRamp = 6,
    // 7..13 (modified triangle and square, rectified sines, triangular pulse,
    // trapezoids) are not used by the instrument and output 0.
    kTypeCount = 14
  };

  PolyBLEP() = default;
  virtual ~PolyBLEP();

  // floor(u), with the common case of a positive u below 2^52 (where truncation is the
  // floor) done without the library call.
  static double floorOf(double u) noexcept
  {
    if (u > 0.0 && u < 4503599627370496.0)
      return double(static_cast<std::int64_t>(u));
    return std::floor(u);
  }

  // u - floor(u). A phase just moved on lies in (0, 2), where that is u or u - 1 (the
  // same subtraction, without the round trip through an integer that would lengthen
  // every oscillator's chain of dependent operations).
  static double frac(double u) noexcept
  {
    if (u > 0.0 && u < 2.0)
      return u >= 1.0 ? u - 1.0 : u;
    return u - floorOf(u);
  }

  static double blep(double t, double dt) noexcept
  {
    if (t < dt)
    {
      const double x = t / dt - 1.0;
      return -x * x;
    }
    if (t > 1.0 - dt)
    {
      const double x = (t - 1.0) / dt + 1.0;
      return x * x;
    }
    return 0.0;
  }

  static double blamp(double t, double dt) noexcept
  {
    if (t < dt)
    {
      const double x = t / dt - 1.0;
      return -(1.0 / 3.0) * x * x * x;
    }
    if (t > 1.0 - dt)
    {
      const double x = (t - 1.0) / dt + 1.0;
      return (1.0 / 3.0) * x * x * x;
    }
    return 0.0;
  }

  double output() const noexcept
  {
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    const double t = phase;
    const double dt = increment;
    if (sampleRate * increment >= sampleRate * 0.25)
      return amplitude * std::sin(kTwoPi * t);
    double y;
    switch (type)
    {
    case kSine:
      y = std::sin(kTwoPi * t);
      break;
    case kCosine:
      y = std::cos(kTwoPi * t);
      break;
    case kTriangle:
    {
      y = 4.0 * t;
      if (y >= 3.0)
        y -= 4.0;
      else if (y > 1.0)
        y = 2.0 - y;
      y += 4.0 * dt * (blamp(frac(t + 0.25), dt) - blamp(frac(t + 0.75), dt));
      break;
    }
    case kSquare:
      y = (t < 0.5 ? 1.0 : -1.0) + blep(t, dt) - blep(frac(t + 0.5), dt);
      break;
    case kRectangle:
    {
      const double pw = pulseWidth;
      y = -2.0 * pw;
      if (t < pw)
        y += 2.0;
      y += blep(t, dt) - blep(frac(t + 1.0 - pw), dt);
      break;
    }
    case kSawtooth:
    {
      const double u = frac(t + 0.5);
      y = 2.0 * u - 1.0 - blep(u, dt);
      break;
    }
    case kRamp:
    {
      const double u = frac(t);
      y = 1.0 - 2.0 * u + blep(u, dt);
      break;
    }
    default:
      y = 0.0;
      break;
    }
    return amplitude * y;
  }

  // Moves the phase on by one sample, keeping its fractional part.
  void advance() noexcept { phase = frac(phase + increment); }

  void setFrequency(double hz) noexcept { increment = hz / sampleRate; }
  double getFrequency() const noexcept { return increment * sampleRate; }

  // New rate, same frequency in Hz.
  void setSampleRate(double rate) noexcept
  {
    increment = increment * sampleRate / rate;
    sampleRate = rate;
  }

  std::int32_t type = kSine;
  double sampleRate = 44100.0;
  double increment = 440.0 / 44100.0;
  double amplitude = 1.0;
  double pulseWidth = 0.5;
  double phase = 0.0;
  double offset = 0.0;
};

} // namespace Korvane
