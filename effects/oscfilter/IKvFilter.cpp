#include "effects/oscfilter/IKvFilter.h"

namespace Korvane
{

IKvFilter::~IKvFilter() = default;

} // namespace Korvane
