// A user waveform file ("user01.raw": raw doubles of one cycle) as the instrument loads
// it: read, stretched or cut to 4096 samples, normalised, then band-limited into its
// tables. Whatever the bytes, the cycle is finite within the user peak and every table
// sample is finite, with the table's guard sample repeating its first.
#include "FuzzInstrument.h"
#include "voice/UserWaveformFolder.h"
#include "voice/WaveformProvider.h"

#include <cerrno>
#include <sys/stat.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) // NOLINT
{
  using Korvane::WaveformProvider;
  static WaveformProvider provider;
  static Korvane::WaveTableSet set;
  static const std::string kFolder = Fuzz::TempPath("waveforms");
  static const bool kMade = mkdir(kFolder.c_str(), 0700) == 0 || errno == EEXIST;
  Fuzz::Require(kMade, "the waveform folder can be made");
  Fuzz::WriteFile(
      Korvane::UserWaveformFolder::join(kFolder, Korvane::UserWaveformFolder::fileName(1)), data,
      size);

  provider.loadUserFiles(kFolder);
  const double* cycle = provider.userCycle(0);
  for (int i = 0; i < WaveformProvider::kCycleLength; ++i)
    Fuzz::Require(std::isfinite(cycle[i]) && std::fabs(cycle[i]) <= WaveformProvider::kUserPeak,
                  "the loaded cycle is finite and within the user peak");

  provider.setFromCycle(set, cycle);
  Fuzz::Require(set.count <= Korvane::WaveTableSet::kMaxTables, "a set holds at most 32 tables");
  for (int t = 0; t < set.count; ++t)
  {
    const Korvane::WaveTable& table = set.tables[t];
    Fuzz::Require(table.length == WaveformProvider::kCycleLength, "a table holds one cycle");
    for (int i = 0; i <= table.length; ++i)
      Fuzz::Require(std::isfinite(table.samples[i]), "every table sample is finite");
    Fuzz::Require(table.samples[table.length] == table.samples[0],
                  "the guard sample repeats the first");
  }
  return 0;
}
