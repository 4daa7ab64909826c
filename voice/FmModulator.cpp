#include "voice/FmModulator.h"

namespace Korvane
{

FmModulator::~FmModulator() = default;

} // namespace Korvane
