#include "editor/core/TextEntryField.h"
#include "EditorTestKit.h"

#include <gtest/gtest.h>

namespace
{
// A control that keeps free text handed to it.
class EntryControl : public IControl
{
public:
  EntryControl(IPlugBase* owner, int param) : IControl(owner, IRect(10, 10, 60, 26), param) {}
  void Paint(IGraphics* g) override {}
  void AcceptEnteredText(const char* entered) override { accepted = entered; }
  std::string accepted;
};

// Keys as characters of a script: \b backspace, \r Enter, \x1b Escape, \x01 a click
// outside the field, \x02 Home, \x03 End, \x04 Left; everything else is typed.
void Play(TextEntryField& field, const char* keys)
{
  for (const char* k = keys; *k; ++k)
  {
    switch (*k)
    {
    case '\b':
      field.Press(TextEntryField::Key::Backspace);
      break;
    case '\r':
      field.Press(TextEntryField::Key::Enter);
      break;
    case '\x1b':
      field.Press(TextEntryField::Key::Escape);
      break;
    case '\x01':
      field.RequestCancel();
      break;
    case '\x02':
      field.Press(TextEntryField::Key::Home);
      break;
    case '\x03':
      field.Press(TextEntryField::Key::End);
      break;
    case '\x04':
      field.Press(TextEntryField::Key::Left);
      break;
    default:
      field.Type(char32_t(static_cast<unsigned char>(*k)));
      break;
    }
  }
}
} // namespace

TEST(TextEntryField, EditsFiltersLimitsCommitsAndCancels)
{
  using State = TextEntryField::State;
  const struct
  {
    int param; // -1: free text; 0 is a double parameter of 0..1
    int limit;
    const char* initial;
    const char* keys;
    const char* text;     // in the field before the tick
    State state;          // before the tick
    double value;         // the control's value after the tick
    const char* accepted; // free text handed to the control after the tick
  } cases[] = {
      // The first character replaces the selected initial text; the letter is swallowed.
      {0, 7, "0.500", "12a.5", "12.5", State::Focused, 0.0, ""},
      {0, 7, "0.500", "0.25\r", "0.25", State::CommitRequested, 0.25, ""},
      {0, 7, "0.500", "0.25\x01", "0.25", State::CancelRequested, 0.0, ""},
      {0, 7, "0.500", "0.25\x1b", "0.25", State::CancelRequested, 0.0, ""},
      {0, 7, "0.5", "\x03\b\b9", "09", State::Focused, 0.0, ""},
      {-1, 7, "Kick", "Bass Drum 1", "Bass Dr", State::Focused, 0.0, ""},
      {-1, 4, "", "Kick A", "Kick", State::Focused, 0.0, ""},
      // Caret moves drop the selection; typing then inserts.
      {-1, 7, "Kick", "\x02X\x03\x04Y", "XKicYk", State::Focused, 0.0, ""},
      {-1, 7, "Kick", "Snare\r", "Snare", State::CommitRequested, 0.0, "Snare"},
      // Backspace with everything selected empties the field.
      {-1, 7, "Kick", "\b\r", "", State::CommitRequested, 0.0, ""},
  };
  for (const auto& k : cases)
  {
    EditorTestPlug plug;
    FakeGraphics g(&plug);
    EntryControl control(&plug, k.param);
    control.SetTextEntryLength(k.limit);
    TextEntryField field(&g);
    ASSERT_TRUE(field.Open(&control, IText(), IRect(20, 20, 80, 36), k.initial, k.param));
    EXPECT_TRUE(field.AllSelected() || !*k.initial);
    EXPECT_FALSE(field.Open(&control, IText(), IRect(), "", -1)) << "a second field";
    Play(field, k.keys);
    EXPECT_EQ(field.Text(), k.text) << k.keys;
    EXPECT_EQ(field.GetState(), k.state) << k.keys;
    const bool ends = k.state == State::CommitRequested || k.state == State::CancelRequested;
    EXPECT_EQ(field.Tick(),
              ends ? TextEntryField::TickResult::Closed : TextEntryField::TickResult::Skip)
        << k.keys;
    EXPECT_EQ(field.IsOpen(), !ends);
    EXPECT_DOUBLE_EQ(control.GetValue(), k.value) << k.keys;
    EXPECT_EQ(control.accepted, k.accepted) << k.keys;
    // Only a committed parameter entry reaches the host.
    EXPECT_EQ(plug.log.size(), k.value != 0.0 ? 1U : 0U) << k.keys;
  }
}

TEST(TextEntryField, PaintsOnePixelBeyondItsRectangleAndNoFurther)
{
  EditorTestPlug plug;
  FakeGraphics g(&plug);
  EntryControl control(&plug, -1);
  TextEntryField field(&g);
  EXPECT_FALSE(field.Open(nullptr, IText(), IRect(20, 20, 80, 36), "x", -1));
  IText style;
  style.textEntryBGColor = IColor(255, 255, 0, 0);
  ASSERT_TRUE(field.Open(&control, style, IRect(20, 20, 80, 36), "", -1));
  EXPECT_EQ(field.GetRect(), IRect(20, 20, 81, 37));
  field.Paint(g.GetDrawBitmap());
  EXPECT_EQ(g.Pixel(80, 36), 0xFFFF0000u);
  EXPECT_EQ(g.Pixel(50, 30), 0xFFFF0000u);
  // The caret of the empty field, in the text colour.
  EXPECT_EQ(g.Pixel(22, 24), 0xFF000000u);
  EXPECT_NE(g.Pixel(81, 37), 0xFFFF0000u);
  EXPECT_NE(g.Pixel(19, 19), 0xFFFF0000u);
}
