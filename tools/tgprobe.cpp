// tgprobe: loads a VST 2.4 module through our host library and prints what a host
// sees of it: identity, layout, parameters and programs.
//
//   tgprobe MODULE [--params] [--programs]
#include "host/PluginInstance.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace
{
std::string FourCCText(int32_t code)
{
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8)
    s += char((code >> shift) & 0xFF);
  return s;
}
} // namespace

int main(int argc, char** argv)
{
  if (argc < 2)
  {
    std::fprintf(stderr, "usage: %s MODULE [--params] [--programs]\n", argv[0]);
    return 2;
  }
  bool listParams = false, listPrograms = false;
  for (int i = 2; i < argc; ++i)
  {
    listParams |= std::strcmp(argv[i], "--params") == 0;
    listPrograms |= std::strcmp(argv[i], "--programs") == 0;
  }

  const std::filesystem::path path = std::filesystem::absolute(argv[1]);
  VstHost::PluginInstance plug;
  if (!plug.Load(path.string()))
  {
    std::fprintf(stderr, "tgprobe: cannot load %s: %s\n", path.c_str(), plug.Error().c_str());
    return 1;
  }
  plug.Start(44100.0, 512);
  const Vst::AEffect* e = plug.Effect();

  std::printf("module:      %s\n", path.c_str());
  std::printf("name:        %s\n", plug.EffectName().c_str());
  std::printf("vendor:      %s\n", plug.VendorString().c_str());
  std::printf("product:     %s\n", plug.ProductString().c_str());
  std::printf("unique id:   '%s' (0x%08X), version %d\n", FourCCText(e->uniqueID).c_str(),
              unsigned(e->uniqueID), e->version);
  std::printf("category:    %s\n", plug.Dispatch(Vst::effGetPlugCategory) == Vst::kPlugCategorySynth
                                       ? "instrument"
                                       : "effect");
  std::printf("audio:       %d inputs, %d outputs, flags 0x%X\n", e->numInputs, e->numOutputs,
              unsigned(e->flags));
  std::printf("parameters:  %d\n", e->numParams);
  std::printf("programs:    %d (current: \"%s\")\n", e->numPrograms, plug.ProgramName().c_str());

  if (listParams)
  {
    for (int i = 0; i < e->numParams; ++i)
    {
      std::printf("  %3d  %-28s %10s %-3s  (%.4f)\n", i, plug.ParamName(i).c_str(),
                  plug.ParamDisplay(i).c_str(), plug.ParamLabel(i).c_str(), plug.GetParameter(i));
    }
  }
  if (listPrograms)
    for (int i = 0; i < e->numPrograms; ++i)
      std::printf("  %3d  %s\n", i, plug.ProgramNameIndexed(i).c_str());
  return 0;
}
