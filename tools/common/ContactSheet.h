#pragma once
// A picture of many rendered sounds at once: a grid of cells, each with a title line,
// the waveform (peak envelope per pixel column) and a spectrogram (logarithmic
// frequency 30 Hz to 16 kHz, level from -90 to 0 dB in colour), written as an RGB PNG.
// The titles are drawn with a small built-in 5x7 pixel font (ASCII 32 to 126).
#include <cstdint>
#include <string>
#include <vector>

class ContactSheet
{
public:
  static constexpr int kCellWidth = 240;
  static constexpr int kCellHeight = 150;
  static constexpr int kTitleHeight = 12;
  static constexpr int kWaveHeight = 54;

  // A sheet of `cells` cells in rows of `columns`.
  ContactSheet(int cells, int columns);

  // Draws one cell: its title and the sound (mono samples at sampleRate).
  void DrawCell(int cell, const std::string& title, const std::vector<double>& sound,
                double sampleRate);
  // false with Error() set when the file cannot be written.
  bool WritePng(const std::string& path);
  const std::string& Error() const { return error; }

  int Width() const { return width; }
  int Height() const { return height; }
  // The pixel at (x, y) as 0xRRGGBB (for tests).
  uint32_t PixelAt(int x, int y) const;

  // Draws text at (x, y) (top left) in the given colour; characters outside 32..126
  // draw as '?'. Returns the x after the text.
  int DrawText(int x, int y, const std::string& text, uint32_t rgb);

private:
  void Fill(int x0, int y0, int w, int h, uint32_t rgb);
  void Put(int x, int y, uint32_t rgb);
  void DrawWave(int x0, int y0, int w, int h, const std::vector<double>& sound);
  void DrawSpectrogram(int x0, int y0, int w, int h, const std::vector<double>& sound,
                       double sampleRate);

  int columns;
  int width;
  int height;
  std::vector<uint8_t> pixels; // RGB rows
  std::string error;
};
