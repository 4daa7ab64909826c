#pragma once
// One automatable parameter: a double value with range, step, curve shape, default,
// display precision, name, unit label and group, converted to and from the host's
// normalized 0..1 range and to display text.
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
  void SetShape(double shape) { mShape = shape; }
  void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }
  void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }
  void SetDisplayText(int value, const char* text);

  // Host-facing conversion.
  void SetNormalized(double normalized);
  double GetNormalized() const { return GetNormalized(mValue); }
  double GetNormalized(double value) const;
  // Maps a normalized position to a value without snapping to the step grid.
  double FromNormalized(double normalized) const;

  // Writes the text for a value (or a normalized position) into text, which holds
  // at least kTextLength bytes.
  void GetDisplayText(double value, bool normalized, char* text, bool useDisplayTexts = true) const;
  void GetDisplayText(char* text) const { GetDisplayText(mValue, false, text, true); }
  // The unit text: empty when the current value is shown by a display text.
  const char* GetLabelText() const;
  // The display text's value for an exact text match; false when none matches.
  bool MapDisplayText(const char* text, double* value) const;

  // The value in the parameter's own units.
  double Value() const { return mValue; }
  void Set(double value) { mValue = value; }
  double Clamp(double value) const { return value < mMin ? mMin : (value > mMax ? mMax : value); }
  bool Bool() const { return mValue >= 0.5; }
  int Int() const { return int(mValue); }

  EParamType Type() const { return mType; }
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  double Shape() const { return mShape; }
  double Default() const { return mDefault; }
  int DisplayPrecision() const { return mDisplayPrecision; }
  bool NegateDisplay() const { return mNegateDisplay; }
  bool CanAutomate() const { return mCanAutomate; }
  const char* Name() const { return mName; }
  const char* Label() const { return mLabel; }
  const char* Group() const { return mGroup; }
  int NDisplayTexts() const { return int(mDisplayTexts.size()); }

  // The number of decimals that displays a step: count places until the step is whole.
  static int PrecisionOfStep(double step);

private:
  EParamType mType = kTypeNone;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  char mName[kTextLength] = {};
  char mLabel[kTextLength] = {};
  char mGroup[kTextLength] = {};
  bool mNegateDisplay = false;
  bool mCanAutomate = true;
  std::vector<DisplayText> mDisplayTexts;
};
