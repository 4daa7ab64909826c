#include "voice/ClickTransients.h"

#include "voice/Random15.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Korvane
{

namespace
{

constexpr double kRate = 44100.0;
constexpr double kPi = std::numbers::pi;

// A decaying mode: a two-pole resonator at f Hz whose ring falls by 1/e in tau seconds.
struct Resonator
{
  Resonator(double f, double tau)
  {
    const double r = std::exp(-1.0 / (tau * kRate));
    a1 = 2.0 * r * std::cos(2.0 * kPi * f / kRate);
    a2 = -r * r;
    // Unit peak gain near the centre frequency for a band of width (1 - r).
    norm = (1.0 - r) * 2.0;
  }
  double run(double x)
  {
    const double y = norm * x + a1 * y1 + a2 * y2;
    y2 = y1;
    y1 = y;
    return y;
  }
  double a1, a2, norm;
  double y1 = 0.0, y2 = 0.0;
};

struct OnePoleLowPass
{
  explicit OnePoleLowPass(double f) : c(1.0 - std::exp(-2.0 * kPi * f / kRate)) {}
  double run(double x) { return s += c * (x - s); }
  double c;
  double s = 0.0;
};

struct OnePoleHighPass
{
  explicit OnePoleHighPass(double f) : low(f) {}
  double run(double x) { return x - low.run(x); }
  OnePoleLowPass low;
};

// Noise -1..+1 from the instrument's generator with a fixed seed per transient.
struct SeededNoise
{
  explicit SeededNoise(std::uint32_t seed) : r(seed) {}
  double next() { return r.next() * 2.0 / Random15::kMax - 1.0; }
  Random15 r;
};

double decay(double t, double tau) { return std::exp(-t / tau); }

// Half a raised cosine of `width` seconds from t = 0: a smooth strike pulse.
double strike(double t, double width)
{
  if (t < 0.0 || t >= width)
    return 0.0;
  return std::sin(kPi * t / width);
}

// Fades the last 15 % to exactly 0 and scales the peak to kPeak.
template <std::size_t N>
void finish(std::array<double, N>& x)
{
  const std::size_t tail = N * 15 / 100;
  for (std::size_t i = 0; i < tail; ++i)
  {
    const double g = 0.5 + 0.5 * std::cos(kPi * double(i + 1) / double(tail));
    x[N - tail + i] *= g;
  }
  double peak = 0.0;
  for (double v : x)
    peak = std::max(peak, std::abs(v));
  if (peak > 0.0)
    for (double& v : x)
      v *= ClickTransients::kPeak / peak;
}

void makeBeater(std::array<double, ClickTransients::kLengthA>& out)
{
  SeededNoise noise(0x4B1C);
  Resonator m1(2600.0, 0.006), m2(4300.0, 0.004), m3(6800.0, 0.0025);
  OnePoleHighPass hp(1500.0);
  for (std::size_t i = 0; i < out.size(); ++i)
  {
    const double t = i / kRate;
    const double hit = strike(t, 0.0003);
    const double contact = hp.run(noise.next()) * decay(t, 0.0012);
    const double exc = 0.6 * hit + contact;
    const double modes = m1.run(exc) + 0.7 * m2.run(exc) + 0.45 * m3.run(exc);
    out[i] = 0.9 * hit + 0.35 * contact + 2.2 * modes * decay(t, 0.010);
  }
  finish(out);
}

void makeSnap(std::array<double, ClickTransients::kLengthB>& out)
{
  SeededNoise noise(0x5A4B);
  Resonator crack(7000.0, 0.0015), ring(1400.0, 0.007);
  OnePoleHighPass hp(3000.0);
  for (std::size_t i = 0; i < out.size(); ++i)
  {
    const double t = i / kRate;
    // A positive then a negative lobe, 30 us each: the snap of a hard pad.
    const double spike = strike(t, 0.00007) - strike(t - 0.00007, 0.00007);
    const double burst = hp.run(noise.next()) * decay(t, 0.002);
    const double exc = spike + burst;
    out[i] = spike + 0.5 * burst + 3.0 * crack.run(exc) + 1.6 * ring.run(exc) * decay(t, 0.012);
  }
  finish(out);
}

void makeThump(std::array<double, ClickTransients::kLengthC>& out)
{
  SeededNoise noise(0x7403);
  OnePoleLowPass lp(1800.0);
  Resonator knock(750.0, 0.010);
  double phase = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i)
  {
    const double t = i / kRate;
    const double pulse = strike(t, 0.0015);
    // Body tone gliding from 300 Hz down to 105 Hz.
    const double f = 105.0 + 195.0 * decay(t, 0.012);
    phase += 2.0 * kPi * f / kRate;
    const double body = std::sin(phase) * (1.0 - decay(t, 0.0008)) * decay(t, 0.022);
    const double thud = lp.run(noise.next()) * decay(t, 0.004);
    out[i] = 0.8 * pulse + body + 0.6 * thud + 1.5 * knock.run(pulse + thud) * decay(t, 0.02);
  }
  finish(out);
}

void makeKnock(std::array<double, ClickTransients::kLengthD>& out)
{
  SeededNoise noise(0x0D0D);
  Resonator m1(410.0, 0.045), m2(1090.0, 0.022), m3(2230.0, 0.011), m4(3710.0, 0.006);
  OnePoleHighPass hp(800.0);
  for (std::size_t i = 0; i < out.size(); ++i)
  {
    const double t = i / kRate;
    const double hit = strike(t, 0.001);
    const double grain = hp.run(noise.next()) * decay(t, 0.0015);
    const double exc = hit + 0.4 * grain;
    out[i] = 0.3 * hit + 0.2 * grain + m1.run(exc) + 0.8 * m2.run(exc) + 0.55 * m3.run(exc) +
             0.35 * m4.run(exc);
  }
  finish(out);
}

} // namespace

ClickTransients::ClickTransients()
{
  makeBeater(a);
  makeSnap(b);
  makeThump(c);
  makeKnock(d);
}

const ClickTransients& ClickTransients::instance()
{
  static const ClickTransients kSet;
  return kSet;
}

} // namespace Korvane
