#pragma once

#include <cstdint>
#include <memory>

namespace Korvane
{

// One band-limited copy of a single cycle. samples holds length + 1 values: the last one
// repeats samples[0], so a read-out that interpolates between j and j + 1 never needs to
// wrap (samples[length] == samples[0]).
struct WaveTable
{
  double topFrequency = 0.0; // cycles per sample below which this table is used
  std::int32_t length = 0;   // 4096
  std::unique_ptr<double[]> samples;
};

// Up to 32 band-limited tables of one cycle, ordered from the richest (most harmonics,
// lowest topFrequency) to the poorest. Built once at construction, read-only afterwards.
struct WaveTableSet
{
  static constexpr int kMaxTables = 32;

  std::uint16_t count = 0;
  WaveTable tables[kMaxTables];

  bool empty() const noexcept { return count == 0; }

  // The table for a read-out advancing by increment cycles per sample: the first whose
  // topFrequency exceeds increment, else the last; null when the set is empty.
  const WaveTable* tableFor(double increment) const noexcept
  {
    if (count == 0)
      return nullptr;
    for (int i = 0; i < count; ++i)
      if (tables[i].topFrequency > increment)
        return &tables[i];
    return &tables[count - 1];
  }

  // Releases every table (count 0).
  void clear() noexcept
  {
    for (auto& t : tables)
    {
      t.samples.reset();
      t.topFrequency = 0.0;
      t.length = 0;
    }
    count = 0;
  }
};

} // namespace Korvane
