#include "effects/PolyBLEP.h"

namespace Korvane
{

PolyBLEP::~PolyBLEP() = default;

} // namespace Korvane
