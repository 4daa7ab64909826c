#include "tools/common/ContactSheet.h"

#include "voice/Fft.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kBackground = 0x101418;
constexpr uint32_t kTitleBar = 0x23303a;
constexpr uint32_t kTitleText = 0xf0f0e0;
constexpr uint32_t kWaveColour = 0x7fd6ff;
constexpr uint32_t kWaveAxis = 0x2a3a44;
constexpr double kLowHz = 30.0;
constexpr double kHighHz = 16000.0;
constexpr double kFloorDb = -90.0;

// The 5x7 font: five columns per character, bit 0 the top row.
constexpr uint8_t kFont[95][5] = {
    {0x00, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x5F, 0x00, 0x00}, // space !
    {0x00, 0x07, 0x00, 0x07, 0x00}, {0x14, 0x7F, 0x14, 0x7F, 0x14}, // " #
    {0x24, 0x2A, 0x7F, 0x2A, 0x12}, {0x23, 0x13, 0x08, 0x64, 0x62}, // $ %
    {0x36, 0x49, 0x56, 0x20, 0x50}, {0x00, 0x05, 0x03, 0x00, 0x00}, // & '
    {0x00, 0x1C, 0x22, 0x41, 0x00}, {0x00, 0x41, 0x22, 0x1C, 0x00}, // ( )
    {0x2A, 0x1C, 0x7F, 0x1C, 0x2A}, {0x08, 0x08, 0x3E, 0x08, 0x08}, // * +
    {0x00, 0x50, 0x30, 0x00, 0x00}, {0x08, 0x08, 0x08, 0x08, 0x08}, // , -
    {0x00, 0x60, 0x60, 0x00, 0x00}, {0x20, 0x10, 0x08, 0x04, 0x02}, // . /
    {0x3E, 0x51, 0x49, 0x45, 0x3E}, {0x00, 0x42, 0x7F, 0x40, 0x00}, // 0 1
    {0x42, 0x61, 0x51, 0x49, 0x46}, {0x21, 0x41, 0x45, 0x4B, 0x31}, // 2 3
    {0x18, 0x14, 0x12, 0x7F, 0x10}, {0x27, 0x45, 0x45, 0x45, 0x39}, // 4 5
    {0x3C, 0x4A, 0x49, 0x49, 0x30}, {0x01, 0x71, 0x09, 0x05, 0x03}, // 6 7
    {0x36, 0x49, 0x49, 0x49, 0x36}, {0x06, 0x49, 0x49, 0x29, 0x1E}, // 8 9
    {0x00, 0x36, 0x36, 0x00, 0x00}, {0x00, 0x56, 0x36, 0x00, 0x00}, // : ;
    {0x08, 0x14, 0x22, 0x41, 0x00}, {0x14, 0x14, 0x14, 0x14, 0x14}, // < =
    {0x00, 0x41, 0x22, 0x14, 0x08}, {0x02, 0x01, 0x51, 0x09, 0x06}, // > ?
    {0x32, 0x49, 0x79, 0x41, 0x3E}, {0x7E, 0x11, 0x11, 0x11, 0x7E}, // @ A
    {0x7F, 0x49, 0x49, 0x49, 0x36}, {0x3E, 0x41, 0x41, 0x41, 0x22}, // B C
    {0x7F, 0x41, 0x41, 0x22, 0x1C}, {0x7F, 0x49, 0x49, 0x49, 0x41}, // D E
    {0x7F, 0x09, 0x09, 0x09, 0x01}, {0x3E, 0x41, 0x49, 0x49, 0x7A}, // F G
    {0x7F, 0x08, 0x08, 0x08, 0x7F}, {0x00, 0x41, 0x7F, 0x41, 0x00}, // H I
    {0x20, 0x40, 0x41, 0x3F, 0x01}, {0x7F, 0x08, 0x14, 0x22, 0x41}, // J K
    {0x7F, 0x40, 0x40, 0x40, 0x40}, {0x7F, 0x02, 0x0C, 0x02, 0x7F}, // L M
    {0x7F, 0x04, 0x08, 0x10, 0x7F}, {0x3E, 0x41, 0x41, 0x41, 0x3E}, // N O
    {0x7F, 0x09, 0x09, 0x09, 0x06}, {0x3E, 0x41, 0x51, 0x21, 0x5E}, // P Q
    {0x7F, 0x09, 0x19, 0x29, 0x46}, {0x46, 0x49, 0x49, 0x49, 0x31}, // R S
    {0x01, 0x01, 0x7F, 0x01, 0x01}, {0x3F, 0x40, 0x40, 0x40, 0x3F}, // T U
    {0x1F, 0x20, 0x40, 0x20, 0x1F}, {0x3F, 0x40, 0x38, 0x40, 0x3F}, // V W
    {0x63, 0x14, 0x08, 0x14, 0x63}, {0x07, 0x08, 0x70, 0x08, 0x07}, // X Y
    {0x61, 0x51, 0x49, 0x45, 0x43}, {0x00, 0x7F, 0x41, 0x41, 0x00}, // Z [
    {0x02, 0x04, 0x08, 0x10, 0x20}, {0x00, 0x41, 0x41, 0x7F, 0x00}, // \ ]
    {0x04, 0x02, 0x01, 0x02, 0x04}, {0x40, 0x40, 0x40, 0x40, 0x40}, // ^ _
    {0x00, 0x01, 0x02, 0x04, 0x00}, {0x20, 0x54, 0x54, 0x54, 0x78}, // ` a
    {0x7F, 0x48, 0x44, 0x44, 0x38}, {0x38, 0x44, 0x44, 0x44, 0x20}, // b c
    {0x38, 0x44, 0x44, 0x48, 0x7F}, {0x38, 0x54, 0x54, 0x54, 0x18}, // d e
    {0x08, 0x7E, 0x09, 0x01, 0x02}, {0x0C, 0x52, 0x52, 0x52, 0x3E}, // f g
    {0x7F, 0x08, 0x04, 0x04, 0x78}, {0x00, 0x44, 0x7D, 0x40, 0x00}, // h i
    {0x20, 0x40, 0x44, 0x3D, 0x00}, {0x7F, 0x10, 0x28, 0x44, 0x00}, // j k
    {0x00, 0x41, 0x7F, 0x40, 0x00}, {0x7C, 0x04, 0x18, 0x04, 0x78}, // l m
    {0x7C, 0x08, 0x04, 0x04, 0x78}, {0x38, 0x44, 0x44, 0x44, 0x38}, // n o
    {0x7C, 0x14, 0x14, 0x14, 0x08}, {0x08, 0x14, 0x14, 0x18, 0x7C}, // p q
    {0x7C, 0x08, 0x04, 0x04, 0x08}, {0x48, 0x54, 0x54, 0x54, 0x20}, // r s
    {0x04, 0x3F, 0x44, 0x40, 0x20}, {0x3C, 0x40, 0x40, 0x20, 0x7C}, // t u
    {0x1C, 0x20, 0x40, 0x20, 0x1C}, {0x3C, 0x40, 0x30, 0x40, 0x3C}, // v w
    {0x44, 0x28, 0x10, 0x28, 0x44}, {0x0C, 0x50, 0x50, 0x50, 0x3C}, // x y
    {0x44, 0x64, 0x54, 0x4C, 0x44}, {0x00, 0x08, 0x36, 0x41, 0x00}, // z {
    {0x00, 0x00, 0x7F, 0x00, 0x00}, {0x00, 0x41, 0x36, 0x08, 0x00}, // | }
    {0x08, 0x04, 0x08, 0x10, 0x08},                                 // ~
};

