// tgfilter: prints the magnitude and phase response of one of the filter designs as
// CSV on standard output, and optionally draws it into a PNG file.
//
//   tgfilter <design> [Name=value ...] [--points N] [--linear] [--png file.png]
//            [--db-min D] [--db-max D]
//   tgfilter --list
//
// Values are native (Hz, dB, Q, octaves, order). Names are the parameters' short names
// (Fs, Fc, Q, BW, Gain, Order, Ripple), case ignored.

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <strings.h>
#include <vector>

#include "dsp/BesselHighPass.h"
#include "dsp/BesselLowPass.h"
#include "dsp/ButterworthBandPass.h"
#include "dsp/ButterworthBandShelf.h"
#include "dsp/ButterworthBandStop.h"
#include "dsp/ButterworthHighShelf.h"
#include "dsp/ButterworthLowShelf.h"
#include "dsp/ChebyshevIHighPass.h"
#include "dsp/ChebyshevILowPass.h"
#include "dsp/DirectFormII.h"
#include "dsp/FilterDesign.h"
#include "dsp/RBJBandPass1.h"
#include "dsp/RBJBandStop.h"
#include "dsp/RBJHighPass.h"
#include "dsp/RBJLowPass.h"

namespace
{

template <class D>
std::unique_ptr<Dsp::Filter> Make()
{
  return std::make_unique<Dsp::FilterDesign<D, 2, Dsp::DirectFormII>>();
}

struct Entry
{
  const char* key;
  std::unique_ptr<Dsp::Filter> (*create)();
};

const Entry kDesigns[] = {
    {"bw-lowshelf", Make<Dsp::Butterworth::LowShelf>},
    {"bw-highshelf", Make<Dsp::Butterworth::HighShelf>},
    {"bw-bandshelf", Make<Dsp::Butterworth::BandShelf>},
    {"bw-bandpass", Make<Dsp::Butterworth::BandPass>},
    {"bw-bandstop", Make<Dsp::Butterworth::BandStop>},
    {"cheby1-lowpass", Make<Dsp::ChebyshevI::LowPass>},
    {"cheby1-highpass", Make<Dsp::ChebyshevI::HighPass>},
    {"bessel-lowpass", Make<Dsp::Bessel::LowPass>},
    {"bessel-highpass", Make<Dsp::Bessel::HighPass>},
    {"rbj-lowpass", Make<Dsp::RBJ::LowPass>},
    {"rbj-highpass", Make<Dsp::RBJ::HighPass>},
    {"rbj-bandpass1", Make<Dsp::RBJ::BandPass1>},
    {"rbj-bandstop", Make<Dsp::RBJ::BandStop>},
};

void Usage()
{
  std::fprintf(stderr, "usage: tgfilter <design> [Name=value ...] [--points N] [--linear]\n"
                       "                [--png file.png] [--db-min D] [--db-max D]\n"
                       "       tgfilter --list\n");
}

void List()
{
  for (const Entry& e : kDesigns)
  {
    auto f = e.create();
    std::printf("%-16s \"%s\" kind %d:", e.key, f->getName(), static_cast<int>(f->getKind()));
    for (int i = 0; i < f->getNumParams(); ++i)
    {
      const Dsp::ParamInfo info = f->getParamInfo(i);
      std::printf(" %s (%s, default %s)", info.shortName, info.longName,
                  info.toString(info.defaultValue).c_str());
    }
    std::printf("\n");
  }
}

struct Point
{
  double hz;
  double db;
  double phaseDeg;
};

// A small RGB canvas for the plot.
struct Canvas
{
  int width;
  int height;
  std::vector<unsigned char> rgb;

  Canvas(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 255) {}

