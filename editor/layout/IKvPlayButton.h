#pragma once
// Plays the instrument without a keyboard: the left button asks the next block to play
// note 48 at velocity 127 (ending the one before), the right button asks it to stop
// the note. Lit while pressed.
//
// User-interface thread; the request is handed to the audio thread under the plug-in
// mutex.
#include "editor/controls/IBitmapControl.h"

class Thumpgeist;

class IKvPlayButton : public IBitmapControl
{
public:
  IKvPlayButton(Thumpgeist* owner, int x, int y, const IBitmap& image);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseUp(int x, int y, const IMouseMod& mod) override;
  static constexpr int kNote = 48;

private:
  Thumpgeist* synth;
};
