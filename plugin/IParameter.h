#pragma once
// One automatable parameter: a double value with range, step, curve shape, default,
// display precision, name, unit label and group, converted to and from the host's
// normalized 0..1 range and to display text.
#include <cmath>
#include <vector>

class IParameter
{
public:
  enum EParamType
  {
    kTypeNone = 0,
    kTypeBool = 1,
    kTypeInt = 2,
    kTypeEnum = 3,
    kTypeDouble = 4,
  };

  static constexpr int kTextLength = 32; // name, label, group and display texts, with terminator

  struct DisplayText
  {
    int value;
    char text[kTextLength];
  };

  IParameter() = default;

  // Initialises a continuous parameter; the value starts at the default and the
  // display precision follows from the step.
  void InitDouble(const char* name, double defaultValue, double minValue, double maxValue,
                  double step, const char* label = "", const char* group = "");
  void SetShape(double newShape) { shape = newShape; }
  void SetNegateDisplay(bool negate) { negateDisplay = negate; }
  void SetCanAutomate(bool newCanAutomate) { canAutomate = newCanAutomate; }
  void SetDisplayText(int value, const char* text);

  // Host-facing conversion. A normalized value outside 0..1 counts as its nearer end;
  // one that is not a finite number is ignored.
  void SetNormalized(double normalized);
  double GetNormalized() const { return GetNormalized(value); }
  double GetNormalized(double value) const;
  // Maps a normalized position to a value without snapping to the step grid.
  double FromNormalized(double normalized) const;

  // Writes the text for a value (or a normalized position) into text, which holds
  // at least kTextLength bytes.
  void GetDisplayText(double value, bool normalized, char* text, bool useDisplayTexts = true) const;
  void GetDisplayText(char* text) const { GetDisplayText(value, false, text, true); }
  // The unit text: empty when the current value is shown by a display text.
  const char* GetLabelText() const;
  // The display text's value for an exact text match; false when none matches.
  bool MapDisplayText(const char* text, double* value) const;

  // The value in the parameter's own units. A value that is not a finite number is
  // ignored: it would reach the sound and stay there.
  double Value() const { return value; }
  void Set(double newValue)
  {
    if (std::isfinite(newValue))
      value = newValue;
  }
  double Clamp(double newValue) const
  {
    return newValue < min ? min : (newValue > max ? max : newValue);
  }
  bool Bool() const { return value >= 0.5; }
  int Int() const { return int(value); }

  EParamType Type() const { return type; }
  double Min() const { return min; }
  double Max() const { return max; }
  double Step() const { return step; }
  double Shape() const { return shape; }
  double Default() const { return defaultValue; }
  int DisplayPrecision() const { return displayPrecision; }
  bool NegateDisplay() const { return negateDisplay; }
  bool CanAutomate() const { return canAutomate; }
  const char* Name() const { return name; }
  const char* Label() const { return label; }
  const char* Group() const { return group; }
  int NDisplayTexts() const { return int(displayTexts.size()); }
  // The display text entry at a position, or null outside the list.
  const DisplayText* GetDisplayTextEntry(int position) const
  {
    if (position < 0 || position >= NDisplayTexts())
      return nullptr;
    return &displayTexts[std::size_t(position)];
  }

  // The number of decimals that displays a step: count places until the step is whole.
  static int PrecisionOfStep(double step);
  // A value truncated towards zero, kept within the int range (0 for an undefined one).
  static int TruncatedInt(double v);

private:
  EParamType type = kTypeNone;
  double value = 0.0;
  double min = 0.0;
  double max = 1.0;
  double step = 1.0;
  double shape = 1.0;
  double defaultValue = 0.0;
  int displayPrecision = 0;
  char name[kTextLength] = {};
  char label[kTextLength] = {};
  char group[kTextLength] = {};
  bool negateDisplay = false;
  bool canAutomate = true;
  std::vector<DisplayText> displayTexts;
};
