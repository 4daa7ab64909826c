#include "effects/oscfilter/BiquadTweakedButterworthHP.h"

namespace Korvane
{

template class BiquadTweakedButterworthHP<double>;

} // namespace Korvane
