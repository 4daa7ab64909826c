#pragma once
// A small plug-in on the framework base, recording what the base asks of it.
#include "plugin/IPlugBase.h"

#include <utility>
#include <vector>

class TestPlug : public IPlugBase
{
public:
  static constexpr int kParams = 4;
  static constexpr int kPresets = 8;

  TestPlug() : IPlugBase(Info())
  {
    GetParam(0)->InitDouble("Gain", 0.5, 0.0, 1.0, 0.001);
    GetParam(1)->InitDouble("Amount", 0.0, 0.0, 1.259, 0.001);
    GetParam(2)->InitDouble("Switch", 1.0, 0.0, 1.0, 1.0);
    GetParam(3)->InitDouble("Offset", 0.5, 0.25, 1.0, 0.001);
  }

  void OnParameterChange(int index) override { changes.push_back(index); }
  void NotifyHostOfParameterChange(int index, double normalized) override
  {
    notified.emplace_back(index, normalized);
  }
  void NotifyHostOfProgramChange() override { ++programChanges; }

  void SetValues(double a, double b, double c, double d)
  {
    GetParam(0)->Set(a);
    GetParam(1)->Set(b);
    GetParam(2)->Set(c);
    GetParam(3)->Set(d);
  }
  std::vector<double> Values()
  {
    std::vector<double> v;
    for (int i = 0; i < NParams(); ++i)
      v.push_back(GetParam(i)->Value());
    return v;
  }

  std::vector<int> changes;
  std::vector<std::pair<int, double>> notified;
  int programChanges = 0;

private:
  static PlugInfo Info()
  {
    PlugInfo info;
    info.nParams = kParams;
    info.nPresets = kPresets;
    info.channelIOText = "0-1 0-2";
    info.effectName = "Test";
    info.uniqueID = 0x717A7674;
    info.version = 0x00010800;
    return info;
  }
};
