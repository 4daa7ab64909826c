#pragma once
// The instrument: owns the parameter table and every object that makes its sound.
#include "plugin/IPlugVST.h"

#include <cstdint>

class Thumpgeist : public IPlugVST
{
public:
  static constexpr int kNumParams = 160;
  static constexpr int kNumPrograms = 128;
  static constexpr int32_t kUniqueID = vst::FourCC('q', 'z', 'v', 't');
  static constexpr int32_t kVersion = 0x00010800; // 1.8.0
  static constexpr const char* kChannelIO = "0-1 0-2";
  static constexpr const char* kEffectName = "Thumpgeist 1.8 FREE";
  static constexpr const char* kProductName = "Thump::Geist 1.8 FREE VST";
  static constexpr const char* kVendorName = "Korvane";

  explicit Thumpgeist(vst::HostCallback hostCallback);
  ~Thumpgeist() override;

  void Reset() override;
  void OnParameterChange(int paramIdx) override;
  void ProcessBlock(double** inputs, double** outputs, int frames) override;

private:
  static PlugInfo MakeInfo();
};
