#pragma once
// Test images: PNG files encoded at test time with libpng from rows the test writes,
// and the small byte surgery tests need to damage them.
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

class PngTestEncoder
{
public:
  struct Image
  {
    int width = 0;
    int height = 0;
    int colorType = PNG_COLOR_TYPE_RGBA;
    int bitDepth = 8;
    bool interlaced = false;
    // Packed rows exactly as libpng expects them for the colour type and depth.
    std::vector<std::vector<unsigned char>> rows;
    std::vector<png_color> palette;
    std::vector<unsigned char> paletteAlpha; // tRNS for palette images
    bool greyTransparent = false;            // tRNS for grey images
    png_uint_16 greyTransparentValue = 0;
  };

  // The encoded file, or an empty vector when libpng refuses the image.
  static std::vector<unsigned char> Encode(const Image& image)
  {
    std::vector<unsigned char> out;
    Context context{&image, &out, nullptr, nullptr, {}};
    for (const auto& row : image.rows)
      context.rows.push_back(const_cast<png_bytep>(row.data()));
    context.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!context.png)
      return {};
    context.info = png_create_info_struct(context.png);
    bool ok = context.info && Write(&context);
    png_destroy_write_struct(&context.png, &context.info);
    if (!ok)
      out.clear();
    return out;
  }

  // Big-endian 32-bit value at offset.
  static void PutU32(std::vector<unsigned char>& file, std::size_t offset, std::uint32_t v)
  {
    file[offset] = static_cast<unsigned char>(v >> 24);
    file[offset + 1] = static_cast<unsigned char>(v >> 16);
    file[offset + 2] = static_cast<unsigned char>(v >> 8);
    file[offset + 3] = static_cast<unsigned char>(v);
  }

  // Replaces width and height in the IHDR chunk (always the first chunk, at byte 8)
  // and gives the chunk a correct CRC again, so only the dimensions are wrong.
  static void SetHeaderSize(std::vector<unsigned char>& file, std::uint32_t width,
                            std::uint32_t height)
  {
    PutU32(file, 16, width);
    PutU32(file, 20, height);
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), file.data() + 12, 17); // "IHDR" + 13 bytes
    PutU32(file, 29, std::uint32_t(crc));
  }

private:
  struct Context
  {
    const Image* image;
    std::vector<unsigned char>* out;
    png_structp png;
    png_infop info;
    std::vector<png_bytep> rows;
  };

  static void Append(png_structp png, png_bytep data, png_size_t size)
  {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
  }
  static void Flush(png_structp) {}

  // Only trivially destructible objects live in the frame libpng may longjmp into.
  static bool Write(Context* c)
  {
    if (setjmp(png_jmpbuf(c->png)))
      return false;
    const Image& im = *c->image;
    png_set_write_fn(c->png, c->out, Append, Flush);
    png_set_IHDR(c->png, c->info, png_uint_32(im.width), png_uint_32(im.height), im.bitDepth,
                 im.colorType, im.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!im.palette.empty())
      png_set_PLTE(c->png, c->info, im.palette.data(), int(im.palette.size()));
    if (!im.paletteAlpha.empty())
      png_set_tRNS(c->png, c->info, im.paletteAlpha.data(), int(im.paletteAlpha.size()), nullptr);
    if (im.greyTransparent)
    {
      png_color_16 grey{};
      grey.gray = im.greyTransparentValue;
      png_set_tRNS(c->png, c->info, nullptr, 0, &grey);
    }
    png_write_info(c->png, c->info);
    // Writes every pass of an interlaced image.
    png_write_image(c->png, c->rows.data());
    png_write_end(c->png, c->info);
    return true;
  }
};
