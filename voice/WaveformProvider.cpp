#include "voice/WaveformProvider.h"

#include "effects/PolyBLEP.h"
#include "voice/UserWaveformCycles.h"
#include "voice/UserWaveformFolder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale>
#include <numbers>
#include <sstream>

namespace Korvane
{

namespace
{

constexpr int kN = WaveformProvider::kCycleLength;
constexpr double kPi = std::numbers::pi;

struct Names
{
  const char* name;
  const char* shortName;
};

constexpr Names kNames[WaveformProvider::kWaveformCount] = {
    {"Sine", nullptr},
    {"Sawtooth", nullptr},
    {"Pulse", nullptr},
    {"QuadPulse", nullptr},
    {"OctPulse", nullptr},
    {"Triangle", nullptr},
    {"Trapez", nullptr},
    {"X-Trapez", nullptr},
    {"WhiteNoize", nullptr},
    {"PinkNoize", nullptr},
    {"Noize", nullptr},
    {"Low-Q Noise 1", "LQ Noize 1"},
    {"Low-Q Noise 2", "LQ Noize 2"},
    {"Low-Q Noise 3", "LQ Noize 3"},
    {"Pyrokinesis", "Form1"},
    {"S-Receptor", "Form2"},
    {"D-Receptor", "Form3"},
    {"Shikoku", "Form4"},
    {"KIC 8462852", "Form5"},
    {"Synapsis", "Form6"},
    {"Brick-Breaker", "Form7"},
    {"Wavescape", "Form8"},
    {"Geo-Chirp", "Form9"},
    {"Wave-Garden", "Form10"},
    {"User1", nullptr},
    {"User2", nullptr},
    {"User3", nullptr},
    {"User4", nullptr},
    {"User5", nullptr},
    {"User6", nullptr},
    {"User7", nullptr},
    {"User8", nullptr},
    {"User9", nullptr},
    {"User10", nullptr},
    {"User11", nullptr},
    {"User12", nullptr},
    {"User13", nullptr},
    {"User14", nullptr},
    {"User15", nullptr},
    {"User16", nullptr},
};

// The triangle over one cycle: 0 -> 1 at u = 0.25 -> -1 at 0.75 -> 0 at 1.
double tri(double u) noexcept
{
  if (u < 0.25)
    return 4.0 * u;
  if (u < 0.75)
    return 2.0 - 4.0 * u;
  return 4.0 * u - 4.0;
}

double frac(double u) noexcept { return u - std::floor(u); }

// The analytic band-limited oscillator that positions 0..5 sound with (sine, sawtooth,
// rectangles, triangle), set up as a voice sets it up, for drawing and exporting them.
PolyBLEP analyticShape(int p, double dt) noexcept
{
  PolyBLEP o;
  o.increment = dt;
  switch (p)
  {
  case 1:
    o.type = PolyBLEP::kSawtooth;
    break;
  case 2:
    o.type = PolyBLEP::kRectangle;
    break;
  case 3:
    o.type = PolyBLEP::kRectangle;
    o.pulseWidth = 0.25;
    o.offset = -0.5;
    break;
  case 4:
    o.type = PolyBLEP::kRectangle;
    o.pulseWidth = 0.125;
    o.offset = -0.75;
    break;
  case 5:
    o.type = PolyBLEP::kTriangle;
    break;
  default:
    o.type = PolyBLEP::kSine;
    break;
  }
  return o;
}

} // namespace

WaveformProvider::WaveformProvider()
  : folderName(UserWaveformFolder::kFolderName),
    base(static_cast<std::size_t>(kBaseCycleCount) * kN, 0.0),
    user(static_cast<std::size_t>(kUserCycleCount) * kN, 0.0), scratch(kN, 0.0), random(kNoiseSeed),
    fft(kN), spectrum(kN / 2 + 1), kept(kN / 2 + 1), table(kN, 0.0)
{
  UserWaveformCycles::generate(user.data());
}

double* WaveformProvider::cycle(BaseCycle which) noexcept
{
  return base.data() + static_cast<std::size_t>(which) * kN;
}

const double* WaveformProvider::baseCycle(BaseCycle which) const noexcept
{
  const int w = std::clamp(static_cast<int>(which), 0, kBaseCycleCount - 1);
  return base.data() + static_cast<std::size_t>(w) * kN;
}

const double* WaveformProvider::userCycle(int index) const noexcept
{
  return user.data() + static_cast<std::size_t>(std::clamp(index, 0, kUserCycleCount - 1)) * kN;
}

double* WaveformProvider::userCycle(int index) noexcept
{
  return user.data() + static_cast<std::size_t>(std::clamp(index, 0, kUserCycleCount - 1)) * kN;
}

const WaveTableSet& WaveformProvider::set(int position) const noexcept
{
  return sets[std::clamp(position, 0, kWaveformCount - 1)];
}

void WaveformProvider::normalise(double* c, double peak) noexcept
{
  double largest = 0.0;
  for (int i = 0; i < kN; ++i)
    largest = std::max(largest, std::abs(c[i]));
  if (largest == 0.0)
    return;
  for (int i = 0; i < kN; ++i)
    c[i] = c[i] / largest * peak;
}

void WaveformProvider::buildBaseWaveforms(const std::string& userFolder)
{
  random.seed(kNoiseSeed);
  auto n14 = [this] { return static_cast<double>((random.next() & 16383) - 8192) / 8192.0; };

  double* sine = cycle(kSine);
  double* brick = cycle(kBrickBreaker);
  double* wavescape = cycle(kWavescape);
  double* pyro = cycle(kPyrokinesis);
  double* sReceptor = cycle(kSReceptor);
  double* dReceptor = cycle(kDReceptor);
  double* shikoku = cycle(kShikoku);
  double* kic = cycle(kKic);
  double* noize = cycle(kNoize);
  double* lowQ1 = cycle(kLowQ1);
  double* lowQ2 = cycle(kLowQ2);
  double* lowQ3 = cycle(kLowQ3);
  double* synapsis = cycle(kSynapsis);
  double* geoChirp = cycle(kGeoChirp);
  double* waveGarden = cycle(kWaveGarden);

  double hold75 = 0.0, hold50 = 0.0, hold25 = 0.0;
  for (int c = 0; c < kN; ++c)
  {
    const double f = static_cast<double>(c) / kN;
    const double tf = tri(f);

    sine[c] = std::sin(2.0 * kPi * f);
    brick[c] = (f >= 0.1 && f < 0.3) ? 1.0 : (f >= 0.6 && f < 0.7) ? -1.0 : 0.0;

    const double s = std::sin(kPi * f);
    const double s2 = s * s;
    wavescape[c] = -std::sin(4.0 * kPi * f) * s2;

    const double t = sine[c];
    double p = t;
    if (t > 0.5)
      p = t - tf;
    else if (t < -0.5)
      p = t + std::abs(tf);
    pyro[c] = -s * p;

    sReceptor[c] = std::clamp(std::tan(kPi * f), -4.0, 4.0);
    dReceptor[c] = std::clamp(std::tan(2.0 * kPi * f), -4.0, 4.0);

    shikoku[c] = (f < 0.25 || f >= 0.75) ? 0.5 * tri(frac(2.0 * f)) : tri(frac(2.0 * (f - 0.25)));

    kic[c] = f < 0.5 ? std::clamp(4.4 * std::sin(4.0 * kPi * f), -1.0, 1.0)
                     : 0.5 * tri(frac(2.0 * (f - 0.5)));
    kic[c] += 0.25 * tri(frac(4.0 * f));

    // The random draws, in this order.
    noize[c] = n14();
    if (c % 75 == 0)
      hold75 = n14();
    if (c % 50 == 0)
    {
      const double h = n14();
      hold50 = 0.5 * (tri(frac(f / 2.0)) * h + h);
    }
    if (c % 25 == 0)
      hold25 = n14() * tf;
    if (c % 100 == 0)
      random.next(); // advances the generator only

    lowQ1[c] = pyro[c] * 0.2 * hold75 + 0.8 * hold75;
    lowQ2[c] = tf * 0.2 * hold50 + 0.8 * hold50 + 0.1 * sine[c];
    lowQ3[c] = hold25;

    const double b = c < kN / 2 ? 1.0 : -1.0;
    synapsis[c] = std::clamp(0.7 * b - std::sin(16.0 * kPi * f) * 0.4 * b * s2, -1.0, 1.0);

    geoChirp[c] = std::cos(kPi * f / 2.0) * tri(frac(60.0 * std::pow(1.0 - f, 15.0)));

    waveGarden[c] = std::sin(4.0 * kPi * f) * s2 * s2 + 0.25 * std::sin(12.0 * kPi * f) * (1.0 - s);
  }

  // The fixed cycles start one sample after phase 0.
  double* triangle = cycle(kTriangle);
  double* trapez = cycle(kTrapez);
  double* xTrapez = cycle(kXTrapez);
  double* pulse = cycle(kPulse);
  double* quadPulse = cycle(kQuadPulse);
  for (int i = 0; i < kN; ++i)
  {
    const double phi = static_cast<double>(i + 1) / kN;
    triangle[i] = tri(phi); // tri(1) is 0
    trapez[i] = std::clamp(2.0 * tri(phi), -1.0, 1.0);
    const int j = i % (kN / 2);
    if (j >= 767 && j <= 1279)
    {
      const double sigma = i < kN / 2 ? 1.0 : -1.0;
      xTrapez[i] = sigma * (-0.5 + 1.5 * (j - 767) / 512.0);
    }
    else
    {
      xTrapez[i] = trapez[i];
    }
    pulse[i] = (i == 0 || i == 2047 || i == 4095) ? 0.0 : (i < 2047 ? 1.0 : -1.0);
    quadPulse[i] = (i == 0 || i == 1023) ? 0.0 : (i < 1023 ? 1.0 : -1.0);
  }

  loadUserFiles(userFolder);

  for (BaseCycle which : {kNoize, kLowQ1, kLowQ2, kLowQ3, kPyrokinesis, kSReceptor, kDReceptor,
                          kShikoku, kKic, kSynapsis, kGeoChirp, kWaveGarden})
    normalise(cycle(which), kBuiltInPeak);
}

void WaveformProvider::loadUserFiles(const std::string& folder)
{
  if (!folder.empty())
  {
    for (int k = 1; k <= UserWaveformFolder::kFileCount; ++k)
      loadRawFile(UserWaveformFolder::join(folder, UserWaveformFolder::fileName(k)),
                  userCycle(k - 1));
  }
  for (int u = 0; u < 13; ++u)
    normalise(userCycle(u), kUserPeak);
}

bool WaveformProvider::loadRawFile(const std::string& path, double* target)
{
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;

  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0)
    size = std::ftell(file);
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0)
  {
    std::fclose(file);
    return false;
  }

  std::fill(scratch.begin(), scratch.end(), 0.0);
  constexpr long kFullBytes = static_cast<long>(kN) * static_cast<long>(sizeof(double));
  if (size < kFullBytes)
  {
    const std::size_t n = static_cast<std::size_t>(size) / sizeof(double);
    const std::size_t got = std::fread(scratch.data(), sizeof(double), n, file);
    if (got < n && std::ferror(file))
    {
      std::fclose(file);
      return false;
    }
    // Stretch the n values over the cycle; where the upper neighbour would lie past
    // the end, the previous value stays.
    for (int i = 0; i < kN; ++i)
    {
      const double b = static_cast<double>(n) * i / kN;
      const std::size_t j0 = static_cast<std::size_t>(std::floor(b));
      const std::size_t j1 = static_cast<std::size_t>(std::floor(b + 0.5));
      if (j1 < n)
        target[i] = (scratch[j0] + scratch[j1]) / 2.0;
    }
  }
  else
  {
    const std::size_t got = std::fread(scratch.data(), sizeof(double), kN, file);
    if (got < static_cast<std::size_t>(kN))
    {
      std::fclose(file);
      return false;
    }
    std::copy(scratch.begin(), scratch.end(), target);
  }
  std::fclose(file);

  for (int i = 0; i < kN; ++i)
    if (!std::isfinite(target[i]))
      target[i] = 0.0;
  return true;
}

