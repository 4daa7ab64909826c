#include "EditorTestKit.h"
#include "editor/core/BitmapCache.h"

#include <gtest/gtest.h>

namespace
{
using Log = std::vector<std::string>;

// Background A (index 0) under B (index 1), C (index 2) overlapping B on the right.
struct Stack
{
  EditorTestPlug plug;
  FakeGraphics g{&plug};
  Log log;
  LogControl* a;
  LogControl* b;
  LogControl* c;
  Stack()
  {
    a = new LogControl(&log, "A", IRect(0, 0, 200, 100));
    b = new LogControl(&log, "B", IRect(10, 10, 60, 60), 0);
    c = new LogControl(&log, "C", IRect(40, 10, 90, 60));
    g.AttachControl(a);
    g.AttachControl(b);
    g.AttachControl(c);
  }
};
} // namespace

TEST(IGraphics, DrawingOrderIsListOrderAndHitOrderItsReverse)
{
  EditorTestPlug plug;
  FakeGraphics g(&plug);
  g.images[111] = {200, 100};
  g.AttachControl(new LogControl(nullptr, "x", IRect(10, 10, 60, 60)));
  g.AttachBackground(111, "bg.png");
  Log log;
  auto* top = new LogControl(&log, "top", IRect(40, 10, 90, 60));
  g.AttachControl(top);
  ASSERT_EQ(g.NControls(), 3);
  EXPECT_EQ(g.GetControl(0)->GetRect(), IRect(0, 0, 200, 100)); // the background is first
  const struct
  {
    int x, y, expected;
  } hits[] = {{45, 20, 2}, {20, 20, 1}, {150, 80, 0}, {199, 99, 0}, {200, 50, -1}, {-1, 0, -1}};
  for (const auto& h : hits)
    EXPECT_EQ(g.GetMouseControlIdx(h.x, h.y), h.expected) << h.x << "," << h.y;
  // Hidden and greyed controls let the click fall through to the one below.
  top->SetHidden(true);
  EXPECT_EQ(g.GetMouseControlIdx(45, 20), 1);
  top->SetHidden(false);
  top->SetGreyed(true);
  EXPECT_EQ(g.GetMouseControlIdx(45, 20), 1);
  BitmapCache::Clear();
}

TEST(IGraphics, MouseEventsReachTheirControls)
{
  const IMouseMod left{true, false, false, false, false};
  const struct
  {
    const char* name;
    void (*act)(IGraphics&, const IMouseMod&);
    Log expected;
  } cases[] = {
      {"press and release on B",
       [](IGraphics& g, const IMouseMod& m) {
         g.OnMouseDown(20, 20, m);
         g.OnMouseUp(20, 20, m);
       },
       {"B down", "B up"}},
      {"capture keeps the drag and release on B outside it",
       [](IGraphics& g, const IMouseMod& m) {
         g.OnMouseDown(20, 20, m);
         g.OnMouseDrag(80, 20, m);
         g.OnMouseUp(150, 90, m);
       },
       {"B down", "B drag 60,0", "B up"}},
      {"a drag to the same position is no drag",
       [](IGraphics& g, const IMouseMod& m) {
         g.OnMouseDown(20, 20, m);
         g.OnMouseDrag(20, 20, m);
         g.OnMouseDrag(20, 25, m);
         g.OnMouseDrag(20, 25, m);
         g.OnMouseDrag(22, 24, m);
       },
       {"B down", "B drag 0,5", "B drag 2,-1"}},
      {"no drag without capture",
       [](IGraphics& g, const IMouseMod& m) { g.OnMouseDrag(20, 20, m); },
       {}},
      {"the topmost of overlapping controls",
       [](IGraphics& g, const IMouseMod& m) { g.OnMouseDown(50, 20, m); },
       {"C down"}},
      {"release without capture goes to the control under the mouse",
       [](IGraphics& g, const IMouseMod& m) { g.OnMouseUp(50, 20, m); },
       {"C up"}},
      {"double click", [](IGraphics& g, const IMouseMod& m) { g.OnMouseDblClick(20, 20, m); },
       {"B dbl"}},
      {"wheel goes to the control under the mouse, or the captured one",
       [](IGraphics& g, const IMouseMod& m) {
         g.OnMouseWheel(50, 20, m, -2);
         g.OnMouseDown(20, 20, m);
         g.OnMouseWheel(50, 20, m, 3);
       },
       {"C wheel -2", "B down", "B wheel 3"}},
      {"keys skip the background",
       [](IGraphics& g, const IMouseMod& m) {
         EXPECT_TRUE(g.OnKeyDown(20, 20, 15));
         EXPECT_FALSE(g.OnKeyDown(150, 90, 16));
       },
       {"B key 15"}},
      {"hover is off", [](IGraphics& g, const IMouseMod& m) { g.OnMouseOver(20, 20, m); }, {}},
      {"hover when on",
       [](IGraphics& g, const IMouseMod& m) {
         g.SetHoverTracking(true);
         g.OnMouseOver(20, 20, m);
         g.OnMouseOver(50, 20, m);
       },
       {"B over", "B out", "C over"}},
  };
  for (const auto& c : cases)
  {
    Stack s;
    c.act(s.g, left);
    EXPECT_EQ(s.log, c.expected) << c.name;
  }
}

