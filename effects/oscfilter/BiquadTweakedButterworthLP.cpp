#include "effects/BiquadTweakedButterworthLP.h"

namespace Korvane
{

template class BiquadTweakedButterworthLP<double>;

} // namespace Korvane
