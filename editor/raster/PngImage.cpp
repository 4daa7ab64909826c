#include "editor/raster/PngImage.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>
#include <new>
#include <utility>

namespace
{
// The compressed bytes libpng reads from; a read past the end is a decoding error.
struct MemoryReader
{
  const unsigned char* data;
  std::size_t size;
  std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > reader->size - reader->position)
    png_error(png, "truncated image data");
  std::memcpy(out, reader->data + reader->position, count);
  reader->position += count;
}

// Errors end the decode silently through longjmp back into DecodeRows; warnings are
// ignored. (libpng's own handlers would print to the host's console.)
void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Everything the decode touches after setjmp lives here, outside the frame that
// calls setjmp, so a longjmp back leaves it in a known state.
struct DecodeState
{
  MemoryReader reader;
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  std::vector<std::uint32_t> pixels;
  std::vector<png_bytep> rows;
};

// Reads the header, sets the transformations and decodes every row; false when
// libpng reports an error (it longjmps back here) or the image is too large. Only
// trivially destructible objects live in this frame.
bool DecodeRows(DecodeState* s)
{
  if (setjmp(png_jmpbuf(s->png)))
    return false;
  png_set_read_fn(s->png, &s->reader, ReadFromMemory);
  png_set_user_limits(s->png, PngImage::kMaxSide, PngImage::kMaxSide);
  png_read_info(s->png, s->info);

  int bitDepth = 0;
  int colorType = 0;
  png_get_IHDR(s->png, s->info, &s->width, &s->height, &bitDepth, &colorType, nullptr, nullptr,
               nullptr);
  if (s->width == 0 || s->height == 0 ||
      std::size_t(s->width) * std::size_t(s->height) > PngImage::kMaxPixels)
    return false;

  if (colorType == PNG_COLOR_TYPE_PALETTE)
    png_set_palette_to_rgb(s->png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
    png_set_expand_gray_1_2_4_to_8(s->png);
  if (png_get_valid(s->png, s->info, PNG_INFO_tRNS))
    png_set_tRNS_to_alpha(s->png);
  if (bitDepth == 16)
    png_set_strip_16(s->png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(s->png);
  if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(s->png, s->info, PNG_INFO_tRNS))
    png_set_filler(s->png, 0xFF, PNG_FILLER_AFTER);
  // Blue, green, red, alpha: the order of the editor's bitmaps.
  png_set_bgr(s->png);
  png_set_interlace_handling(s->png);
  png_read_update_info(s->png, s->info);
  if (png_get_rowbytes(s->png, s->info) != std::size_t(s->width) * 4)
    return false;

  s->pixels.assign(std::size_t(s->width) * std::size_t(s->height), 0);
  s->rows.resize(s->height);
  for (png_uint_32 y = 0; y < s->height; ++y)
    s->rows[y] = reinterpret_cast<png_bytep>(s->pixels.data() + std::size_t(y) * s->width);
  png_read_image(s->png, s->rows.data());
  png_read_end(s->png, nullptr);
  return true;
}
} // namespace

bool PngImage::HasSignature(const void* data, std::size_t size)
{
  return data && size >= 8 && png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) == 0;
}

bool PngImage::Decode(const void* data, std::size_t size)
{
  if (!HasSignature(data, size))
    return false;
  DecodeState state;
  state.reader = {static_cast<const unsigned char*>(data), size, 0};
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, IgnoreWarning);
  if (!state.png)
    return false;
  state.info = png_create_info_struct(state.png);
  if (!state.info)
  {
    png_destroy_read_struct(&state.png, nullptr, nullptr);
    return false;
  }
  bool ok = false;
  try
  {
    ok = DecodeRows(&state);
  }
  catch (const std::bad_alloc&)
  {
    ok = false;
  }
  png_destroy_read_struct(&state.png, &state.info, nullptr);
  if (!ok)
    return false;

  // Pixels are stored as bytes B, G, R, A; on a big-endian machine the words read
  // back differently, so they are put into 0xAARRGGBB explicitly.
  if constexpr (std::endian::native == std::endian::big)
  {
    for (auto& p : state.pixels)
    {
      const auto* b = reinterpret_cast<const unsigned char*>(&p);
      p = std::uint32_t(b[3]) << 24 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[1]) << 8 | b[0];
    }
  }
  width = int(state.width);
  height = int(state.height);
  pixels = std::move(state.pixels);
  return true;
}
