#include "voice/Noise.h"

#include "voice/Random15.h"

#include <atomic>
#include <chrono>

namespace Korvane
{

namespace
{

std::atomic<std::uint32_t> gState{1};

} // namespace

int Noise::next() noexcept
{
  Random15 r(gState.load(std::memory_order_relaxed));
  const int v = r.next();
  gState.store(r.getState(), std::memory_order_relaxed);
  return v;
}

double Noise::white() noexcept { return next() * 2.0 / 32767.0 - 1.0; }

double Noise::pink(PinkNoiseState& s) noexcept
{
  const double r1 = next();
  const double r2 = next();
  const double r3 = next();
  s.x = (s.x - r1) * 0.319 + r1;
  s.y = (s.y - r2) * 0.7756 + r2;
  s.z = (s.z - r3) * 0.9613 + r3;
  return (0.02109238 * s.x + 0.07113478 * s.y + 0.68873558 * s.z) * 2.0 / 32767.0 - 0.78096274;
}

void Noise::seed(std::uint32_t value) noexcept { gState.store(value, std::memory_order_relaxed); }

void Noise::seedFromTimeOfDay() noexcept
{
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  seed(static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(now).count()));
}

std::uint32_t Noise::state() noexcept { return gState.load(std::memory_order_relaxed); }

} // namespace Korvane
