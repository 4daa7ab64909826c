#pragma once
// A single-line text field the editor draws itself, for windows with no native edit
// control: the text, the caret and the selection, the editing rules of a plain edit
// (typed characters replace the selection, a length limit, the parameter's character
// filter), the states a window's timer acts on, and painting the field into the
// editor's surface. The window turns its key and mouse events into the calls below and
// runs Tick() from its timer.
//
// Called from the host's user-interface thread only.
#include "editor/core/IGraphicsStructs.h"

#include <string>

class IControl;
class IGraphics;
class LICE_IBitmap;

class TextEntryField
{
public:
  // What the window's timer sees: no field open (or one the editor may draw around),
  // the field has the keyboard, the editor was just redrawn around it, cancel asked
  // for, commit asked for.
  enum class State
  {
    None = 0,
    Focused = 1,
    RedrawnAround = 2,
    CancelRequested = 3,
    CommitRequested = 4
  };
  // The keys an edit field acts on besides typed characters.
  enum class Key
  {
    Backspace,
    Delete,
    Left,
    Right,
    Home,
    End,
    Enter,
    Escape
  };
  // What a timer tick did with the field.
  enum class TickResult
  {
    Draw,   // nothing to do with the field: the editor redraws as usual
    Skip,   // the field holds the keyboard or was just drawn around: no redraw this tick
    Closed, // the field was cancelled or committed and is gone: repaint where it was
  };

  explicit TextEntryField(IGraphics* owner) : graphics(owner) {}

  // Opens the field over area (one pixel wider and higher) holding initial, all of it
  // selected, with the control's text-entry length as the limit; paramIdx is the
  // parameter being entered, -1 for free text. Refused without a control or while a
  // field is open.
  bool Open(IControl* control, const IText& style, const IRect& area, const char* initial,
            int paramIdx);
  // Forgets the field without committing it.
  void Close();
  bool IsOpen() const { return edited != nullptr; }

  // A typed character (a Unicode code point): refused by the parameter's filter or when
  // the text would grow past the limit; otherwise it replaces the selection. True when
  // the text changed.
  bool Type(char32_t c);
  // True when the text, the caret or the state changed.
  bool Press(Key key);
  // A click inside the field places the caret at the nearest character boundary; a
  // click or a wheel turn outside asks for the field to be cancelled.
  void ClickAt(int x);
  void RequestCancel();
  // The field lost the keyboard to another window.
  void FocusLost() { RequestCancel(); }
  // The timer: a cancelled field closes, a committed one is handed to the graphics
  // (IGraphics::CommitTextEntry) and closes, a field just drawn around waits a tick.
  TickResult Tick();
  // The window drew the editor's dirty controls while the field was open and not
  // focused (the field is painted over them again).
  void DrewAround();

  // Paints the field (background, selection, text and caret) into the surface, clipped
  // to the field.
  void Paint(LICE_IBitmap* surface);

  State GetState() const { return state; }
  // The field's rectangle (the given one, one pixel wider and higher).
  const IRect& GetRect() const { return rect; }
  // The text as UTF-8.
  std::string Text() const;
  int Caret() const { return caret; }
  bool AllSelected() const { return selStart == 0 && selEnd == int(text.size()) && selEnd > 0; }
  int ParamIdx() const { return paramIdx; }
  IControl* Control() const { return edited; }

private:
  bool HasSelection() const { return selStart != selEnd; }
  void DeleteSelection();
  // The x offset of the character boundary in the text as drawn.
  int TextWidth(int length) const;
  // Where the text starts, by the style's alignment.
  int TextLeft() const;

  IGraphics* graphics;
  IControl* edited = nullptr;
  int paramIdx = -1;
  IText style;
  IRect rect;
  std::u32string text;
  int limit = 7;
  int caret = 0;
  int selStart = 0;
  int selEnd = 0;
  State state = State::None;
};
