#include "effects/oscfilter/BiquadTweakedButterworthLP.h"

namespace Korvane
{

template class BiquadTweakedButterworthLP<double>;

} // namespace Korvane
