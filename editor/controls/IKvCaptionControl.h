#pragma once
// A parameter's value as formatted text, painted fresh from the parameter each time:
//   0 "%3.1fdB" of 20 log10(v) ("-oodB" when v is not above 0)
//   1 "%3.1f%%" of 100 v          2 "%4.3f" of 24 v - 12
//   3 "%4.3f" of 2 v - 1          4 "%4.3f" of v - 0.5
//   5 "%4.3f" of scale v + offset, then the unit text
//   6 "%4.1f" of scale v + offset, then the unit text
//   7 the tempo-sync factor of floor(9 v + 0.5): "off", "1/16x" ... "16.0x"
//   any other kind: the parameter's display text (and its unit label when asked for).
// User-interface thread only.
#include "editor/controls/ITextControl.h"

#include <string>

class IKvCaptionControl : public ITextControl
{
public:
  enum Kind
  {
    kDecibels = 0,
    kPercent = 1,
    kSemitones = 2,
    kBipolar = 3,
    kCentred = 4,
    kScaled = 5,
    kScaledShort = 6,
    kSyncFactor = 7,
    kDisplayText = 8,
  };

  IKvCaptionControl(IPlugBase* owner, const IRect& area, int boundParam, const IText& style,
                    int displayKind, double valueScale = 1.0, double valueOffset = 0.0,
                    const char* unitText = "", bool withLabel = false);

  void Paint(IGraphics* g) override;
  // The text for the parameter's current value.
  std::string CaptionText() const;
  // The text a kind gives for a value (kinds 0 to 7; others give "").
  static std::string Format(int displayKind, double v, double valueScale, double valueOffset,
                            const char* unitText);

private:
  int kind;
  double scale;
  double offset;
  std::string unit;
  bool showLabel;
};
