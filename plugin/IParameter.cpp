#include "plugin/IParameter.h"

#include "plugin/TextUtil.h"

#include <algorithm>
#include <climits>
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

void IParameter::InitDouble(const char* newName, double newDefault, double minValue,
                            double maxValue, double newStep, const char* newLabel,
                            const char* newGroup)
{
  if (type == kTypeNone)
    type = kTypeDouble;
  CopyText(name, newName, kTextLength);
  CopyText(label, newLabel, kTextLength);
  CopyText(group, newGroup, kTextLength);
  value = newDefault;
  min = minValue;
  max = maxValue;
  step = newStep;
  defaultValue = newDefault;
  displayPrecision = PrecisionOfStep(newStep);
}

void IParameter::SetDisplayText(int newValue, const char* text)
{
  DisplayText entry{newValue, {}};
  CopyText(entry.text, text, kTextLength);
  displayTexts.push_back(entry);
}

double IParameter::FromNormalized(double normalized) const
{
  return std::pow(normalized, shape) * (max - min) + min;
}

int IParameter::TruncatedInt(double v)
{
  if (!(v == v))
    return 0;
  return int(std::clamp(v, double(INT_MIN), double(INT_MAX)));
}

void IParameter::SetNormalized(double normalized)
{
  if (!std::isfinite(normalized))
    return;
  double newValue = FromNormalized(std::clamp(normalized, 0.0, 1.0));
  if (type != kTypeDouble)
    newValue = std::floor(newValue / step + 0.5) * step;
  value = std::min(newValue, max);
}

double IParameter::GetNormalized(double newValue) const
{
  const double v = Clamp(newValue);
  return std::pow((v - min) / (max - min), 1.0 / shape);
}

void IParameter::GetDisplayText(double newValue, bool normalized, char* text,
                                bool useDisplayTexts) const
{
  if (normalized)
    newValue = FromNormalized(newValue);
  if (useDisplayTexts)
  {
    for (const DisplayText& entry : displayTexts)
    {
      if (entry.value == TruncatedInt(newValue) && entry.text[0])
      {
        CopyText(text, entry.text, kTextLength);
        return;
      }
    }
  }
  if (negateDisplay)
    newValue = -newValue;
  if (displayPrecision > 0)
    std::snprintf(text, kTextLength, "%.*f", displayPrecision, newValue);
  else
    std::snprintf(text, kTextLength, "%d", TruncatedInt(newValue));
}

const char* IParameter::GetLabelText() const
{
  for (const DisplayText& entry : displayTexts)
    if (entry.value == TruncatedInt(value) && entry.text[0])
      return "";
  return label;
}

bool IParameter::MapDisplayText(const char* text, double* newValue) const
{
  for (const DisplayText& entry : displayTexts)
  {
    if (std::strcmp(entry.text, text) == 0)
    {
      *newValue = entry.value;
      return true;
    }
  }
  return false;
}
