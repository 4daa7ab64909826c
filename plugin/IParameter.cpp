#include "plugin/IParameter.h"

#include "plugin/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

int IParameter::PrecisionOfStep(double step)
{
  int precision = 0;
  double d = step;
  while (std::floor(d) != d && precision < 6)
  {
    ++precision;
    d *= 10.0;
  }
  return precision;
}

void IParameter::InitDouble(const char* name, double defaultValue, double minValue, double maxValue,
                            double step, const char* label, const char* group)
{
  if (mType == kTypeNone)
    mType = kTypeDouble;
  CopyText(mName, name, kTextLength);
  CopyText(mLabel, label, kTextLength);
  CopyText(mGroup, group, kTextLength);
  mValue = defaultValue;
  mMin = minValue;
  mMax = maxValue;
  mStep = step;
  mDefault = defaultValue;
  mDisplayPrecision = PrecisionOfStep(step);
}

void IParameter::SetDisplayText(int value, const char* text)
{
  DisplayText entry{value, {}};
  CopyText(entry.text, text, kTextLength);
  mDisplayTexts.push_back(entry);
}

double IParameter::FromNormalized(double normalized) const
{
  return std::pow(normalized, mShape) * (mMax - mMin) + mMin;
}

void IParameter::SetNormalized(double normalized)
{
  double value = FromNormalized(normalized);
  if (mType != kTypeDouble)
    value = std::floor(value / mStep + 0.5) * mStep;
  mValue = std::min(value, mMax);
}

double IParameter::GetNormalized(double value) const
{
  const double v = Clamp(value);
  return std::pow((v - mMin) / (mMax - mMin), 1.0 / mShape);
}

void IParameter::GetDisplayText(double value, bool normalized, char* text,
                                bool useDisplayTexts) const
{
  if (normalized)
    value = FromNormalized(value);
  if (useDisplayTexts)
  {
    for (const DisplayText& entry : mDisplayTexts)
    {
      if (entry.value == int(value) && entry.text[0])
      {
        CopyText(text, entry.text, kTextLength);
        return;
      }
    }
  }
  if (mNegateDisplay)
    value = -value;
  if (mDisplayPrecision > 0)
    std::snprintf(text, kTextLength, "%.*f", mDisplayPrecision, value);
  else
    std::snprintf(text, kTextLength, "%d", int(value));
}

const char* IParameter::GetLabelText() const
{
  for (const DisplayText& entry : mDisplayTexts)
    if (entry.value == int(mValue) && entry.text[0])
      return "";
  return mLabel;
}

bool IParameter::MapDisplayText(const char* text, double* value) const
{
  for (const DisplayText& entry : mDisplayTexts)
  {
    if (std::strcmp(entry.text, text) == 0)
    {
      *value = entry.value;
      return true;
    }
  }
  return false;
}