TEST(IGraphics, DoubleClickAsClickCapturesAndPresses)
{
  Stack s;
  s.b->SetDblAsSingleClick(true);
  const IMouseMod left{true, false, false, false, false};
  EXPECT_TRUE(s.g.OnMouseDblClick(20, 20, left));
  EXPECT_EQ(s.g.GetCapturedControl(), 1);
  s.g.OnMouseDrag(20, 30, left);
  EXPECT_FALSE(s.g.OnMouseDblClick(50, 20, left)); // C takes it as a double click
  EXPECT_EQ(s.log, (Log{"B down", "B drag 0,10", "C dbl"}));
}

TEST(IGraphics, DirtyControlsAreCollectedAndIdleTicksComeOnlyWhenNoneIs)
{
  Stack s;
  IRect area;
  // Everything starts dirty: the union of all three.
  EXPECT_TRUE(s.g.CollectDirty(area));
  EXPECT_EQ(area, IRect(0, 0, 200, 100));
  s.g.Draw(IRect(0, 0, 200, 100));
  EXPECT_EQ(s.log, (Log{"A paint", "B paint", "C paint"}));
  for (int i = 0; i < s.g.NControls(); ++i)
    EXPECT_FALSE(s.g.GetControl(i)->NeedsPaint()) << i;
  EXPECT_EQ(s.g.painted, (std::vector<IRect>{IRect(0, 0, 200, 100)}));

  // A tick with nothing dirty: one idle tick for each control, in list order.
  s.log.clear();
  area = IRect();
  EXPECT_FALSE(s.g.CollectDirty(area));
  EXPECT_TRUE(area.Empty());
  EXPECT_EQ(s.log, (Log{"A idle", "B idle", "C idle"}));
  EXPECT_EQ(s.g.IdleTicks(), 0);

  // Two dirty controls: their union, no idle ticks; drawing it paints what overlaps.
  s.log.clear();
  s.b->MarkDirty(false);
  s.c->MarkDirty(false);
  s.b->SetValue(0.25);
  EXPECT_TRUE(s.g.CollectDirty(area));
  EXPECT_EQ(area, IRect(10, 10, 90, 60));
  s.g.Draw(IRect(70, 10, 90, 60));
  EXPECT_EQ(s.log, (Log{"A paint", "C paint"}));
  // Every control is clean after drawing, painted or not; a control that asked for one
  // more drawing stays dirty once.
  EXPECT_FALSE(s.b->NeedsPaint());
  s.c->SetRedraw();
  s.g.Draw(IRect(0, 0, 1, 1));
  EXPECT_TRUE(s.c->NeedsPaint());
  s.g.Draw(IRect(0, 0, 1, 1));
  EXPECT_FALSE(s.c->NeedsPaint());
  // Hidden controls are not painted.
  s.log.clear();
  s.c->SetHidden(true);
  s.g.Draw(IRect(0, 0, 200, 100));
  EXPECT_EQ(s.log, (Log{"A paint", "B paint"}));
}

TEST(IGraphics, ParameterValuesReachBoundAndAdditionalControls)
{
  Stack s;
  s.c->AddAuxParam(1);
  // Normalized values go as they are; others are clamped and normalized by the range.
  const struct
  {
    int param;
    double value;
    bool normalized;
    double b, c;
  } cases[] = {{0, 0.3, true, 0.3, 0.0}, {1, 1.0, false, 0.3, 0.5}, {1, 7.0, false, 0.3, 1.0},
               {0, 0.8, false, 0.8, 1.0}, {2, 0.9, true, 0.8, 1.0}, {9, 0.1, false, 0.8, 1.0}};
  for (const auto& k : cases)
  {
    s.g.SetParameterFromPlug(k.param, k.value, k.normalized);
    EXPECT_DOUBLE_EQ(s.b->GetValue(), k.b) << k.param << " " << k.value;
    EXPECT_DOUBLE_EQ(s.c->GetAuxParam(0)->value, k.c) << k.param << " " << k.value;
  }
  // The first value from the plug-in became the default.
  EXPECT_DOUBLE_EQ(s.b->GetDefaultValue(), 0.3);
}

TEST(IGraphics, TextEntryFiltersTypedCharactersByTheParameter)
{
  Stack s;
  const struct
  {
    int param; // -1: free text
    const char* typed;
    const char* kept;
  } cases[] = {{0, "12a.5", "12.5"}, {0, "-+3 e9x", "-+39"}, {2, "0.25\b", "0.25\b"},
               {-1, "Kick A.1", "Kick A.1"}, {9, "x", "x"}};
  for (const auto& k : cases)
  {
    std::string kept;
    for (const char* c = k.typed; *c; ++c)
      if (s.g.TextEntryAccepts(k.param, *c))
        kept += *c;
    EXPECT_EQ(kept, k.kept) << k.param << " " << k.typed;
  }
}
