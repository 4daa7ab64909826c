#include "EditorTestKit.h"
#include "editor/text/FontCache.h"
#include "editor/text/LICE_CachedFont.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(IGraphics, MeasureTextPlacesTheExtentByAlignment)
{
  EditorTestPlug plug;
  FakeGraphics g(&plug);
  IText style(12, IColor(255, 0, 0, 0), "Verdana");
  IRect near(100, 10, 200, 30);
  ASSERT_TRUE(g.MeasureText(style, "Gain", near));
  const int w = near.W();
  ASSERT_GT(w, 10);
  ASSERT_LT(w, 60);
  const struct
  {
    TextAlign align;
    const char* text;
    IRect expected;
  } cases[] = {
      {TextAlign::Near, "Gain", IRect(100, 10, 100 + w, 22)},
      {TextAlign::Far, "Gain", IRect(200 - w, 10, 200, 22)},
      {TextAlign::Center, "Gain", IRect(150 - w / 2, 10, 150 - w / 2 + w, 22)},
      {TextAlign::Near, "Gain\nGain", IRect(100, 10, 100 + w, 34)}, // two lines of 12
      {TextAlign::Far, "", IRect(100, 10, 100, 10)},                // nothing
  };
  for (const auto& c : cases)
  {
    style.align = c.align;
    IRect r(100, 10, 200, 30);
    EXPECT_TRUE(g.MeasureText(style, c.text, r));
    EXPECT_EQ(r, c.expected) << int(c.align) << " " << c.text;
  }
  // Wider letters measure wider.
  IRect narrow(0, 0, 100, 20);
  IRect wide(0, 0, 100, 20);
  g.MeasureText(style, "iiii", narrow);
  g.MeasureText(style, "WWWW", wide);
  EXPECT_LT(narrow.W(), wide.W());
}

TEST(IGraphics, TextIsDrawnInsideItsExtentInItsColour)
{
  EditorTestPlug plug;
  FakeGraphics g(&plug, 120, 40);
  IText style(14, IColor(255, 200, 0, 0), "Arial", TextStyle::Normal, TextAlign::Center);
  IRect extent(0, 5, 120, 40);
  ASSERT_TRUE(g.MeasureText(style, "Volume", extent));
  ASSERT_TRUE(g.DrawStyledText(style, "Volume", IRect(0, 5, 120, 40)));
  int inked = 0;
  int outside = 0;
  int reddest = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x)
    {
      const std::uint32_t p = g.Pixel(x, y);
      if (p == 0)
        continue;
      ++inked;
      // One pixel of overhang is allowed on each side.
      outside += !IRect(extent.left - 1, extent.top, extent.right + 1, extent.bottom).Contains(x, y);
      reddest = std::max(reddest, int(p >> 16 & 0xFF));
      EXPECT_EQ(p & 0xFFFF, 0u) << "only red ink";
    }
  EXPECT_GT(inked, 40);
  EXPECT_EQ(outside, 0);
  EXPECT_GE(reddest, 190);
  // Empty text draws nothing and succeeds.
  EXPECT_TRUE(g.DrawStyledText(style, "", IRect(0, 0, 10, 10)));
}

TEST(FontCache, FontsAreFoundByTheirKeysAndGlyphsRenderedOnce)
{
  FontCache::Clear();
  IText a(13, IColor(), "Arial");
  IText b = a;
  b.quality = TextQuality::AntiAliased; // not a key
  IText c = a;
  c.size = 15;
  IText d = a;
  d.style = TextStyle::Bold;
  LICE_CachedFont* fa = FontCache::Find(a);
  ASSERT_NE(fa, nullptr);
  EXPECT_EQ(FontCache::Find(b), fa);
  EXPECT_NE(FontCache::Find(c), fa);
  EXPECT_NE(FontCache::Find(d), fa);
  EXPECT_EQ(FontCache::Size(), 3);
  // The cell height is the size, as with GDI fonts (whose rounding of ascent and descent
  // may add a pixel).
  EXPECT_NEAR(fa->LineHeight(), 13, 1);
#ifndef _WIN32
  // The Windows faces are drawn with their metric-compatible families.
  EXPECT_STREQ(fa->FamilyName(), "Liberation Sans");
  EXPECT_STREQ(FontCache::Find(IText(12, IColor(), "Verdana"))->FamilyName(), "DejaVu Sans");
#endif
  IRect r(0, 0, 100, 20);
  fa->DrawText(nullptr, "aaab", r, TextAlign::Near, true, 1.0f, r);
  EXPECT_EQ(fa->CachedGlyphs(), 2);
  FontCache::Clear();
  EXPECT_EQ(FontCache::Size(), 0);
}

TEST(LICE_CachedFont, Utf8IsReadCharacterByCharacter)
{
  const struct
  {
    const char* text;
    std::vector<std::uint32_t> codepoints;
  } cases[] = {
      {"Hz", {'H', 'z'}},
      {"\xC2\xB0" "C", {0xB0, 'C'}},              // degree sign
      {"\xE2\x88\x9E", {0x221E}},                 // infinity
      {"\xF0\x9F\x8E\xB5", {0x1F3B5}},            // beyond 16 bits
      {"\xC0\xAF", {0xFFFD}},                     // overlong
      {"\xE2\x88" "x", {0xFFFD, 0xFFFD, 'x'}},    // cut short
      {"\xFF" "a", {0xFFFD, 'a'}},
  };
  for (const auto& c : cases)
  {
    std::vector<std::uint32_t> got;
    for (const char* p = c.text; *p;)
      got.push_back(LICE_CachedFont::NextCodepoint(p));
    EXPECT_EQ(got, c.codepoints) << c.text;
  }
}
