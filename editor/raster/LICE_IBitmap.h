#pragma once
// A 32-bit image the editor draws into or from. Pixels are words whose bytes in memory
// are blue, green, red and alpha (a word read on a little-endian machine is
// 0xAARRGGBB); rows lie GetRowSpan() pixels apart, top row first unless IsFlipped().
#include <cstdint>

class LICE_IBitmap
{
public:
  LICE_IBitmap() = default;
  virtual ~LICE_IBitmap() = default;
  LICE_IBitmap(const LICE_IBitmap&) = delete;
  LICE_IBitmap& operator=(const LICE_IBitmap&) = delete;

  // The first pixel of the top row, or null for an empty bitmap.
  virtual std::uint32_t* GetBits() = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  // Distance between the starts of two rows, in pixels.
  virtual int GetRowSpan() const = 0;
  virtual bool IsFlipped() const { return false; }
  // Changes the size; the content is undefined afterwards. False when the memory for
  // the new size cannot be had (the bitmap is then empty).
  virtual bool Resize(int w, int h) = 0;
  // The native device context the bitmap is selected into (Windows system bitmaps
  // only), else null.
  virtual void* GetDC() const { return nullptr; }
  // Room for operations a bitmap kind may add; 0 when unsupported.
  virtual std::intptr_t Extended(int id, void* data) { return 0; }
};
