#pragma once

#include "effects/PolyBLEP.h"
#include "voice/WaveTableSet.h"

#include <cmath>

namespace Korvane
{

// Read-out of a band-limited wavetable set: picks the table for the current increment
// on every read (so pitch sweeps change tables as they go) and interpolates linearly.
// A null or empty set reads 0. The owner advances the phase after reading.
//
// The table search is remembered: the search returns table h exactly for the increments
// from the largest topFrequency before h (inclusive) up to topFrequency of h (exclusive),
// so while the increment stays inside that range, and the set is the same, the search
// would return h again and is skipped.
struct TableOscillator
{
  double read() const noexcept
  {
    if (table == nullptr || table->count == 0)
      return 0.0;
    const WaveTable* t = tableFor(increment);
    const int n = t->length;
    const double p = n * phase;
    int j = static_cast<int>(p);
    if (j >= n) // a phase that rounds up to 1.0
      j = n - 1;
    const double s0 = t->samples[j];
    const double s1 = j + 1 < n ? t->samples[j + 1] : t->samples[0];
    return s0 + (s1 - s0) * (p - j);
  }

  void advance() noexcept { phase = PolyBLEP::frac(phase + increment); }

  // New rate, same frequency in Hz.
  void setSampleRate(double rate) noexcept
  {
    increment = increment * sampleRate / rate;
    sampleRate = rate;
  }

  // table->tableFor(inc) for a set that is not empty, searched only when inc leaves
  // the range of the table found last.
  const WaveTable* tableFor(double inc) const noexcept
  {
    if (table == searchedSet && table->count == searchedCount && searchedFrom <= inc &&
        inc < searchedBelow)
      return searched;
    return search(inc);
  }

  const WaveTableSet* table = nullptr;
  double phase = 0.0;
  double increment = 0.0;
  double sampleRate = 44100.0;

private:
  // The search itself, kept out of line so that the read-out stays small.
  [[gnu::noinline]] const WaveTable* search(double inc) const noexcept
  {
    const WaveTableSet& set = *table;
    double below = 0.0;
    double from = -HUGE_VAL;
    int h = set.count - 1;
    for (int i = 0; i < set.count; ++i)
    {
      if (set.tables[i].topFrequency > inc)
      {
        h = i;
        break;
      }
    }
    // The range of increments for which the search gives h: none of the tables before
    // h is taken (all at most inc) and h is (above inc); the last table, taken when no
    // table is, has no upper end.
    for (int i = 0; i < h; ++i)
      from = std::fmax(from, set.tables[i].topFrequency);
    if (set.tables[h].topFrequency > inc)
      below = set.tables[h].topFrequency;
    else
    {
      from = std::fmax(from, set.tables[h].topFrequency);
      below = HUGE_VAL;
    }
    // A range that the increment is not inside (an undefined increment) is not kept.
    if (!(from <= inc && inc < below))
    {
      searchedSet = nullptr;
      return &set.tables[h];
    }
    searchedSet = table;
    searchedCount = set.count;
    searchedFrom = from;
    searchedBelow = below;
    searched = &set.tables[h];
    return searched;
  }

  mutable const WaveTableSet* searchedSet = nullptr;
  mutable const WaveTable* searched = nullptr;
  mutable double searchedFrom = 0.0;
  mutable double searchedBelow = 0.0;
  mutable int searchedCount = 0;
};

} // namespace Korvane
