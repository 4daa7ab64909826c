#include "EditorTestKit.h"
#include "editor/raster/LICE_Draw.h"
#include "editor/raster/LICE_SysBitmap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace
{
// Channels of a pixel word as {a, r, g, b}.
IColor Split(std::uint32_t p)
{
  return IColor(int(p >> 24), int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF));
}

void ExpectNear(std::uint32_t got, const IColor& want, const char* what)
{
  const IColor c = Split(got);
  EXPECT_NEAR(c.a, want.a, 1) << what;
  EXPECT_NEAR(c.r, want.r, 1) << what;
  EXPECT_NEAR(c.g, want.g, 1) << what;
  EXPECT_NEAR(c.b, want.b, 1) << what;
}

void Fill(LICE_MemBitmap& b, std::uint32_t p)
{
  for (int y = 0; y < b.GetHeight(); ++y)
    for (int x = 0; x < b.GetWidth(); ++x)
      b.GetBits()[y * b.GetRowSpan() + x] = p;
}

int Changed(LICE_MemBitmap& b, std::uint32_t background)
{
  int n = 0;
  for (int y = 0; y < b.GetHeight(); ++y)
    for (int x = 0; x < b.GetWidth(); ++x)
      n += b.GetBits()[y * b.GetRowSpan() + x] != background;
  return n;
}

const IRect kAll(-100000, -100000, 100000, 100000);
} // namespace

// Surface grey 100 (opaque); source red 200, green 40, blue 0 at alpha 128.
TEST(LICE_Draw, EachBlendKindOnKnownPixels)
{
  const std::uint32_t dst = 0xFF646464u;
  const std::uint32_t src = 0x80C82800u;
  const struct
  {
    BlendKind kind;
    float weight;
    IColor expected; // a, r, g, b
    const char* what;
  } cases[] = {
      {BlendKind::None, 1.0f, {255, 150, 70, 50}, "source alpha"},
      {BlendKind::None, 0.5f, {255, 125, 85, 75}, "source alpha at half weight"},
      {BlendKind::Copy, 1.0f, {128, 200, 40, 0}, "plain copy"},
      {BlendKind::Copy, 0.5f, {191, 150, 70, 50}, "plain copy averaged"},
      {BlendKind::Copy, 0.25f, {223, 125, 85, 75}, "plain copy at a quarter"},
      {BlendKind::Add, 1.0f, {255, 200, 120, 100}, "add"},
      {BlendKind::ColorDodge, 1.0f, {255, 178, 109, 100}, "colour dodge"},
      {BlendKind::None, 0.0f, {255, 100, 100, 100}, "nothing at weight 0"},
  };
  for (const auto& c : cases)
  {
    LICE_MemBitmap d(2, 1);
    LICE_MemBitmap s(2, 1);
    Fill(d, dst);
    Fill(s, src);
    LICE_Draw::Blit(&d, &s, 0, 0, 0, 0, 2, 1, kAll, c.weight, c.kind);
    ExpectNear(d.GetBits()[0], c.expected, c.what);
    ExpectNear(d.GetBits()[1], c.expected, c.what);
  }
  // Opaque and transparent sources with the source's alpha.
  EXPECT_EQ(LICE_Draw::Combine(dst, 0xFF102030u, 256, BlendKind::None), 0xFF102030u);
  EXPECT_EQ(LICE_Draw::Combine(dst, 0x00102030u, 256, BlendKind::None), dst);
}

