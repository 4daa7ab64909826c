#pragma once

#include "voice/Fft.h"
#include "voice/Random15.h"
#include "voice/WaveTableSet.h"

#include <complex>
#include <string>
#include <string_view>
#include <vector>

namespace Korvane
{

// Owns the 40 oscillator waveforms: their names, the single cycles of the built-in shapes,
// the sixteen user cycles, and for every waveform an oscillator reads from a table the set
// of band-limited tables. The plug-in constructs it, then calls buildBaseWaveforms and
// buildSets once, in this order; afterwards the sets are read-only and voices keep
// pointers to them. Building allocates and transforms; nothing here runs per sample.
class WaveformProvider
{
public:
  static constexpr int kWaveformCount = 40;
  static constexpr int kCycleLength = 4096;
  static constexpr int kUserCycleCount = 16;
  static constexpr int kFirstUserPosition = 24;
  static constexpr int kDisplayPoints = 105;
  static constexpr double kBuiltInPeak = 0.98777;
  static constexpr double kUserPeak = 0.998777;
  static constexpr std::uint32_t kNoiseSeed = 1800;

  // The single cycles held by the provider, named after their waveforms: the fifteen
  // computed by buildBaseWaveforms, then the five fixed ones.
  enum BaseCycle
  {
    kSine,
    kBrickBreaker,
    kWavescape,
    kPyrokinesis,
    kSReceptor,
    kDReceptor,
    kShikoku,
    kKic,
    kNoize,
    kLowQ1,
    kLowQ2,
    kLowQ3,
    kSynapsis,
    kGeoChirp,
    kWaveGarden,
    kTriangle,
    kTrapez,
    kXTrapez,
    kPulse,
    kQuadPulse,
    kBaseCycleCount
  };

  WaveformProvider();
  WaveformProvider(const WaveformProvider&) = delete;
  WaveformProvider& operator=(const WaveformProvider&) = delete;

  // Computes the built-in cycles (the noise cycles from the generator seeded with 1800),
  // loads the user files from userFolder (no folder is searched when it is empty) and
  // normalises. The instrument passes PlatformModule::UserFolder("waveforms").
  void buildBaseWaveforms(const std::string& userFolder = {});

  // Band-limits every cycle into the set of its position.
  void buildSets();

  // Empties set and band-limits the 4096-sample cycle into it. A cycle without any
  // harmonic (all zero, or constant), or holding a value that is not finite, gives none.
  void setFromCycle(WaveTableSet& set, const double* cycle);

  // For each of "user01.raw" ... "user10.raw" in folder that can be opened, replaces
  // User1 ... User10; then normalises User1 ... User13 to a peak of 0.998777.
  // User11 ... User13 keep their shipped cycles.
  void loadUserFiles(const std::string& folder);

  // Reads one user file into target (4096 doubles). Files of 4096 values or more give
  // their first 4096 values; shorter ones are stretched (see the source). Values that
  // are not finite become 0. False when the file cannot be opened or read; target is
  // then unchanged.
  bool loadRawFile(const std::string& path, double* target);

  // The waveform position selected by a parameter value: floor(39x + 0.5), kept in 0..39.
  static int positionOf(double x) noexcept;

  // The name of a position; every position outside 1..39 is "Sine".
  static const char* waveformName(int position) noexcept;
  // The short name of positions 11..23 ("LQ Noize 1", "Form1", ...); otherwise the name.
  static const char* waveformShortName(int position) noexcept;
  // The inverse of waveformName, also accepting the short names; unknown text gives 0.
  static int waveformPosition(std::string_view text) noexcept;

  // The oscillator display: 105 points of waveform x starting at phase offset o.
  void renderDisplay(double x, double phaseOffset, double* points);

  // Waveform x as 4096 comma-separated values with six significant digits.
  std::string exportText(double x);

  const WaveTableSet& set(int position) const noexcept;
  const double* baseCycle(BaseCycle which) const noexcept;
  const double* userCycle(int index) const noexcept; // index 0..15 for User1..User16
  double* userCycle(int index) noexcept;

  // The instrument's 15-bit generator: behind the noise cycles (buildBaseWaveforms seeds
  // it with 1800), the noise display and export, and the voices' noise oscillators,
  // which continue from where the cycles left it.
  Random15& getRandom() noexcept { return random; }

  const std::string& getFolderName() const noexcept { return folderName; }
  const std::string& getBaseDirectory() const noexcept { return baseDirectory; }

private:
  double* cycle(BaseCycle which) noexcept;
  const double* cycleOfPosition(int position) const noexcept;
  static void normalise(double* cycle, double peak) noexcept;

  std::string folderName;
  WaveTableSet sets[kWaveformCount];
  std::string baseDirectory;
  std::vector<double> base;    // BaseCycleCount cycles of 4096
  std::vector<double> user;    // 16 cycles of 4096
  std::vector<double> scratch; // the raw-file loader's 4096 values
  Random15 random;

  // Band-limiting work space.
  Fft fft;
  std::vector<std::complex<double>> spectrum;
  std::vector<std::complex<double>> kept;
  std::vector<double> table;
};

} // namespace Korvane