const double* WaveformProvider::cycleOfPosition(int position) const noexcept
{
  static constexpr int kSource[kFirstUserPosition] = {
      kSine,        -1,         kPulse,      kQuadPulse, -1,     kTriangle, kTrapez,
      kXTrapez,     -1,         -1,          kNoize,     kLowQ1, kLowQ2,    kLowQ3,
      kPyrokinesis, kSReceptor, kDReceptor,  kShikoku,   kKic,   kSynapsis, kBrickBreaker,
      kWavescape,   kGeoChirp,  kWaveGarden,
  };
  if (position < 0 || position >= kWaveformCount)
    return nullptr;
  if (position >= kFirstUserPosition)
    return userCycle(position - kFirstUserPosition);
  const int source = kSource[position];
  return source < 0 ? nullptr : baseCycle(static_cast<BaseCycle>(source));
}

void WaveformProvider::buildSets()
{
  for (int p = 0; p < kWaveformCount; ++p)
  {
    if (const double* source = cycleOfPosition(p))
      setFromCycle(sets[p], source);
    else
      sets[p].clear();
  }
}

void WaveformProvider::setFromCycle(WaveTableSet& set, const double* cycleIn)
{
  set.clear();
  for (int i = 0; i < kN; ++i)
    if (!std::isfinite(cycleIn[i]))
      return;

  fft.forwardReal(cycleIn, spectrum.data());
  spectrum[0] = 0.0;      // no constant term
  spectrum[kN / 2] = 0.0; // no Nyquist term

  int maxHarmonic = kN / 2;
  while (maxHarmonic > 0 &&
         !(std::abs(spectrum[maxHarmonic].real()) + std::abs(spectrum[maxHarmonic].imag()) >= 1e-6))
    --maxHarmonic;
  if (maxHarmonic == 0)
    return;

  double topFrequency = (2.0 / 3.0) / maxHarmonic;
  double scale = 0.0;
  std::fill(kept.begin(), kept.end(), std::complex<double>{});
  while (maxHarmonic > 0 && set.count < WaveTableSet::kMaxTables)
  {
    // Keep harmonics 1..maxHarmonic (the inverse mirrors them onto the negative side).
    std::copy(spectrum.begin() + 1, spectrum.begin() + maxHarmonic + 1, kept.begin() + 1);
    std::fill(kept.begin() + maxHarmonic + 1, kept.end(), std::complex<double>{});
    fft.inverseReal(kept.data(), table.data());

    if (set.count == 0)
    {
      double largest = 0.0;
      for (double v : table)
        largest = std::max(largest, std::abs(v));
      scale = largest > 0.0 ? 0.999 / largest : 1.0;
    }

    WaveTable& target = set.tables[set.count];
    target.topFrequency = topFrequency;
    target.length = kN;
    target.samples = std::make_unique_for_overwrite<double[]>(kN + 1);
    for (int i = 0; i < kN; ++i)
      target.samples[i] = table[i] * scale;
    target.samples[kN] = target.samples[0];
    ++set.count;

    topFrequency *= 2.0;
    maxHarmonic /= 2;
  }
}

