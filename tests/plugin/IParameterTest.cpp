#include "plugin/IParameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
std::string Display(const IParameter& p)
{
  char text[IParameter::kTextLength];
  p.GetDisplayText(text);
  return text;
}

IParameter Continuous(double def, double step, double maxValue = 1.0)
{
  IParameter p;
  p.InitDouble("p", def, 0.0, maxValue, step);
  return p;
}
} // namespace

TEST(IParameter, InitialisesAContinuousParameterWithPrecisionFromTheStep)
{
  IParameter p;
  EXPECT_EQ(p.Type(), IParameter::kTypeNone);
  EXPECT_EQ(p.Step(), 1.0);
  EXPECT_EQ(p.Shape(), 1.0);
  p.InitDouble("Osc1 Tune", 0.5, 0.0, 1.0, 0.001, "Hz", "OSC1");
  EXPECT_EQ(p.Type(), IParameter::kTypeDouble);
  EXPECT_STREQ(p.Name(), "Osc1 Tune");
  EXPECT_STREQ(p.Label(), "Hz");
  EXPECT_STREQ(p.Group(), "OSC1");
  EXPECT_EQ(p.Value(), 0.5);
  EXPECT_EQ(p.Default(), 0.5);
  EXPECT_EQ(p.DisplayPrecision(), 3);

  EXPECT_EQ(IParameter::PrecisionOfStep(1.0), 0);
  EXPECT_EQ(IParameter::PrecisionOfStep(0.1), 1);
  EXPECT_EQ(IParameter::PrecisionOfStep(0.2), 1);
  EXPECT_EQ(IParameter::PrecisionOfStep(0.25), 2);
  EXPECT_EQ(IParameter::PrecisionOfStep(1.0 / 3.0), 6);
  EXPECT_EQ(IParameter::PrecisionOfStep(1.0 / 7.0), 6);
}

TEST(IParameter, NamesAreCutToTheirBuffers)
{
  IParameter p;
  const std::string longName(100, 'x');
  p.InitDouble(longName.c_str(), 0, 0, 1, 1, longName.c_str(), nullptr);
  EXPECT_EQ(std::string(p.Name()), std::string(31, 'x'));
  EXPECT_EQ(std::string(p.Label()), std::string(31, 'x'));
  EXPECT_STREQ(p.Group(), "");
}

TEST(IParameter, InitialisingDoesNotChangeATypeAlreadySet)
{
  IParameter p;
  p.InitDouble("a", 0, 0, 1, 1);
  p.InitDouble("b", 0, 0, 1, 1);
  EXPECT_EQ(p.Type(), IParameter::kTypeDouble);
}

TEST(IParameter, NormalizedMappingReachesTheEndsAndClamps)
{
  IParameter p = Continuous(0.0, 0.001, 1.259);
  p.SetNormalized(1.0);
  EXPECT_EQ(p.Value(), 1.259);
  p.SetNormalized(0.0);
  EXPECT_EQ(p.Value(), 0.0);
  EXPECT_EQ(p.GetNormalized(5.0), 1.0);
  EXPECT_EQ(p.GetNormalized(-5.0), 0.0);
  EXPECT_NEAR(p.GetNormalized(1.259 / 2), 0.5, 1e-12);
}

TEST(IParameter, ShapeBendsTheMappingBothWays)
{
  IParameter p = Continuous(1.0, 0.001);
  p.SetShape(4.0);
  p.SetNormalized(0.5);
  EXPECT_DOUBLE_EQ(p.Value(), 0.0625); // continuous: no snapping to the step
  EXPECT_DOUBLE_EQ(p.GetNormalized(), 0.5);
  EXPECT_DOUBLE_EQ(p.GetNormalized(0.0625), 0.5);
}

TEST(IParameter, NonContinuousTypesSnapToTheStepGrid)
{
  // A parameter that was never initialised keeps type 0 and step 1.
  IParameter p;
  p.SetNormalized(0.4);
  EXPECT_EQ(p.Value(), 0.0);
  p.SetNormalized(0.6);
  EXPECT_EQ(p.Value(), 1.0);

  // A continuous one keeps the exact value.
  IParameter q = Continuous(0.0, 1.0);
  q.SetNormalized(0.4);
  EXPECT_DOUBLE_EQ(q.Value(), 0.4);
}

TEST(IParameter, DisplayTextFollowsPrecisionNegationAndDisplayTexts)
{
  IParameter p = Continuous(0.5, 0.001);
  EXPECT_EQ(Display(p), "0.500");

  IParameter sw = Continuous(1.0, 1.0);
  EXPECT_EQ(Display(sw), "1");
  sw.Set(0.99);
  EXPECT_EQ(Display(sw), "0"); // integers are truncated, not rounded

  IParameter neg = Continuous(0.25, 0.01);
  neg.SetNegateDisplay(true);
  EXPECT_EQ(Display(neg), "-0.25");

  char text[IParameter::kTextLength];
  IParameter shaped = Continuous(1.0, 0.001);
  shaped.SetShape(4.0);
  shaped.GetDisplayText(0.5, true, text);
  EXPECT_STREQ(text, "0.062"); // 0.0625 printed with three decimals

  IParameter menu = Continuous(1.0, 1.0);
  menu.SetDisplayText(0, "Off");
  menu.SetDisplayText(1, "");
  menu.SetDisplayText(1, "On");
  EXPECT_EQ(Display(menu), "On");
  EXPECT_STREQ(menu.GetLabelText(), "");
  menu.GetDisplayText(1.0, false, text, false);
  EXPECT_STREQ(text, "1");

  double value = -1;
  EXPECT_TRUE(menu.MapDisplayText("Off", &value));
  EXPECT_EQ(value, 0.0);
  EXPECT_FALSE(menu.MapDisplayText("off", &value));
}

TEST(IParameter, LabelIsShownUnlessADisplayTextReplacesTheValue)
{
  IParameter p;
  p.InitDouble("Cutoff", 1.0, 0.0, 1.0, 0.001, "Hz");
  EXPECT_STREQ(p.GetLabelText(), "Hz");
  p.SetDisplayText(0, "min");
  EXPECT_STREQ(p.GetLabelText(), "Hz");
  p.Set(0.0);
  EXPECT_STREQ(p.GetLabelText(), "");
}
