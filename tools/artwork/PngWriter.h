#pragma once
// Writes a canvas as a PNG file through libpng with fixed settings (8 bits per channel,
// RGB when every pixel is opaque, RGBA otherwise, no time or text chunks), so the same
// pixels and compression level always give the same bytes.
#include "tools/artwork/Canvas.h"

#include <string>

class PngWriter
{
public:
  // Compression levels: the committed images use the strongest; a quick level gives
  // the same pixels for checks that only decode them.
  static constexpr int kBest = 9;
  static constexpr int kQuick = 1;

  // Writes canvas to path; false when the file cannot be written.
  static bool Write(const Canvas& canvas, const std::string& path, int level);
};
