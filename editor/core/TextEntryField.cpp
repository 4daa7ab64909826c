#include "editor/core/TextEntryField.h"

#include "editor/controls/IControl.h"
#include "editor/core/IGraphics.h"
#include "editor/raster/LICE_Draw.h"
#include "editor/text/FontCache.h"
#include "editor/text/LICE_CachedFont.h"

#include <algorithm>
#include <cstdlib>

namespace
{
// The selection as a native edit shows it: white text on the highlight colour.
const IColor kSelectionBack(255, 0, 120, 215);
const IColor kSelectionText(255, 255, 255, 255);
// Space between the field's edge and its text.
constexpr int kMargin = 2;

void AppendUtf8(std::string& out, char32_t c)
{
  if (c < 0x80)
    out += char(c);
  else if (c < 0x800)
  {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  }
  else if (c < 0x10000)
  {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
  else
  {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

std::string ToUtf8(const std::u32string& text, std::size_t from, std::size_t to)
{
  std::string out;
  for (std::size_t i = from; i < to && i < text.size(); ++i)
    AppendUtf8(out, text[i]);
  return out;
}
} // namespace

bool TextEntryField::Open(IControl* control, const IText& fieldStyle, const IRect& area,
                          const char* initial, int param)
{
  if (!control || IsOpen())
    return false;
  edited = control;
  paramIdx = param;
  style = fieldStyle;
  style.cached = nullptr;
  rect = IRect(area.left, area.top, area.right + 1, area.bottom + 1);
  limit = std::max(0, control->GetTextEntryLength());
  text.clear();
  for (const char* p = initial ? initial : ""; *p;)
    text += char32_t(LICE_CachedFont::NextCodepoint(p));
  selStart = 0;
  selEnd = caret = int(text.size());
  // The field takes the keyboard as it opens.
  state = State::Focused;
  return true;
}

void TextEntryField::Close()
{
  edited = nullptr;
  paramIdx = -1;
  text.clear();
  caret = selStart = selEnd = 0;
  state = State::None;
}

std::string TextEntryField::Text() const { return ToUtf8(text, 0, text.size()); }

void TextEntryField::DeleteSelection()
{
  const int from = std::min(selStart, selEnd);
  const int to = std::max(selStart, selEnd);
  text.erase(std::size_t(from), std::size_t(to - from));
  caret = selStart = selEnd = from;
}

bool TextEntryField::Type(char32_t c)
{
  if (!IsOpen() || c < 0x20 || c == 0x7F)
    return false;
  // The parameter's filter sees ASCII characters as they are; any other character
  // stands in as a control character, which only free text takes.
  if (graphics && !graphics->TextEntryAccepts(paramIdx, c < 0x80 ? char(c) : '\x01'))
    return false;
  const int selected = std::abs(selEnd - selStart);
  if (int(text.size()) - selected + 1 > limit)
    return false;
  DeleteSelection();
  text.insert(std::size_t(caret), 1, c);
  caret = selStart = selEnd = caret + 1;
  return true;
}

bool TextEntryField::Press(Key key)
{
  if (!IsOpen())
    return false;
  const int length = int(text.size());
  switch (key)
  {
  case Key::Enter:
    state = State::CommitRequested;
    return true;
  case Key::Escape:
    state = State::CancelRequested;
    return true;
  case Key::Backspace:
    if (HasSelection())
      DeleteSelection();
    else if (caret > 0)
    {
      text.erase(std::size_t(caret - 1), 1);
      caret = selStart = selEnd = caret - 1;
    }
    else
      return false;
    return true;
  case Key::Delete:
    if (HasSelection())
      DeleteSelection();
    else if (caret < length)
      text.erase(std::size_t(caret), 1);
    else
      return false;
    return true;
  case Key::Left:
    caret = HasSelection() ? std::min(selStart, selEnd) : std::max(0, caret - 1);
    break;
  case Key::Right:
    caret = HasSelection() ? std::max(selStart, selEnd) : std::min(length, caret + 1);
    break;
  case Key::Home:
    caret = 0;
    break;
  case Key::End:
    caret = length;
    break;
  }
  selStart = selEnd = caret;
  return true;
}

void TextEntryField::ClickAt(int x)
{
  if (!IsOpen())
    return;
  const int offset = x - TextLeft();
  int best = 0;
  for (int i = 1; i <= int(text.size()); ++i)
    if (std::abs(TextWidth(i) - offset) < std::abs(TextWidth(best) - offset))
      best = i;
  caret = selStart = selEnd = best;
}

void TextEntryField::RequestCancel()
{
  if (IsOpen())
    state = State::CancelRequested;
}

TextEntryField::TickResult TextEntryField::Tick()
{
  if (!IsOpen())
    return TickResult::Draw;
  switch (state)
  {
  case State::CancelRequested:
    Close();
    return TickResult::Closed;
  case State::CommitRequested:
  {
    IControl* control = edited;
    const int param = paramIdx;
    const std::string entered = Text();
    Close();
    if (graphics)
      graphics->CommitTextEntry(control, param, entered.c_str());
    return TickResult::Closed;
  }
  case State::RedrawnAround:
    state = State::None;
    return TickResult::Skip;
  case State::Focused:
    return TickResult::Skip;
  case State::None:
    break;
  }
  return TickResult::Draw;
}

void TextEntryField::DrewAround()
{
  if (IsOpen() && state == State::None)
    state = State::RedrawnAround;
}

int TextEntryField::TextWidth(int length) const
{
  if (length <= 0)
    return 0;
  LICE_CachedFont* font = FontCache::Find(style);
  if (!font)
    return 0;
  const std::string part = ToUtf8(text, 0, std::size_t(length));
  IRect box(0, 0, 0, 0);
  font->DrawText(nullptr, part.c_str(), box, TextAlign::Near, true, 1.0f, box);
  return box.W();
}

int TextEntryField::TextLeft() const
{
  const int width = TextWidth(int(text.size()));
  switch (style.align)
  {
  case TextAlign::Center:
    return rect.MidX() - width / 2;
  case TextAlign::Far:
    return rect.right - kMargin - width;
  case TextAlign::Near:
    break;
  }
  return rect.left + kMargin;
}

void TextEntryField::Paint(LICE_IBitmap* surface)
{
  if (!IsOpen() || !surface)
    return;
  LICE_Draw::FillRect(surface, rect.left, rect.top, rect.W(), rect.H(),
                      style.textEntryBGColor.Pixel(), 1.0f, false, rect);
  LICE_CachedFont* font = FontCache::Find(style);
  if (!font)
    return;
  const int left = TextLeft();
  const int top = rect.top + 1;
  const int lineHeight = font->LineHeight();
  const int from = std::min(selStart, selEnd);
  const int to = std::max(selStart, selEnd);
  if (from != to)
    LICE_Draw::FillRect(surface, left + TextWidth(from), top, TextWidth(to) - TextWidth(from),
                        lineHeight, kSelectionBack.Pixel(), 1.0f, false, rect);
  // The text in three runs: before, inside and after the selection.
  const int bounds[4] = {0, from, to, int(text.size())};
  for (int run = 0; run < 3; ++run)
  {
    if (bounds[run + 1] <= bounds[run])
      continue;
    const std::string part = ToUtf8(text, std::size_t(bounds[run]), std::size_t(bounds[run + 1]));
    IRect box(left + TextWidth(bounds[run]), top, rect.right, rect.bottom);
    font->SetTextColor(run == 1 ? kSelectionText.Pixel() : style.textEntryFGColor.Pixel());
    font->DrawText(surface, part.c_str(), box, TextAlign::Near, false, 1.0f, rect);
  }
  if (from == to)
  {
    const int x = left + TextWidth(caret);
    LICE_Draw::Line(surface, x, top, x, top + lineHeight - 1, style.textEntryFGColor.Pixel(), 1.0f,
                    false, rect);
  }
}
