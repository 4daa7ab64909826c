#include "effects/BiquadTweakedButterworthHP.h"

namespace Korvane
{

template class BiquadTweakedButterworthHP<double>;

} // namespace Korvane
