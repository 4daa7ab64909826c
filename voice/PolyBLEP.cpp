#include "voice/PolyBLEP.h"

namespace Korvane
{

PolyBLEP::~PolyBLEP() = default;

} // namespace Korvane