  void Set(int x, int y, unsigned r, unsigned g, unsigned b)
  {
    if (x < 0 || y < 0 || x >= width || y >= height)
      return;
    unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    p[0] = static_cast<unsigned char>(r);
    p[1] = static_cast<unsigned char>(g);
    p[2] = static_cast<unsigned char>(b);
  }
  void Hline(int y, int x0, int x1, unsigned r, unsigned g, unsigned b)
  {
    for (int x = x0; x <= x1; ++x)
      Set(x, y, r, g, b);
  }
  void Vline(int x, int y0, int y1, unsigned r, unsigned g, unsigned b)
  {
    for (int y = y0; y <= y1; ++y)
      Set(x, y, r, g, b);
  }
  void Line(double x0, double y0, double x1, double y1, unsigned r, unsigned g, unsigned b)
  {
    const int steps = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) + 1;
    for (int i = 0; i <= steps; ++i)
    {
      const double t = static_cast<double>(i) / steps;
      const int x = static_cast<int>(std::lround(x0 + (x1 - x0) * t));
      const int y = static_cast<int>(std::lround(y0 + (y1 - y0) * t));
      Set(x, y, r, g, b);
      Set(x, y + 1, r, g, b);
    }
  }
};

bool WritePlot(const char* path, const std::vector<Point>& points, double fs, bool linear,
               double dbMin, double dbMax)
{
  const int width = 900;
  const int height = 600;
  const int left = 40, right = width - 20;
  const int magTop = 20, magBottom = 390;
  const int phaseTop = 420, phaseBottom = height - 20;
  Canvas c(width, height);
  const double fMin = points.front().hz;
  const double fMax = points.back().hz;
  auto xOf = [&](double hz)
  {
    const double t =
        linear ? (hz - fMin) / (fMax - fMin) : std::log(hz / fMin) / std::log(fMax / fMin);
    return left + t * (right - left);
  };
  auto yMag = [&](double db)
  {
    const double clamped = std::clamp(db, dbMin, dbMax);
    return magBottom - (clamped - dbMin) / (dbMax - dbMin) * (magBottom - magTop);
  };
  auto yPhase = [&](double deg)
  { return phaseBottom - (deg + 180) / 360 * (phaseBottom - phaseTop); };
  // Grid: decades (and their 2..9 multiples faintly) or tenths of the band; 6 dB steps
  // with 0 dB darker; phase every 90 degrees.
  if (!linear)
  {
    for (double decade = 1; decade <= fs; decade *= 10)
      for (int m = 1; m <= 9; ++m)
      {
        const double hz = decade * m;
        if (hz < fMin || hz > fMax)
          continue;
        const unsigned shade = m == 1 ? 150 : 220;
        const int x = static_cast<int>(xOf(hz));
        c.Vline(x, magTop, magBottom, shade, shade, shade);
        c.Vline(x, phaseTop, phaseBottom, shade, shade, shade);
      }
  }
  else
  {
    for (int i = 0; i <= 10; ++i)
    {
      const int x = static_cast<int>(left + i * (right - left) / 10.0);
      c.Vline(x, magTop, magBottom, 200, 200, 200);
      c.Vline(x, phaseTop, phaseBottom, 200, 200, 200);
    }
  }
  for (double db = std::ceil(dbMin / 6) * 6; db <= dbMax; db += 6)
  {
    const unsigned shade = db == 0 ? 90 : 200;
    c.Hline(static_cast<int>(yMag(db)), left, right, shade, shade, shade);
  }
  for (int deg = -180; deg <= 180; deg += 90)
  {
    const unsigned shade = deg == 0 ? 90 : 200;
    c.Hline(static_cast<int>(yPhase(deg)), left, right, shade, shade, shade);
  }
  for (size_t i = 1; i < points.size(); ++i)
  {
    const Point& a = points[i - 1];
    const Point& b = points[i];
    c.Line(xOf(a.hz), yMag(a.db), xOf(b.hz), yMag(b.db), 20, 60, 200);
    // No line across a phase wrap.
    if (std::fabs(b.phaseDeg - a.phaseDeg) < 180)
      c.Line(xOf(a.hz), yPhase(a.phaseDeg), xOf(b.hz), yPhase(b.phaseDeg), 200, 60, 20);
  }

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  const int ok = png_image_write_to_file(&image, path, 0, c.rgb.data(), 0, nullptr);
  if (!ok)
    std::fprintf(stderr, "tgfilter: cannot write %s: %s\n", path, image.message);
  return ok != 0;
}

} // namespace

