// tgcurve: prints a distortion type's transfer curve, or a saturator's table, as CSV on
// standard output, and draws a contact sheet of all 36 types (and the two saturation
// tables) with their names and telling values into one PNG file.
//
//   tgcurve <type 0..35> [--stored]   the curve a new instrument starts with, or with
//                                     --stored the type's stored table ("Restore Curve")
//   tgcurve --saturator <kind 0|1>    a saturator's table
//   tgcurve --shaper AMOUNT MODE [TYPE [INVERT [POS-NEG]]]
//                                     the dynamic shaper's transfer (128 points,
//                                     inputs -1..+1) for these parameter values (0..1)
//   tgcurve --sheet file.png [first last]
//                                     the contact sheet, or of types first..last
//                                     (36 and 37 are the saturation tables)
//   tgcurve --list                    the types' names
//
// CSV columns: point (0..511), input (2k/511 - 1), output.

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "effects/distortion/DistortionTypes.h"
#include "effects/dynamics/DynShaper.h"
#include "effects/dynamics/SaturationTables.h"

namespace
{

using Korvane::DistortionTypes;
using Korvane::SaturationTables;
using Points = Korvane::DistortionCurve::Points;

void Usage()
{
  std::fprintf(stderr, "usage: tgcurve <type 0..35> [--stored]\n"
                       "       tgcurve --saturator <kind 0|1>\n"
                       "       tgcurve --shaper AMOUNT MODE [TYPE [INVERT [POS-NEG]]]\n"
                       "       tgcurve --sheet file.png [first last]\n"
                       "       tgcurve --list\n");
}

void PrintCsv(const Points& points)
{
  std::printf("point,input,output\n");
  for (int k = 0; k < 512; ++k)
    std::printf("%d,%.10f,%.10f\n", k, 2.0 * k / 511.0 - 1.0, points[k]);
}

// A 5 x 7 bitmap font for upper-case letters, digits, '-', '.' and space; each glyph is
// seven rows of five bits, the leftmost pixel in bit 4.
struct Glyph
{
  char c;
  unsigned char rows[7];
};

const Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
};

const Glyph* FindGlyph(char c)
{
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const Glyph& g : kFont)
    if (g.c == upper)
      return &g;
  return nullptr; // space and anything unknown draw nothing
}

struct Rgb
{
  unsigned char r, g, b;
};

constexpr Rgb kAxis = {150, 150, 150};
constexpr Rgb kGuide = {215, 215, 215};
constexpr Rgb kCurve = {20, 60, 200};
constexpr Rgb kStored = {240, 150, 40};
constexpr Rgb kMarker = {210, 20, 20};
constexpr Rgb kText = {0, 0, 0};

struct Canvas
{
  int width;
  int height;
  std::vector<unsigned char> rgb;

  Canvas(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 255) {}

  void Set(int x, int y, Rgb c)
  {
    if (x < 0 || y < 0 || x >= width || y >= height)
      return;
    unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }
  void Line(double x0, double y0, double x1, double y1, Rgb c)
  {
    const int steps = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) + 1;
    for (int i = 0; i <= steps; ++i)
    {
      const double t = static_cast<double>(i) / steps;
      Set(static_cast<int>(std::lround(x0 + (x1 - x0) * t)),
          static_cast<int>(std::lround(y0 + (y1 - y0) * t)), c);
    }
  }
  void Text(int x, int y, const std::string& text, int scale, Rgb c)
  {
    for (char ch : text)
    {
      if (const Glyph* g = FindGlyph(ch))
        for (int row = 0; row < 7; ++row)
          for (int col = 0; col < 5; ++col)
            if (g->rows[row] & (0x10 >> col))
              for (int sy = 0; sy < scale; ++sy)
                for (int sx = 0; sx < scale; ++sx)
                  Set(x + col * scale + sx, y + row * scale + sy, c);
      x += 6 * scale;
    }
  }
};

constexpr int kCellWidth = 280;
constexpr int kCellHeight = 250;
constexpr int kColumns = 6;
constexpr int kTitleHeight = 22;
constexpr int kMargin = 10;
constexpr double kRange = 1.6; // the plots show -1.6..+1.6, so overshoots stay visible

// One cell: title, axes, the +-1 guides, the stored table (where it differs), the
// curve, and a marker at each telling value.
void DrawCell(Canvas& canvas, int cell, const std::string& title, const Points& curve,
              const Points* stored, const std::array<double, 9>& telling)
{
  const int left = (cell % kColumns) * kCellWidth + kMargin;
  const int top = (cell / kColumns) * kCellHeight + kMargin;
  const int plotWidth = kCellWidth - 2 * kMargin;
  const int plotHeight = kCellHeight - kTitleHeight - 2 * kMargin;
  const int plotTop = top + kTitleHeight;
  canvas.Text(left, top, title, 2, kText);
  auto xOf = [&](double x) { return left + (x + 1.0) * 0.5 * (plotWidth - 1); };
  auto yOf = [&](double y) { return plotTop + (kRange - y) / (2.0 * kRange) * (plotHeight - 1); };
  canvas.Line(xOf(-1.0), yOf(1.0), xOf(1.0), yOf(1.0), kGuide);
  canvas.Line(xOf(-1.0), yOf(-1.0), xOf(1.0), yOf(-1.0), kGuide);
  canvas.Line(xOf(-1.0), yOf(0.0), xOf(1.0), yOf(0.0), kAxis);
  canvas.Line(xOf(0.0), yOf(kRange), xOf(0.0), yOf(-kRange), kAxis);
  canvas.Line(xOf(-1.0), yOf(kRange), xOf(-1.0), yOf(-kRange), kGuide);
  canvas.Line(xOf(1.0), yOf(kRange), xOf(1.0), yOf(-kRange), kGuide);
  auto plot = [&](const Points& p, Rgb c)
  {
    for (int k = 1; k < 512; ++k)
    {
      const double y0 = std::clamp(p[k - 1], -kRange, kRange);
      const double y1 = std::clamp(p[k], -kRange, kRange);
      canvas.Line(xOf(2.0 * (k - 1) / 511.0 - 1.0), yOf(y0), xOf(2.0 * k / 511.0 - 1.0), yOf(y1),
                  c);
    }
  };
  if (stored && *stored != curve)
    plot(*stored, kStored);
  plot(curve, kCurve);
  for (int i = 0; i < 9; ++i)
  {
    const int k = static_cast<int>(std::lround((DistortionTypes::kTellingInputs[i] + 1.0) * 255.5));
    const int cx = static_cast<int>(std::lround(xOf(2.0 * k / 511.0 - 1.0)));
    const int cy = static_cast<int>(std::lround(yOf(telling[i])));
    for (int d = -3; d <= 3; ++d)
    {
      canvas.Set(cx + d, cy + d, kMarker);
      canvas.Set(cx + d, cy - d, kMarker);
    }
  }
}

