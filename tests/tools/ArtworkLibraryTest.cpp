// The artwork generator's drawing library: edges are anti-aliased by distance,
// compositing is source-over, blurs keep what they spread, and the PNG files hold
// exactly the pixels drawn, in the same bytes every time.
#include "editor/raster/PngImage.h"
#include "tools/artwork/Canvas.h"
#include "tools/artwork/PngWriter.h"
#include "tools/artwork/Shape.h"
#include "tools/artwork/TextFace.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
std::vector<char> ReadFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double Alpha(const Canvas& c, int x, int y) { return c.At(x, y)[3]; }
} // namespace

TEST(ArtworkLibraryTest, EdgeCoverageFollowsTheDistance)
{
  // A half plane x < edge: pixel centres at x + 0.5.
  const struct
  {
    double edge;
    int x;
    double alpha;
  } cases[] = {{5.0, 4, 1.0},   {5.0, 5, 0.0},   {5.5, 5, 0.5},
               {5.25, 5, 0.25}, {5.75, 5, 0.75}, {4.0, 2, 1.0}};
  for (const auto& c : cases)
  {
    Canvas canvas(10, 1);
    canvas.FillColour(
        0, 0, 10, 1, [&](double x, double) { return x - c.edge; }, Colour{1, 1, 1, 1});
    EXPECT_NEAR(Alpha(canvas, c.x, 0), c.alpha, 1e-6) << c.edge << " " << c.x;
  }
}

TEST(ArtworkLibraryTest, SourceOverAndPartCanvasesUsePictureCoordinates)
{
  Canvas canvas(4, 4);
  canvas.Blend(1, 1, Colour{1, 0, 0, 1}, 1.0f);
  canvas.Blend(1, 1, Colour{0, 0, 1, 0.5f}, 1.0f);
  const float* p = canvas.At(1, 1);
  EXPECT_FLOAT_EQ(p[0], 0.5f);
  EXPECT_FLOAT_EQ(p[2], 0.5f);
  EXPECT_FLOAT_EQ(p[3], 1.0f);
  // A part standing for (2, 2)..(4, 4) draws at picture (3, 3) into its own (1, 1).
  Canvas part(2, 2, 2, 2);
  part.Blend(3, 3, Colour{0, 1, 0, 1}, 1.0f);
  part.Blend(0, 0, Colour{0, 1, 0, 1}, 1.0f); // outside: ignored
  EXPECT_FLOAT_EQ(part.At(1, 1)[1], 1.0f);
  EXPECT_FLOAT_EQ(part.At(0, 0)[3], 0.0f);
  canvas.Draw(part, part.Left(), part.Top());
  EXPECT_FLOAT_EQ(canvas.At(3, 3)[1], 1.0f);
  EXPECT_FLOAT_EQ(canvas.At(2, 2)[3], 0.0f);
}

TEST(ArtworkLibraryTest, BlurSpreadsWithoutLosingAlpha)
{
  Canvas canvas(41, 41);
  canvas.Blend(20, 20, Colour{1, 1, 1, 1}, 1.0f);
  canvas.Blur(3);
  double total = 0.0;
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x)
      total += Alpha(canvas, x, y);
  EXPECT_NEAR(total, 1.0, 1e-4);
  EXPECT_GT(Alpha(canvas, 20, 20), Alpha(canvas, 23, 20));
  EXPECT_NEAR(Alpha(canvas, 17, 20), Alpha(canvas, 23, 20), 1e-7);
}

TEST(ArtworkLibraryTest, ArcsStayInsideTheirAngles)
{
  const struct
  {
    double angle;
    bool inside;
  } cases[] = {{-90.0, true}, {0.0, true},    {44.0, true},
               {90.0, false}, {180.0, false}, {-135.0, false}};
  for (const auto& c : cases)
  {
    double x = 0.0;
    double y = 0.0;
    Shape::PointAt(50, 50, 20, c.angle, x, y);
    const double d = Shape::Arc(x, y, 50, 50, 20, 2, -90.0, 45.0);
    EXPECT_EQ(d < 0.0, c.inside) << c.angle;
  }
  // Clockwise from 12 o'clock: 90 degrees lies to the right.
  double x = 0.0;
  double y = 0.0;
  Shape::PointAt(0, 0, 10, 90.0, x, y);
  EXPECT_NEAR(x, 10.0, 1e-9);
  EXPECT_NEAR(y, 0.0, 1e-9);
}

TEST(ArtworkLibraryTest, PngFilesHoldTheDrawnPixelsInStableBytes)
{
  // An opaque picture is written as RGB, a translucent one as RGBA; both decode to the
  // 8-bit pixels drawn, and writing twice gives the same bytes.
  for (const float alpha : {1.0f, 0.5f})
  {
    Canvas canvas(7, 5);
    canvas.Paint(
        [&](double x, double y) {
          return Colour{float(x / 7), float(y / 5), 0.25f, alpha};
        });
    const std::string a = std::string(TG_TEST_TMP_DIR) + "/artwork_a.png";
    const std::string b = std::string(TG_TEST_TMP_DIR) + "/artwork_b.png";
    ASSERT_TRUE(PngWriter::Write(canvas, a, PngWriter::kBest));
    ASSERT_TRUE(PngWriter::Write(canvas, b, PngWriter::kBest));
    const std::vector<char> bytes = ReadFile(a);
    EXPECT_EQ(bytes, ReadFile(b));
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(int(bytes[25]), alpha == 1.0f ? 2 : 6) << "colour type";
    PngImage image;
    ASSERT_TRUE(image.Decode(bytes.data(), bytes.size()));
    const std::vector<std::uint8_t> rgba = canvas.Rgba8();
    for (int i = 0; i < 35; ++i)
    {
      const std::uint32_t expected = std::uint32_t(rgba[i * 4 + 3]) << 24 |
                                     std::uint32_t(rgba[i * 4]) << 16 |
                                     std::uint32_t(rgba[i * 4 + 1]) << 8 | rgba[i * 4 + 2];
      EXPECT_EQ(image.Pixels()[std::size_t(i)], expected) << i;
    }
  }
  EXPECT_FALSE(
      PngWriter::Write(Canvas(2, 2), std::string(TG_TEST_TMP_DIR) + "/no/such/folder/x.png", 9));
}

TEST(ArtworkLibraryTest, TextMeasuresAndSurvivesBrokenUtf8)
{
  TextFace face;
  ASSERT_TRUE(face.Open({"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"}));
  EXPECT_FALSE(TextFace().IsOpen());
  const double one = face.Measure("H", 12);
  EXPECT_GT(one, 5.0);
  EXPECT_NEAR(face.Measure("HH", 12, 3.0), 2 * one + 3.0, 1e-9);
  EXPECT_NEAR(face.Measure("", 12), 0.0, 1e-12);
  // Truncated and stray continuation bytes become one replacement glyph each.
  for (const char* broken : {"\xC2", "A\xE2\x82", "\x80\x80", "\xFF"})
  {
    int baseline = 0;
    const Canvas mask = face.Render(broken, 12, 0.0, baseline);
    EXPECT_GT(mask.Width(), 0) << broken;
    EXPECT_GT(baseline, 0);
  }
  EXPECT_GT(face.Measure("\xC2\xB7", 12), 0.0);
}
