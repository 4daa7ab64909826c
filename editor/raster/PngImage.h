#pragma once
// A PNG image decoded from memory through libpng into 32-bit pixels: blue, green, red
// and alpha bytes in that order (a pixel read as a little-endian uint32 is
// 0xAARRGGBB), rows top to bottom without padding. Every PNG colour type and bit depth
// comes out the same way: palettes and grey expanded to RGB, transparency chunks
// turned into alpha, 16-bit channels reduced to 8, an opaque alpha added when the image
// has none, interlaced images read whole.
#include <cstddef>
#include <cstdint>
#include <vector>

class PngImage
{
public:
  // The largest image decoded, in pixels; bigger (or corrupt) headers are refused
  // before anything is allocated for the rows.
  static constexpr std::size_t kMaxPixels = std::size_t(1) << 25;
  static constexpr std::uint32_t kMaxSide = 32768;

  PngImage() = default;

  // Decodes size bytes at data. On success the image holds the pixels and true is
  // returned; on any failure (fewer than 8 bytes, no PNG signature, damaged or
  // truncated data, an image too large) false is returned and the image is unchanged.
  bool Decode(const void* data, std::size_t size);

  // Whether the first bytes are the PNG signature.
  static bool HasSignature(const void* data, std::size_t size);

  int Width() const { return width; }
  int Height() const { return height; }
  bool Empty() const { return pixels.empty(); }
  const std::vector<std::uint32_t>& Pixels() const { return pixels; }
  // The pixel at (x, y) as 0xAARRGGBB; the coordinates must be inside the image.
  std::uint32_t Pixel(int x, int y) const
  {
    return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  }

private:
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};