int WaveformProvider::positionOf(double x) noexcept
{
  const double p = std::floor(39.0 * x + 0.5);
  if (!(p > 0.0))
    return 0;
  return p >= kWaveformCount - 1 ? kWaveformCount - 1 : static_cast<int>(p);
}

const char* WaveformProvider::waveformName(int position) noexcept
{
  if (position < 1 || position >= kWaveformCount)
    return "Sine";
  return kNames[position].name;
}

const char* WaveformProvider::waveformShortName(int position) noexcept
{
  if (position < 1 || position >= kWaveformCount)
    return "Sine";
  return kNames[position].shortName ? kNames[position].shortName : kNames[position].name;
}

int WaveformProvider::waveformPosition(std::string_view text) noexcept
{
  for (int p = 1; p < kWaveformCount; ++p)
  {
    if (text == kNames[p].name)
      return p;
    if (kNames[p].shortName && text == kNames[p].shortName)
      return p;
  }
  return 0;
}

void WaveformProvider::renderDisplay(double x, double phaseOffset, double* points)
{
  const int p = positionOf(x);
  if (p == 8 || p == 9)
  {
    const double gain = p == 8 ? 1.0 : 0.5;
    for (int i = 0; i < kDisplayPoints; ++i)
      points[i] = (random.next() * 2.0 / Random15::kMax - 1.0) * gain;
    return;
  }
  if (p <= 5)
  {
    PolyBLEP shape = analyticShape(p, 1.0 / kDisplayPoints);
    shape.phase = frac(phaseOffset);
    for (int i = 0; i < kDisplayPoints; ++i)
    {
      points[i] = shape.offset + shape.output();
      shape.advance();
    }
    return;
  }
  const WaveTableSet& s = sets[p];
  for (int i = 0; i < kDisplayPoints; ++i)
  {
    if (s.empty())
    {
      points[i] = 0.0;
      continue;
    }
    const WaveTable& t = s.tables[0];
    const double u = frac(static_cast<double>(i) / kDisplayPoints + phaseOffset);
    const int index = std::min(static_cast<int>(std::floor(t.length * u)), t.length - 1);
    points[i] = t.samples[std::max(index, 0)];
  }
}

std::string WaveformProvider::exportText(double x)
{
  const int p = positionOf(x);
  std::ostringstream out;
  out.imbue(std::locale::classic());
  auto put = [&out](int i, double v)
  {
    if (i > 0)
      out << ',';
    out << v;
  };
  if (p == 8)
  {
    for (int i = 0; i < kN; ++i)
      put(i, static_cast<double>(random.next() % 17000 - 8500) / 8500.0);
  }
  else if (p <= 5)
  {
    PolyBLEP shape = analyticShape(p, 1.0 / kN);
    for (int i = 0; i < kN; ++i)
    {
      put(i, shape.output() + shape.offset);
      shape.advance();
    }
  }
  else
  {
    const WaveTableSet& s = sets[p];
    for (int i = 0; i < kN; ++i)
    {
      double v = 0.0;
      if (!s.empty())
      {
        const WaveTable& t = s.tables[0];
        const int index = static_cast<int>(std::floor(static_cast<double>(i) / kN * t.length));
        v = t.samples[std::clamp(index, 0, t.length - 1)];
      }
      put(i, v);
    }
  }
  return out.str();
}

} // namespace Korvane
