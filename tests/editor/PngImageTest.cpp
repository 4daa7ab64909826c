#include "editor/raster/PngImage.h"
#include "editor/PngTestEncoder.h"

#include <gtest/gtest.h>

namespace
{
using Image = PngTestEncoder::Image;

// A 3 x 2 RGBA image whose every channel differs from every other one.
Image Rgba3x2()
{
  Image im;
  im.width = 3;
  im.height = 2;
  im.colorType = PNG_COLOR_TYPE_RGBA;
  im.rows = {{0x10, 0x20, 0x30, 0x40, 0x11, 0x21, 0x31, 0xFF, 0x12, 0x22, 0x32, 0x00},
             {0xA0, 0xB0, 0xC0, 0xD0, 0xA1, 0xB1, 0xC1, 0x80, 0xFF, 0x00, 0x7F, 0x01}};
  return im;
}

std::vector<unsigned char> Encoded(const Image& im)
{
  std::vector<unsigned char> file = PngTestEncoder::Encode(im);
  EXPECT_FALSE(file.empty());
  return file;
}
} // namespace

TEST(PngImageTest, RgbaPixelsComeOutAsAarrggbbInRowOrder)
{
  PngImage image;
  const auto file = Encoded(Rgba3x2());
  ASSERT_TRUE(image.Decode(file.data(), file.size()));
  ASSERT_EQ(image.Width(), 3);
  ASSERT_EQ(image.Height(), 2);
  ASSERT_EQ(image.Pixels().size(), 6u);
  EXPECT_EQ(image.Pixel(0, 0), 0x40102030u);
  EXPECT_EQ(image.Pixel(1, 0), 0xFF112131u);
  EXPECT_EQ(image.Pixel(2, 0), 0x00122232u); // fully transparent keeps its colour
  EXPECT_EQ(image.Pixel(0, 1), 0xD0A0B0C0u);
  EXPECT_EQ(image.Pixel(1, 1), 0x80A1B1C1u);
  EXPECT_EQ(image.Pixel(2, 1), 0x01FF007Fu);
  // In memory: blue, green, red, alpha.
  const auto* bytes = reinterpret_cast<const unsigned char*>(image.Pixels().data());
  EXPECT_EQ(bytes[0], 0x30);
  EXPECT_EQ(bytes[1], 0x20);
  EXPECT_EQ(bytes[2], 0x10);
  EXPECT_EQ(bytes[3], 0x40);
}

TEST(PngImageTest, EveryColourTypeBecomesThirtyTwoBitPixels)
{
  PngImage image;
  {
    // RGB without alpha: opaque.
    Image im;
    im.width = 2;
    im.height = 1;
    im.colorType = PNG_COLOR_TYPE_RGB;
    im.rows = {{1, 2, 3, 250, 251, 252}};
    const auto file = Encoded(im);
    ASSERT_TRUE(image.Decode(file.data(), file.size()));
    EXPECT_EQ(image.Pixel(0, 0), 0xFF010203u);
    EXPECT_EQ(image.Pixel(1, 0), 0xFFFAFBFCu);
  }
  {
    // Palette with a transparency chunk covering the first two entries only.
    Image im;
    im.width = 3;
    im.height = 1;
    im.colorType = PNG_COLOR_TYPE_PALETTE;
    im.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    im.paletteAlpha = {0, 128};
    im.rows = {{2, 1, 0}};
    const auto file = Encoded(im);
    ASSERT_TRUE(image.Decode(file.data(), file.size()));
    EXPECT_EQ(image.Pixel(0, 0), 0xFF46505Au);
    EXPECT_EQ(image.Pixel(1, 0), 0x8028323Cu);
    EXPECT_EQ(image.Pixel(2, 0), 0x000A141Eu);
  }
  {
    // 1-bit grey: 0 and 1 become black and white.
    Image im;
    im.width = 9;
    im.height = 1;
    im.colorType = PNG_COLOR_TYPE_GRAY;
    im.bitDepth = 1;
    im.rows = {{0b10100000, 0b10000000}};
    const auto file = Encoded(im);
    ASSERT_TRUE(image.Decode(file.data(), file.size()));
    EXPECT_EQ(image.Pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.Pixel(1, 0), 0xFF000000u);
    EXPECT_EQ(image.Pixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.Pixel(7, 0), 0xFF000000u);
    EXPECT_EQ(image.Pixel(8, 0), 0xFFFFFFFFu);
  }
  {
    // 8-bit grey with a transparent grey level.
    Image im;
    im.width = 2;
    im.height = 1;
    im.colorType = PNG_COLOR_TYPE_GRAY;
    im.greyTransparent = true;
    im.greyTransparentValue = 7;
    im.rows = {{7, 200}};
    const auto file = Encoded(im);
    ASSERT_TRUE(image.Decode(file.data(), file.size()));
    EXPECT_EQ(image.Pixel(0, 0), 0x00070707u);
    EXPECT_EQ(image.Pixel(1, 0), 0xFFC8C8C8u);
  }
  {
    // Grey with alpha.
    Image im;
    im.width = 1;
    im.height = 1;
    im.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    im.rows = {{0x33, 0x99}};
    const auto file = Encoded(im);
    ASSERT_TRUE(image.Decode(file.data(), file.size()));
    EXPECT_EQ(image.Pixel(0, 0), 0x99333333u);
  }
  {
    // 16-bit RGBA keeps the most significant byte of each channel.
    Image im;
    im.width = 1;
    im.height = 1;
    im.colorType = PNG_COLOR_TYPE_RGBA;
    im.bitDepth = 16;
    im.rows = {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}};
    const auto file = Encoded(im);
    ASSERT_TRUE(image.Decode(file.data(), file.size()));
    EXPECT_EQ(image.Pixel(0, 0), 0xDE12569Au);
  }
}

