// The drawing surface in plain memory (no native device context off Windows).
#include "editor/raster/LICE_SysBitmap.h"

#include <cstdlib>

LICE_SysBitmap::LICE_SysBitmap(int w, int h) { Resize(w, h); }

LICE_SysBitmap::~LICE_SysBitmap() { Release(); }

void LICE_SysBitmap::Release()
{
  std::free(bits);
  bits = nullptr;
  width = height = allocWidth = allocHeight = 0;
}

bool LICE_SysBitmap::Resize(int w, int h)
{
  if (w <= 0 || h <= 0 || w > 32768 || h > 32768)
  {
    Release();
    return w == 0 || h == 0;
  }
  if (bits && w <= allocWidth && h <= allocHeight)
  {
    width = w;
    height = h;
    return true;
  }
  Release();
  const int span = (w + 3) & ~3;
  bits = static_cast<std::uint32_t*>(
      std::calloc(std::size_t(span) * std::size_t(h), sizeof(std::uint32_t)));
  if (!bits)
    return false;
  width = w;
  height = h;
  allocWidth = span;
  allocHeight = h;
  return true;
}
