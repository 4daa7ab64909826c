#pragma once
// A bitmap in process memory. Rows are the width rounded up to a multiple of 4
// pixels; the buffer grows to 5/4 of what a new size needs (plus 63 bytes) so that
// repeated growth is cheap, and never shrinks except to nothing.
#include "editor/raster/LICE_IBitmap.h"

#include <cstddef>

class LICE_MemBitmap : public LICE_IBitmap
{
public:
  LICE_MemBitmap(int w = 0, int h = 0);
  ~LICE_MemBitmap() override;

  std::uint32_t* GetBits() override { return bits; }
  int GetWidth() const override { return width; }
  int GetHeight() const override { return height; }
  int GetRowSpan() const override { return rowSpan; }
  bool Resize(int w, int h) override;

  // Bytes held for the pixels (at least rowSpan * height * 4).
  std::size_t Capacity() const { return capacity; }
  // Row span for a width: the width rounded up to a multiple of 4.
  static int RowSpanFor(int w) { return (w + 3) & ~3; }

private:
  std::uint32_t* bits = nullptr;
  std::size_t capacity = 0;
  int width = 0;
  int height = 0;
  int rowSpan = 0;
};
