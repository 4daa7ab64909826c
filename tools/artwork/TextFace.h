#pragma once
// Text of the artwork, rendered through FreeType from an installed TrueType file
// (DejaVu or Liberation): one face at a time, at a pixel size, with optional extra
// spacing between letters. Text is rendered into a mask (a canvas whose alpha is the
// glyph coverage) that the caller composites in any colour or gradient.
#include "tools/artwork/Canvas.h"

#include <string>

struct FT_LibraryRec_;
struct FT_FaceRec_;

class TextFace
{
public:
  TextFace() = default;
  ~TextFace();
  TextFace(const TextFace&) = delete;
  TextFace& operator=(const TextFace&) = delete;

  // Opens the first file of the list that FreeType can read; false when none.
  bool Open(const std::initializer_list<const char*>& files);
  bool IsOpen() const { return face != nullptr; }

  // The advance width of text in pixels.
  double Measure(const std::string& text, int pixelSize, double spacing = 0.0) const;
  // The text as a mask; baseline receives the baseline's row in the mask.
  Canvas Render(const std::string& text, int pixelSize, double spacing, int& baseline) const;
  // The height of capital letters above the baseline, in pixels.
  double CapHeight(int pixelSize) const;

private:
  FT_LibraryRec_* library = nullptr;
  FT_FaceRec_* face = nullptr;
};