// Level in dB (kFloorDb..0) to a colour: black, blue, magenta, orange, pale yellow.
uint32_t HeatColour(double db)
{
  const double t = std::clamp((db - kFloorDb) / -kFloorDb, 0.0, 1.0);
  static constexpr double kStops[5][3] = {
      {0, 0, 0}, {30, 20, 120}, {170, 30, 140}, {250, 140, 30}, {255, 250, 200}};
  const double pos = t * 4.0;
  const int i = std::min(3, int(pos));
  const double f = pos - i;
  uint32_t rgb = 0;
  for (int c = 0; c < 3; ++c)
  {
    const double v = kStops[i][c] + f * (kStops[i + 1][c] - kStops[i][c]);
    rgb = (rgb << 8) | uint32_t(std::clamp(v, 0.0, 255.0));
  }
  return rgb;
}
} // namespace

ContactSheet::ContactSheet(int cells, int columnCount)
  : columns(std::max(1, columnCount)), width(columns * kCellWidth),
    height(std::max(1, (std::max(cells, 1) + columns - 1) / columns) * kCellHeight)
{
  pixels.assign(size_t(width) * size_t(height) * 3, 0);
  Fill(0, 0, width, height, kBackground);
}

void ContactSheet::Put(int x, int y, uint32_t rgb)
{
  if (x < 0 || y < 0 || x >= width || y >= height)
    return;
  uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 3];
  p[0] = uint8_t(rgb >> 16);
  p[1] = uint8_t(rgb >> 8);
  p[2] = uint8_t(rgb);
}

uint32_t ContactSheet::PixelAt(int x, int y) const
{
  if (x < 0 || y < 0 || x >= width || y >= height)
    return 0;
  const uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 3];
  return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

void ContactSheet::Fill(int x0, int y0, int w, int h, uint32_t rgb)
{
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x)
      Put(x, y, rgb);
}

