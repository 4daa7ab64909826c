#include "synth/Thumpgeist.h"

#include "synth/ParameterTable.h"

#include <algorithm>

PlugInfo Thumpgeist::MakeInfo()
{
  PlugInfo info;
  info.nParams = kNumParams;
  info.nPresets = kNumPrograms;
  info.channelIOText = kChannelIO;
  info.effectName = kEffectName;
  info.productName = kProductName;
  info.vendorName = kVendorName;
  info.uniqueID = kUniqueID;
  info.version = kVersion;
  info.isInstrument = true;
  info.keepsStateInChunks = true;
  info.doesMidi = true;
  return info;
}

Thumpgeist::Thumpgeist(vst::HostCallback hostCallback) : IPlugVST(MakeInfo(), hostCallback)
{
  ParameterTable::InitAllSections(*this);

  // Every parameter is applied once, so that each object starts from the table's defaults.
  PlatformLockGuard lock(Mutex());
  OnParameterReset();
}

Thumpgeist::~Thumpgeist() = default;

void Thumpgeist::Reset() { PlatformLockGuard lock(Mutex()); }

void Thumpgeist::OnParameterChange(int paramIdx) { PlatformLockGuard lock(Mutex()); }

void Thumpgeist::ProcessBlock(double** inputs, double** outputs, int frames)
{
  if (!outputs)
    return;
  for (int c = 0; c < NOutChannels(); ++c)
    if (outputs[c])
      std::fill_n(outputs[c], frames, 0.0);
}

IPlugVST* MakePlug(vst::HostCallback hostCallback) { return new Thumpgeist(hostCallback); }
