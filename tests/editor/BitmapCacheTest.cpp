#include "EditorTestKit.h"
#include "editor/controls/IBitmapControl.h"
#include "editor/core/BitmapCache.h"

#include <gtest/gtest.h>

TEST(BitmapCache, EachImageIsDecodedOncePerModule)
{
  BitmapCache::Clear();
  EditorTestPlug plugA;
  EditorTestPlug plugB;
  FakeGraphics a(&plugA);
  FakeGraphics b(&plugB);
  a.images = b.images = {{1001, {40, 400}}, {201, {20, 40}}};
  const IBitmap first = a.LoadBitmap(1001, "knobs/KV_Pitch_Knob_40px.png", 10);
  const IBitmap again = a.LoadBitmap(1001, "knobs/KV_Pitch_Knob_40px.png", 10);
  const IBitmap other = b.LoadBitmap(1001, "knobs/KV_Pitch_Knob_40px.png", 10);
  const IBitmap onOff = b.LoadBitmap(201, "switches/KV_on_off_20px.png", 2);
  EXPECT_EQ(a.decodes[1001] + b.decodes[1001], 1);
  EXPECT_EQ(b.decodes[201], 1);
  EXPECT_EQ(first.bitmap, again.bitmap);
  EXPECT_EQ(first.bitmap, other.bitmap);
  EXPECT_EQ(BitmapCache::Size(), 2);
  EXPECT_EQ(first.w, 40);
  EXPECT_EQ(first.h, 400);
  EXPECT_EQ(first.n, 10);
  EXPECT_EQ(onOff.n, 2);
  BitmapCache::Clear();
}

TEST(BitmapCache, AMissingImageGivesAnEmptyHandleThatDrawsNothing)
{
  BitmapCache::Clear();
  EditorTestPlug plug;
  FakeGraphics g(&plug);
  const IBitmap missing = g.LoadBitmap(1405, "bass_kick_design_tool_FREE.png", 1);
  EXPECT_EQ(missing.bitmap, nullptr);
  EXPECT_EQ(missing.w, 0);
  EXPECT_EQ(BitmapCache::Size(), 0);
  EXPECT_FALSE(g.DrawBitmap(missing, IRect(0, 0, 10, 10)));
  auto* control = new IBitmapControl(&plug, 80, 60, -1, missing);
  g.AttachControl(control);
  EXPECT_TRUE(control->GetRect().Empty());
  g.Draw(IRect(0, 0, 200, 100));
  EXPECT_EQ(g.Pixel(80, 60), 0u);

  // The module's own resources: names must end in "png"; unknown numbers give nothing.
  IGraphics plain(&plug, 10, 10);
  const struct
  {
    int number;
    const char* name;
  } cases[] = {{1001, "knobs/KV_Pitch_Knob_40px.bmp"}, {1001, "noextension"}, {999999, "x.PNG"}};
  for (const auto& c : cases)
    EXPECT_EQ(plain.LoadPngResource(c.number, c.name), nullptr) << c.name;
}
