#pragma once
// The instrument's state as hosts, banks, program files and the factory program slots
// store it (little-endian, IEEE 754 doubles, no padding; 5380 bytes):
//   int32 count (always written as 672; never checked when read),
//   512 doubles: the first distortion section's transfer curve, first point first,
//   160 doubles: the parameter values in index order, not normalized ("Bass-Layer
//   amount" may hold up to 1.259).
#include "plugin/ByteBuffer.h"

#include <cstdint>

namespace StateChunk
{
constexpr int32_t kCount = 672;
constexpr int kCurvePoints = 512;
constexpr int kValues = 160;
constexpr int kSize = 4 + 8 * (kCurvePoints + kValues);
static_assert(kSize == 5380);

// Appends one state: the count, the curve (kCurvePoints values) and the parameter
// values (kValues). Returns whether every value was appended.
inline bool Append(ByteBuffer& chunk, const double* curve, const double* values)
{
  const int before = chunk.Size();
  chunk.PutInt32(kCount);
  for (int i = 0; i < kCurvePoints; ++i)
    chunk.PutDouble(curve[i]);
  for (int i = 0; i < kValues; ++i)
    chunk.PutDouble(values[i]);
  return chunk.Size() == before + kSize;
}
} // namespace StateChunk
