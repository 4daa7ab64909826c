#include "effects/IKvFilter.h"

namespace Korvane
{

IKvFilter::~IKvFilter() = default;

} // namespace Korvane
