#pragma once
// How a window's raw input becomes the editor's: the editor's key numbers for the
// system's virtual-key codes, and wheel notches for the system's wheel deltas. Pure,
// so that the mapping is the same for every window and can be checked anywhere.
class WindowEvents
{
public:
  // Wheel deltas come in steps of this size per notch.
  static constexpr int kWheelDelta = 120;

  // The editor's key number for a virtual-key code: space 0, up 1, down 2, left 3,
  // right 4, the digits "0" to "9" 5 to 14, the letters (65 to 90) and the codes 97 to
  // 122 15 to 40; -1 for every other code.
  static int KeyNumber(int virtualKey);
  // Whole notches of a signed wheel delta (truncated towards zero).
  static int WheelNotches(int delta) { return delta / kWheelDelta; }
};
