// The drawing surface as a 32-bit top-down DIB section in a memory device context.
#include "editor/raster/LICE_SysBitmap.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

LICE_SysBitmap::LICE_SysBitmap(int w, int h)
{
  dc = CreateCompatibleDC(nullptr);
  Resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  Release();
  if (dc)
    DeleteDC(static_cast<HDC>(dc));
}

void LICE_SysBitmap::Release()
{
  if (dib)
  {
    SelectObject(static_cast<HDC>(dc), static_cast<HGDIOBJ>(previous));
    DeleteObject(static_cast<HGDIOBJ>(dib));
  }
  dib = previous = nullptr;
  bits = nullptr;
  width = height = allocWidth = allocHeight = 0;
}

bool LICE_SysBitmap::Resize(int w, int h)
{
  if (w <= 0 || h <= 0 || w > 32768 || h > 32768 || !dc)
  {
    Release();
    return (w == 0 || h == 0) && dc;
  }
  if (dib && w <= allocWidth && h <= allocHeight)
  {
    width = w;
    height = h;
    return true;
  }
  Release();
  const int span = (w + 3) & ~3;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = span;
  info.bmiHeader.biHeight = -h; // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(static_cast<HDC>(dc), &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!bitmap || !pixels)
  {
    if (bitmap)
      DeleteObject(bitmap);
    return false;
  }
  GdiFlush();
  dib = bitmap;
  previous = SelectObject(static_cast<HDC>(dc), bitmap);
  bits = static_cast<std::uint32_t*>(pixels);
  width = w;
  height = h;
  allocWidth = span;
  allocHeight = h;
  return true;
}