TEST(LICE_Draw, FillWeightsAndTheSourceAlpha)
{
  const struct
  {
    std::uint32_t color;
    float weight;
    bool sourceAlpha;
    IColor expected;
  } cases[] = {
      {0xFF0000FFu, 1.0f, false, {255, 0, 0, 255}},
      {0xFF0000FFu, 0.5f, false, {255, 50, 50, 177}},  // averaged
      {0xFF0000FFu, 0.25f, false, {255, 75, 75, 139}}, // proportional
      {0x800000FFu, 1.0f, true, {191, 50, 50, 178}},   // weight x alpha / 255
      {0x800000FFu, 1.0f, false, {128, 0, 0, 255}},    // plain: the colour as it is
      {0x000000FFu, 1.0f, true, {255, 100, 100, 100}}, // transparent: nothing
  };
  for (const auto& c : cases)
  {
    LICE_MemBitmap d(3, 3);
    Fill(d, 0xFF646464u);
    LICE_Draw::FillRect(&d, 1, 1, 1, 1, c.color, c.weight, c.sourceAlpha, kAll);
    ExpectNear(d.GetBits()[1 * d.GetRowSpan() + 1], c.expected, "fill");
    EXPECT_EQ(Changed(d, 0xFF646464u), c.expected == IColor(255, 100, 100, 100) ? 0 : 1);
  }
  // The half-weight fill is the exact average, rounded down, in every channel.
  LICE_MemBitmap d(1, 1);
  for (const auto& [surface, color, expected] :
       {std::tuple{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}, {0xFF010305u, 0xFF030507u, 0xFF020406u},
        {0x00000000u, 0xFFFFFFFFu, 0x7F7F7F7Fu}})
  {
    Fill(d, surface);
    LICE_Draw::FillRect(&d, 0, 0, 1, 1, color, 0.5f, false, kAll);
    EXPECT_EQ(d.GetBits()[0], expected) << std::hex << surface << " " << color;
  }
}

// Every operation stays inside the surface and the clip, however far outside it starts.
TEST(LICE_Draw, ClippedAtTheSurfaceEdgesAndTheClip)
{
  const std::uint32_t bg = 0xFF000000u;
  const std::uint32_t ink = 0xFFFFFFFFu;
  LICE_MemBitmap src(10, 10);
  Fill(src, ink);
  const IRect inner(5, 5, 10, 10);
  const struct
  {
    const char* what;
    void (*draw)(LICE_MemBitmap&, LICE_MemBitmap&, const IRect&);
    IRect clip;
    int changed;
  } cases[] = {
      {"blit over the top-left corner",
       [](LICE_MemBitmap& d, LICE_MemBitmap& s, const IRect& c) {
         LICE_Draw::Blit(&d, &s, -5, -5, 0, 0, 10, 10, c, 1.0f, BlendKind::Copy);
       },
       kAll, 25},
      {"blit over the bottom-right corner",
       [](LICE_MemBitmap& d, LICE_MemBitmap& s, const IRect& c) {
         LICE_Draw::Blit(&d, &s, 15, 15, 0, 0, 10, 10, c, 1.0f, BlendKind::None);
       },
       kAll, 25},
      {"blit reading past the source",
       [](LICE_MemBitmap& d, LICE_MemBitmap& s, const IRect& c) {
         LICE_Draw::Blit(&d, &s, 0, 0, 6, 8, 20, 20, c, 1.0f, BlendKind::Copy);
       },
       kAll, 8},
      {"blit into a clip",
       [](LICE_MemBitmap& d, LICE_MemBitmap& s, const IRect& c) {
         LICE_Draw::Blit(&d, &s, 0, 0, 0, 0, 10, 10, c, 1.0f, BlendKind::Copy);
       },
       inner, 25},
      {"fill across the bottom edge",
       [](LICE_MemBitmap& d, LICE_MemBitmap&, const IRect& c) {
         LICE_Draw::FillRect(&d, -3, 18, 10, 10, 0xFFFFFFFFu, 1.0f, true, c);
       },
       kAll, 14},
      {"line through the surface",
       [](LICE_MemBitmap& d, LICE_MemBitmap&, const IRect& c) {
         LICE_Draw::Line(&d, -10, 5, 30, 5, 0xFFFFFFFFu, 1.0f, true, c);
       },
       kAll, 20},
      {"diagonal line into a clip",
       [](LICE_MemBitmap& d, LICE_MemBitmap&, const IRect& c) {
         LICE_Draw::Line(&d, 0, 0, 19, 19, 0xFFFFFFFFu, 1.0f, true, c);
       },
       inner, 5},
      {"triangle off the surface",
       [](LICE_MemBitmap& d, LICE_MemBitmap&, const IRect& c) {
         const int xs[3] = {-50, -10, -30};
         const int ys[3] = {0, 0, 30};
         LICE_Draw::FillTriangle(&d, xs, ys, 0xFFFFFFFFu, 1.0f, true, c);
       },
       kAll, 0},
      // Centres on the slanted (right-hand) edge are outside, as at a rectangle's right.
      {"right triangle of 4 x 4 (pixel centres inside)",
       [](LICE_MemBitmap& d, LICE_MemBitmap&, const IRect& c) {
         const int xs[3] = {0, 4, 0};
         const int ys[3] = {0, 0, 4};
         LICE_Draw::FillTriangle(&d, xs, ys, 0xFFFFFFFFu, 1.0f, true, c);
       },
       kAll, 6},
  };
  for (const auto& c : cases)
  {
    LICE_MemBitmap d(20, 20);
    Fill(d, bg);
    c.draw(d, src, c.clip);
    EXPECT_EQ(Changed(d, bg), c.changed) << c.what;
  }
}