int main(int argc, char** argv)
{
  if (argc < 2)
  {
    Usage();
    return 2;
  }
  if (std::strcmp(argv[1], "--list") == 0)
  {
    List();
    return 0;
  }
  std::unique_ptr<Dsp::Filter> filter;
  for (const Entry& e : kDesigns)
    if (strcasecmp(argv[1], e.key) == 0)
      filter = e.create();
  if (!filter)
  {
    std::fprintf(stderr, "tgfilter: unknown design \"%s\" (see --list)\n", argv[1]);
    return 2;
  }

  Dsp::Params params = filter->getDefaultParams();
  int points = 400;
  bool linear = false;
  const char* pngPath = nullptr;
  double dbMin = -60;
  double dbMax = 30;
  for (int i = 2; i < argc; ++i)
  {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--points" && hasValue)
    {
      points = std::max(2, std::atoi(argv[++i]));
    }
    else if (arg == "--linear")
    {
      linear = true;
    }
    else if (arg == "--png" && hasValue)
    {
      pngPath = argv[++i];
    }
    else if (arg == "--db-min" && hasValue)
    {
      dbMin = std::atof(argv[++i]);
    }
    else if (arg == "--db-max" && hasValue)
    {
      dbMax = std::atof(argv[++i]);
    }
    else
    {
      const size_t eq = arg.find('=');
      int index = -1;
      if (eq != std::string::npos)
      {
        const std::string name = arg.substr(0, eq);
        for (int p = 0; p < filter->getNumParams(); ++p)
          if (strcasecmp(name.c_str(), filter->getParamInfo(p).shortName) == 0)
            index = p;
      }
      if (index < 0)
      {
        std::fprintf(stderr, "tgfilter: unknown argument \"%s\"\n", arg.c_str());
        Usage();
        return 2;
      }
      char* end = nullptr;
      const double v = std::strtod(arg.c_str() + eq + 1, &end);
      if (end == arg.c_str() + eq + 1 || *end != '\0')
      {
        std::fprintf(stderr, "tgfilter: \"%s\" is not a number\n", arg.c_str() + eq + 1);
        return 2;
      }
      params[index] = v;
    }
  }
  if (dbMax <= dbMin)
  {
    std::fprintf(stderr, "tgfilter: --db-max must be above --db-min\n");
    return 2;
  }
  if (!filter->setParams(params))
  {
    std::fprintf(stderr, "tgfilter: the design refused these parameters\n");
    return 1;
  }

  double fs = 44100;
  const int fsIndex = filter->findParamIndex(Dsp::kIdSampleRate);
  if (fsIndex >= 0)
    fs = filter->getParams()[fsIndex];
  std::printf("# %s:", filter->getName());
  for (int p = 0; p < filter->getNumParams(); ++p)
  {
    const Dsp::ParamInfo info = filter->getParamInfo(p);
    std::printf(" %s=%s", info.shortName, info.toString(filter->getParams()[p]).c_str());
  }
  std::printf("; %zu sections\n", filter->getPoleZeros().size());
  std::printf("frequency_hz,normalized_frequency,magnitude,magnitude_db,phase_degrees\n");

  std::vector<Point> curve;
  const double fLow = linear ? 0.0 : 10.0;
  const double fHigh = fs / 2;
  for (int i = 0; i < points; ++i)
  {
    const double t = static_cast<double>(i) / (points - 1);
    const double hz = linear ? fLow + (fHigh - fLow) * t : fLow * std::pow(fHigh / fLow, t);
    const Dsp::ComplexT h = filter->response(hz / fs);
    const double magnitude = std::abs(h);
    const double db = 20 * std::log10(std::max(magnitude, 1e-30));
    const double phase = std::arg(h) * 180 / std::numbers::pi;
    std::printf("%.6f,%.9f,%.9g,%.6f,%.4f\n", hz, hz / fs, magnitude, db, phase);
    curve.push_back({linear && i == 0 ? 1e-9 : hz, db, phase});
  }
  if (pngPath && !WritePlot(pngPath, curve, fs, linear, dbMin, dbMax))
    return 1;
  return 0;
}
