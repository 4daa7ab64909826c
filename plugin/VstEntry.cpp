// The two exported entry points a VST 2.4 host looks for in the module.
#include "plugin/IPlugVST.h"
#include "plugin/platform/PlatformLock.h"

#include <cstdint>

#if defined(_WIN32)
#define TG_EXPORT extern "C" __declspec(dllexport)
#else
#define TG_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace
{
Vst::AEffect* CreateEffect(Vst::HostCallback hostCallback)
{
  // Two hosts' threads never construct instances at the same moment.
  PlatformLockGuard lock(CreationLock());
  try
  {
    IPlugVST* plug = MakePlug(hostCallback);
    if (!plug)
      return nullptr;
    plug->FillEmptyPresets(plug->NPresets());
    Vst::AEffect* effect = plug->GetAEffect();
    if (effect->numPrograms < 1)
      effect->numPrograms = 1;
    return effect;
  }
  catch (...)
  {
    return nullptr;
  }
}
} // namespace

TG_EXPORT Vst::AEffect* VSTCALLBACK VSTPluginMain(Vst::HostCallback hostCallback)
{
  return CreateEffect(hostCallback);
}

// Older hosts call "main" with the host callback. The argument is taken at full
// pointer width: a 64-bit host passes a 64-bit function address.
TG_EXPORT Vst::AEffect* VSTCALLBACK VstLegacyMain(intptr_t hostCallback) __asm__("main");
TG_EXPORT Vst::AEffect* VSTCALLBACK VstLegacyMain(intptr_t hostCallback)
{
  return CreateEffect(reinterpret_cast<Vst::HostCallback>(hostCallback));
}