int ContactSheet::DrawText(int x, int y, const std::string& text, uint32_t rgb)
{
  for (char ch : text)
  {
    const int code = static_cast<unsigned char>(ch);
    const uint8_t* glyph = kFont[(code >= 32 && code <= 126 ? code : '?') - 32];
    for (int col = 0; col < 5; ++col)
      for (int row = 0; row < 7; ++row)
        if (glyph[col] >> row & 1)
          Put(x + col, y + row, rgb);
    x += 6;
  }
  return x;
}

void ContactSheet::DrawWave(int x0, int y0, int w, int h, const std::vector<double>& sound)
{
  const int mid = y0 + h / 2;
  Fill(x0, mid, w, 1, kWaveAxis);
  if (sound.empty())
    return;
  for (int x = 0; x < w; ++x)
  {
    const size_t a = sound.size() * size_t(x) / size_t(w);
    const size_t b = std::max(a + 1, sound.size() * size_t(x + 1) / size_t(w));
    double lo = 0.0, hi = 0.0;
    for (size_t i = a; i < b && i < sound.size(); ++i)
      if (std::isfinite(sound[i]))
      {
        lo = std::min(lo, sound[i]);
        hi = std::max(hi, sound[i]);
      }
    const int halfHeight = h / 2 - 1; // whole pixels either side of the axis
    const int top = mid - int(std::clamp(hi, -1.0, 1.0) * double(halfHeight));
    const int bottom = mid - int(std::clamp(lo, -1.0, 1.0) * double(halfHeight));
    Fill(x0 + x, top, 1, std::max(1, bottom - top + 1), kWaveColour);
  }
}

void ContactSheet::DrawSpectrogram(int x0, int y0, int w, int h, const std::vector<double>& sound,
                                   double sampleRate)
{
  constexpr int kSize = 2048;
  Korvane::Fft fft(kSize);
  std::vector<double> frame(kSize);
  std::vector<std::complex<double>> spectrum(kSize / 2 + 1);
  std::vector<double> db(kSize / 2 + 1);
  for (int x = 0; x < w; ++x)
  {
    const size_t centre = sound.size() * size_t(x) / size_t(w);
    for (int i = 0; i < kSize; ++i)
    {
      const long at = long(centre) + i - kSize / 2;
      const double v = at >= 0 && size_t(at) < sound.size() ? sound[size_t(at)] : 0.0;
      const double win = 0.5 - 0.5 * std::cos(2.0 * kPi * i / kSize);
      frame[size_t(i)] = std::isfinite(v) ? v * win : 0.0;
    }
    fft.forwardReal(frame.data(), spectrum.data());
    for (size_t k = 0; k < db.size(); ++k)
    {
      // A full-scale sine gives about 0 dB: the Hann window halves the amplitude.
      const double m = std::abs(spectrum[k]) * 4.0 / kSize;
      db[k] = m > 0.0 ? 20.0 * std::log10(m) : kFloorDb;
    }
    for (int y = 0; y < h; ++y)
    {
      // Row y (0 at the top) covers one step of the logarithmic frequency axis.
      const double f0 = kLowHz * std::pow(kHighHz / kLowHz, double(h - 1 - y) / h);
      const double f1 = kLowHz * std::pow(kHighHz / kLowHz, double(h - y) / h);
      const size_t k0 = std::min(db.size() - 1, size_t(f0 * kSize / sampleRate));
      const size_t k1 = std::min(db.size() - 1, std::max(k0, size_t(f1 * kSize / sampleRate)));
      double level = kFloorDb;
      for (size_t k = k0; k <= k1; ++k)
        level = std::max(level, db[k]);
      Put(x0 + x, y0 + y, HeatColour(level));
    }
  }
}

void ContactSheet::DrawCell(int cell, const std::string& title, const std::vector<double>& sound,
                            double sampleRate)
{
  const int x0 = (cell % columns) * kCellWidth;
  const int y0 = (cell / columns) * kCellHeight;
  Fill(x0, y0, kCellWidth, kTitleHeight, kTitleBar);
  // The title is cut to what fits in the cell.
  const size_t fits = size_t((kCellWidth - 4) / 6);
  DrawText(x0 + 2, y0 + 2, title.substr(0, fits), kTitleText);
  DrawWave(x0 + 1, y0 + kTitleHeight + 1, kCellWidth - 2, kWaveHeight, sound);
  const int specTop = y0 + kTitleHeight + kWaveHeight + 2;
  DrawSpectrogram(x0 + 1, specTop, kCellWidth - 2, kCellHeight - (specTop - y0) - 2, sound,
                  sampleRate);
}

bool ContactSheet::WritePng(const std::string& path)
{
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(width);
  image.height = png_uint_32(height);
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr))
  {
    error = image.message;
    return false;
  }
  return true;
}
