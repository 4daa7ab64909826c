#pragma once
// The editor's display windows: recessed dark glass, with a fine grid where a curve or
// a trace is drawn over them and plain where text is.
#include "tools/artwork/Studio.h"

class DisplayArt
{
public:
  explicit DisplayArt(const Studio& s) : studio(s) {}

  // Plain glass for text.
  Canvas Plain(int w, int h) const;
  // Glass with columns x rows grid cells and a brighter centre line when asked.
  Canvas Grid(int w, int h, int columns, int rows, bool centreLine) const;
  // An oscillator's waveform window, marked with its number.
  Canvas Waveform(int w, int h, int oscillator) const;
  // The transfer curve window: grid, axes and the faint identity diagonal.
  Canvas Curve(int size) const;
  // The scope: two lanes (left above, right below) with their centre lines.
  Canvas Scope(int w, int h) const;

private:
  const Studio& studio;
};
