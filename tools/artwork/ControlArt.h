#pragma once
// The images of the editor's controls: knob filmstrips, switches, buttons, steppers,
// tabs and the slider's parts. Every multi-frame image is a vertical strip of frames of
// equal height; frame 1 (the top) shows value 0.
#include "tools/artwork/Studio.h"

#include <string>
#include <vector>

class ControlArt
{
public:
  // Frames of a continuous knob: smooth enough that a value step of 1/127 shows.
  static constexpr int kKnobFrames = 128;

  explicit ControlArt(const Studio& s) : studio(s) {}

  // A knob size pixels square per frame: value ring (from the left end, or from the
  // top for a bipolar knob), machined body and pointer. states > 0 draws one frame per
  // state with a tick for each; otherwise kKnobFrames frames. tint colours the body.
  Canvas Knob(int size, bool bipolar, int states, const Colour& tint) const;
  // A round push switch with an LED: off, on.
  Canvas OnOffSwitch(int size) const;
  // A small square stepper with an arrow (left or right): idle, pressed.
  Canvas Stepper(int size, bool right) const;
  // A small square button with a minus or plus: idle, pressed.
  Canvas PlusMinus(int size, bool plus) const;
  // A latching button with an LED: off, on.
  Canvas Toggle(int w, int frameHeight, const std::string& label) const;
  // A momentary button: idle, pressed.
  Canvas Action(int w, int frameHeight, const std::string& label) const;
  // A button showing one of several modes, one frame per label.
  Canvas Modes(int w, int frameHeight, const std::vector<std::string>& labels) const;
  // A wide button with an arrow: idle, pressed.
  Canvas Arrow(int w, int frameHeight, bool right) const;
  // A page tab: unlit, lit.
  Canvas Tab(int w, int frameHeight, const std::string& label) const;
  // A latching button whose LED shows a trace colour: off, on.
  Canvas TraceButton(int w, int frameHeight, const std::string& label, const Colour& led) const;
  // The scope's fill-mode button: hollow, half filled, filled.
  Canvas FillMode(int w, int frameHeight) const;
  // A slider's groove and its handle.
  Canvas SliderTrack(int w, int h) const;
  Canvas SliderHandle(int size) const;

  // Frames stacked top to bottom.
  static Canvas Stack(const std::vector<Canvas>& frames);

private:
  Canvas KnobBase(int size, const std::vector<double>& ticks, const Colour& tint) const;
  // A button's label centred at (cx, cy), no wider than room.
  void Label(Canvas& c, const std::string& label, double cx, double cy, int size, double room,
             bool lit) const;

  const Studio& studio;
};