TEST(PngImageTest, InterlacedImagesAreReadWhole)
{
  Image im;
  im.width = 11;
  im.height = 9;
  im.colorType = PNG_COLOR_TYPE_RGBA;
  for (int y = 0; y < im.height; ++y)
  {
    std::vector<unsigned char> row;
    for (int x = 0; x < im.width; ++x)
      row.insert(row.end(),
                 {(unsigned char)(x * 20), (unsigned char)(y * 25), (unsigned char)(x * y), 255});
    im.rows.push_back(row);
  }
  PngImage plain;
  const auto plainFile = Encoded(im);
  ASSERT_TRUE(plain.Decode(plainFile.data(), plainFile.size()));
  im.interlaced = true;
  PngImage interlaced;
  const auto interlacedFile = Encoded(im);
  ASSERT_NE(interlacedFile, plainFile);
  ASSERT_TRUE(interlaced.Decode(interlacedFile.data(), interlacedFile.size()));
  EXPECT_EQ(interlaced.Pixels(), plain.Pixels());
  EXPECT_EQ(interlaced.Pixel(10, 8), 0xFFC8C850u);
}

TEST(PngImageTest, BadInputIsRefusedAndLeavesTheImageAlone)
{
  PngImage image;
  const auto good = Encoded(Rgba3x2());
  ASSERT_TRUE(image.Decode(good.data(), good.size()));
  const auto before = image.Pixels();

  EXPECT_FALSE(image.Decode(nullptr, 100));
  EXPECT_FALSE(image.Decode(good.data(), 7));
  EXPECT_FALSE(PngImage::HasSignature(good.data(), 7));
  EXPECT_TRUE(PngImage::HasSignature(good.data(), 8));
  std::vector<unsigned char> notPng(good);
  notPng[1] = 'Q';
  EXPECT_FALSE(image.Decode(notPng.data(), notPng.size()));

  // Every truncation of the file fails without reading past the end (the copy is
  // exactly as long as the size given, so a sanitizer sees any overread).
  for (std::size_t n = 8; n < good.size(); ++n)
  {
    std::vector<unsigned char> cut(good.begin(), good.begin() + std::ptrdiff_t(n));
    EXPECT_FALSE(image.Decode(cut.data(), cut.size())) << n;
  }

  // A damaged header (its CRC no longer matches) is an error.
  std::vector<unsigned char> damaged(good);
  damaged[17] ^= 0x01;
  EXPECT_FALSE(image.Decode(damaged.data(), damaged.size()));

  EXPECT_EQ(image.Width(), 3);
  EXPECT_EQ(image.Height(), 2);
  EXPECT_EQ(image.Pixels(), before);
}

TEST(PngImageTest, HugeHeadersAreRefusedBeforeAllocating)
{
  PngImage image;
  const auto good = Encoded(Rgba3x2());
  // Each side within the limit, but the area far beyond it: refused up front.
  std::vector<unsigned char> wide(good);
  PngTestEncoder::SetHeaderSize(wide, 30000, 30000);
  EXPECT_FALSE(image.Decode(wide.data(), wide.size()));
  // One side beyond libpng's user limit.
  std::vector<unsigned char> tall(good);
  PngTestEncoder::SetHeaderSize(tall, 1, PngImage::kMaxSide + 1);
  EXPECT_FALSE(image.Decode(tall.data(), tall.size()));
  // A header claiming more rows than the data holds.
  std::vector<unsigned char> more(good);
  PngTestEncoder::SetHeaderSize(more, 3, 50);
  EXPECT_FALSE(image.Decode(more.data(), more.size()));
  EXPECT_TRUE(image.Empty());
}