TEST(LICE_MemBitmap, RowSpanAndGrowth)
{
  LICE_MemBitmap b(5, 3);
  const struct
  {
    int w, h, span;
    std::size_t capacity;
  } steps[] = {
      {5, 3, 8, 8 * 3 * 4 * 5 / 4 + 63}, // grown to 5/4 of the need, plus 63 bytes
      {4, 2, 4, 8 * 3 * 4 * 5 / 4 + 63}, // smaller: the buffer stays
      {9, 4, 12, 12 * 4 * 4 * 5 / 4 + 63},
      {0, 0, 0, 0}, // nothing: the buffer goes
  };
  for (const auto& s : steps)
  {
    if (s.w != 5)
      b.Resize(s.w, s.h);
    EXPECT_EQ(b.GetRowSpan(), s.span) << s.w;
    EXPECT_EQ(b.Capacity(), s.capacity) << s.w;
    EXPECT_EQ(b.GetBits() == nullptr, s.w == 0) << s.w;
  }
  LICE_SysBitmap surface(10, 10);
  EXPECT_EQ(surface.GetRowSpan(), 12);
  std::uint32_t* bits = surface.GetBits();
  surface.Resize(6, 3); // within the allocation: only the logical size changes
  EXPECT_EQ(surface.GetBits(), bits);
  EXPECT_EQ(surface.GetRowSpan(), 12);
  EXPECT_EQ(surface.GetWidth(), 6);
}

TEST(IGraphics, FrameOffsetsRoundToTheNearestRow)
{
  const struct
  {
    int size, frames, frame, offset;
    bool sideways;
  } cases[] = {{100, 3, 1, 0, false},  {100, 3, 2, 33, false}, {100, 3, 3, 67, false},
               {10, 4, 2, 3, false},   {10, 4, 3, 5, false},   {10, 4, 4, 8, false},
               {90, 3, 3, 60, true},   {100, 1, 5, 0, false},  {100, 3, 0, 0, false},
               {128, 128, 65, 64, false}};
  for (const auto& c : cases)
  {
    IBitmap b;
    b.w = b.h = c.size;
    b.n = c.frames;
    b.framesAreHorizontal = c.sideways;
    EXPECT_EQ(IGraphics::FrameOffset(b, c.frame), c.offset) << c.size << "/" << c.frames << " #" << c.frame;
  }
  // Drawing frame 4 of a 4-frame strip 10 high copies rows 8 and 9.
  EditorTestPlug plug;
  FakeGraphics g(&plug);
  std::unique_ptr<LICE_MemBitmap> strip(MakeStrip(3, 10));
  IBitmap b{strip.get(), 3, 10, 4, false};
  g.DrawBitmap(b, IRect(20, 20, 23, 22), 4);
  EXPECT_EQ(g.Pixel(20, 20) & 0xFF, 8u);
  EXPECT_EQ(g.Pixel(22, 21) & 0xFFFF, 0x0209u);
  EXPECT_EQ(g.Pixel(20, 22), 0u); // below the frame: untouched
}
