#pragma once
// The editor's drawing surface: the bitmap the window is painted from. On Windows a
// 32-bit top-down DIB section selected into a memory device context of its own (so the
// system can draw text into it and copy it to the window); elsewhere plain memory.
// The allocated width is rounded up to a multiple of 4; a resize within the allocated
// size only changes the logical size.
#include "editor/raster/LICE_IBitmap.h"

class LICE_SysBitmap : public LICE_IBitmap
{
public:
  LICE_SysBitmap(int w = 0, int h = 0);
  ~LICE_SysBitmap() override;

  std::uint32_t* GetBits() override { return bits; }
  int GetWidth() const override { return width; }
  int GetHeight() const override { return height; }
  int GetRowSpan() const override { return allocWidth; }
  bool Resize(int w, int h) override;
  void* GetDC() const override { return dc; }

private:
  void Release();

  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int allocWidth = 0;
  int allocHeight = 0;
  // Windows only: the memory device context, the DIB section and the bitmap it
  // replaced in the context.
  void* dc = nullptr;
  void* dib = nullptr;
  void* previous = nullptr;
};
