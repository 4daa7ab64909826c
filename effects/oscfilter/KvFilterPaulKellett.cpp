#include "effects/oscfilter/KvFilterPaulKellett.h"

namespace Korvane
{

KvFilterPaulKellett::KvFilterPaulKellett(int initialType) : type(initialType)
{
  const double f = effectiveCutoff();
  feedback = resonance / (1.0 - f) + resonance;
}

} // namespace Korvane
