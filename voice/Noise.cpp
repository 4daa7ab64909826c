#include "voice/Noise.h"

#include "voice/Random15.h"

namespace Korvane
{

double Noise::white(Random15& random) noexcept { return random.next() * 2.0 / 32767.0 - 1.0; }

double Noise::pink(Random15& random, PinkNoiseState& s) noexcept
{
  const double r1 = random.next();
  const double r2 = random.next();
  const double r3 = random.next();
  s.x = (s.x - r1) * 0.319 + r1;
  s.y = (s.y - r2) * 0.7756 + r2;
  s.z = (s.z - r3) * 0.9613 + r3;
  return (0.02109238 * s.x + 0.07113478 * s.y + 0.68873558 * s.z) * 2.0 / 32767.0 - 0.78096274;
}

} // namespace Korvane