bool WriteSheet(const char* path, int first, int last)
{
  const int cells = last - first + 1;
  const int rows = (cells + kColumns - 1) / kColumns;
  const int columns = std::min(cells, kColumns);
  Canvas canvas(columns * kCellWidth, rows * kCellHeight);
  for (int index = first; index <= last; ++index)
  {
    if (index < DistortionTypes::kCount)
    {
      DrawCell(canvas, index - first, std::to_string(index) + " " + DistortionTypes::name(index),
               DistortionTypes::initialCurve(index), &DistortionTypes::storedTable(index),
               DistortionTypes::tellingValues(index));
    }
    else
    {
      const int kind = index - DistortionTypes::kCount;
      DrawCell(canvas, index - first, kind == 0 ? "SAT. MASTER" : "SAT. FILTER DRIVE",
               SaturationTables::table(kind), nullptr, SaturationTables::tellingValues(kind));
    }
  }

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(canvas.width);
  image.height = static_cast<png_uint_32>(canvas.height);
  image.format = PNG_FORMAT_RGB;
  const int ok = png_image_write_to_file(&image, path, 0, canvas.rgb.data(), 0, nullptr);
  if (!ok)
    std::fprintf(stderr, "tgcurve: cannot write %s: %s\n", path, image.message);
  return ok != 0;
}

// A whole-number argument in first..last, or -1.
int ParseIndex(const char* text, int first, int last)
{
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < first || value > last)
    return -1;
  return static_cast<int>(value);
}

// The dynamic shaper's transfer for parameter values given on the command line, as the
// editor's preview draws it; false when a value is not a number.
bool PrintShaper(int argc, char** argv)
{
  double values[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
  for (int i = 2; i < argc; ++i)
  {
    char* end = nullptr;
    values[i - 2] = std::strtod(argv[i], &end);
    if (end == argv[i] || *end != '\0' || !std::isfinite(values[i - 2]))
      return false;
  }
  Korvane::DynShaper shaper;
  shaper.setAmount(values[0]);
  shaper.setShaperMode(values[1]);
  shaper.setShapeType(values[2]);
  shaper.setInvert(values[3]);
  shaper.setPolarity(values[4]);
  std::array<double, Korvane::DynShaper::kPreviewCurvePoints> transfer{};
  std::array<double, Korvane::DynShaper::kPreviewSinePoints> sine{};
  shaper.renderPreview(transfer, sine);
  std::printf("point,input,output\n");
  for (int k = 0; k < Korvane::DynShaper::kPreviewCurvePoints; ++k)
    std::printf("%d,%.10f,%.10f\n", k, (k / 128.0 - 0.5) * 2.0, transfer[size_t(k)]);
  return true;
}

} // namespace

int main(int argc, char** argv)
{
  if (argc < 2)
  {
    Usage();
    return 2;
  }
  const std::string first = argv[1];
  if (first == "--list")
  {
    for (int type = 0; type < DistortionTypes::kCount; ++type)
      std::printf("%d,%s\n", type, DistortionTypes::name(type));
    return 0;
  }
  if (first == "--sheet" && (argc == 3 || argc == 5))
  {
    const int lastCell = DistortionTypes::kCount + SaturationTables::kKindCount - 1;
    const int from = argc == 5 ? ParseIndex(argv[3], 0, lastCell) : 0;
    const int to = argc == 5 ? ParseIndex(argv[4], 0, lastCell) : lastCell;
    if (from < 0 || to < from)
    {
      Usage();
      return 2;
    }
    return WriteSheet(argv[2], from, to) ? 0 : 1;
  }
  if (first == "--shaper" && argc >= 4 && argc <= 7)
  {
    if (PrintShaper(argc, argv))
      return 0;
    Usage();
    return 2;
  }
  if (first == "--saturator" && argc == 3)
  {
    const int kind = ParseIndex(argv[2], 0, SaturationTables::kKindCount - 1);
    if (kind < 0)
    {
      Usage();
      return 2;
    }
    PrintCsv(SaturationTables::table(kind));
    return 0;
  }
  const int type = ParseIndex(argv[1], 0, DistortionTypes::kCount - 1);
  const bool stored = argc == 3 && std::strcmp(argv[2], "--stored") == 0;
  if (type < 0 || (argc == 3 && !stored) || argc > 3)
  {
    Usage();
    return 2;
  }
  PrintCsv(stored ? DistortionTypes::storedTable(type) : DistortionTypes::initialCurve(type));
  return 0;
}
