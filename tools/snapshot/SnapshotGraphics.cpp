#include "tools/snapshot/SnapshotGraphics.h"

#include "editor/raster/LICE_IBitmap.h"
#include "editor/raster/PngImage.h"
#include "tools/snapshot/PlaceholderArt.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

LICE_IBitmap* SnapshotGraphics::LoadPngResource(int number, const char* name)
{
  if (LICE_IBitmap* real = IGraphics::LoadPngResource(number, name))
    return real;
  if (!placeholders)
    return nullptr;
  std::unique_ptr<LICE_MemBitmap> made = PlaceholderArt::Make(number, name);
  if (made)
    ++placeholderCount;
  return made.release();
}

bool SnapshotGraphics::WritePng(const char* path) const
{
  LICE_IBitmap* surface = GetDrawBitmap();
  if (!surface || !surface->GetBits())
    return false;
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(surface->GetWidth());
  image.height = png_uint_32(surface->GetHeight());
  // The surface's bytes are blue, green, red, alpha; the window shows no alpha, so the
  // picture is written opaque, as the screen shows it.
  image.format = PNG_FORMAT_BGR;
  std::vector<unsigned char> rows(std::size_t(image.width) * image.height * 3);
  for (png_uint_32 y = 0; y < image.height; ++y)
  {
    const std::uint32_t* src = surface->GetBits() + std::size_t(y) * surface->GetRowSpan();
    unsigned char* dst = rows.data() + std::size_t(y) * image.width * 3;
    for (png_uint_32 x = 0; x < image.width; ++x)
    {
      dst[3 * x] = static_cast<unsigned char>(src[x]);
      dst[3 * x + 1] = static_cast<unsigned char>(src[x] >> 8);
      dst[3 * x + 2] = static_cast<unsigned char>(src[x] >> 16);
    }
  }
  return png_image_write_to_file(&image, path, 0, rows.data(), 0, nullptr) != 0;
}

bool SnapshotGraphics::Compare(const char* path, int threshold, Difference& difference) const
{
  LICE_IBitmap* surface = GetDrawBitmap();
  std::FILE* file = std::fopen(path, "rb");
  if (!surface || !surface->GetBits() || !file)
  {
    if (file)
      std::fclose(file);
    return false;
  }
  std::vector<unsigned char> bytes;
  unsigned char chunk[65536];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
    bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  PngImage picture;
  if (!picture.Decode(bytes.data(), bytes.size()) || picture.Width() != surface->GetWidth() ||
      picture.Height() != surface->GetHeight())
    return false;
  long differing = 0;
  long long sum = 0;
  int largest = 0;
  for (int y = 0; y < picture.Height(); ++y)
  {
    const std::uint32_t* row = surface->GetBits() + std::size_t(y) * surface->GetRowSpan();
    for (int x = 0; x < picture.Width(); ++x)
    {
      int worst = 0;
      for (int shift = 0; shift <= 16; shift += 8)
      {
        const int d = std::abs(int((row[x] >> shift) & 0xFF) - int((picture.Pixel(x, y) >> shift) & 0xFF));
        worst = std::max(worst, d);
        sum += d;
      }
      largest = std::max(largest, worst);
      differing += worst > threshold ? 1 : 0;
    }
  }
  const double pixels = double(picture.Width()) * double(picture.Height());
  difference.share = double(differing) / pixels;
  difference.largest = largest;
  difference.mean = double(sum) / (3.0 * pixels);
  return true;
}
