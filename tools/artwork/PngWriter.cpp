#include "tools/artwork/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

bool PngWriter::Write(const Canvas& canvas, const std::string& path, int level)
{
  const std::vector<std::uint8_t> rgba = canvas.Rgba8();
  const bool opaque = canvas.Opaque();
  const int channels = opaque ? 3 : 4;
  const std::size_t w = std::size_t(canvas.Width());
  const std::size_t h = std::size_t(canvas.Height());
  std::vector<std::uint8_t> data(w * h * std::size_t(channels));
  for (std::size_t i = 0; i < w * h; ++i)
    for (int c = 0; c < channels; ++c)
      data[i * std::size_t(channels) + std::size_t(c)] = rgba[i * 4 + std::size_t(c)];

  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info)
  {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(file);
    return false;
  }
  std::vector<png_bytep> rows(h);
  for (std::size_t y = 0; y < h; ++y)
    rows[y] = data.data() + y * w * std::size_t(channels);
  if (setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, level);
  png_set_compression_mem_level(png, 9);
  png_set_compression_strategy(png, 0);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8,
               opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}
