// The distortion curve's text (512 comma-separated numbers). A refused text leaves the
// curve as it was; an accepted one leaves 512 finite points, and the curve's own text
// reads back into the same points (within the text's ten decimals).
#include "FuzzInstrument.h"
#include "effects/distortion/DistortionCurve.h"

#include <algorithm>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) // NOLINT
{
  static Korvane::DistortionCurve curve;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Korvane::DistortionCurve::Points before = curve.points;
  if (!curve.importText(text))
  {
    Fuzz::Require(curve.points == before, "a refused curve text leaves the curve as it was");
    return 0;
  }
  for (double p : curve.points)
    Fuzz::Require(std::isfinite(p), "every curve point is finite");
  Korvane::DistortionCurve copy;
  Fuzz::Require(copy.importText(curve.exportText()), "the curve's own text reads back");
  for (size_t k = 0; k < curve.points.size(); ++k)
    Fuzz::Require(std::fabs(copy.points[k] - curve.points[k]) <=
                      1e-10 + 1e-15 * std::fabs(curve.points[k]),
                  "the curve's own text reads back into the same points");
  return 0;
}
