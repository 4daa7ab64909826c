#include "editor/raster/LICE_MemBitmap.h"

#include <cstdlib>

LICE_MemBitmap::LICE_MemBitmap(int w, int h) { Resize(w, h); }

LICE_MemBitmap::~LICE_MemBitmap() { std::free(bits); }

bool LICE_MemBitmap::Resize(int w, int h)
{
  if (w <= 0 || h <= 0 || w > 32768 || h > 32768)
  {
    // Nothing to hold: the buffer goes.
    std::free(bits);
    bits = nullptr;
    capacity = 0;
    width = height = rowSpan = 0;
    return w == 0 || h == 0;
  }
  const int span = RowSpanFor(w);
  const std::size_t needed = std::size_t(span) * std::size_t(h) * sizeof(std::uint32_t);
  if (needed > capacity)
  {
    const std::size_t grown = needed + needed / 4 + 63;
    void* moved = std::realloc(bits, grown);
    if (!moved)
    {
      // Growing in place failed: a fresh block instead (the content is not kept).
      std::free(bits);
      bits = nullptr;
      moved = std::malloc(grown);
    }
    if (!moved)
    {
      capacity = 0;
      width = height = rowSpan = 0;
      return false;
    }
    bits = static_cast<std::uint32_t*>(moved);
    capacity = grown;
  }
  width = w;
  height = h;
  rowSpan = span;
  return true;
}
