// The Windows smoke test, run under Wine: loads Thumpgeist.dll with LoadLibrary through
// our host library and checks it as a host would, then checks the Windows side of the
// platform layer and the PNG decoder in this program. Prints "N passed, M failed" on a
// line of its own and exits non-zero when anything failed.
//
// Usage: WineSmokeTest [path of Thumpgeist.dll]   (default: beside this program)
#include "editor/raster/PngImage.h"
#include "host/PluginInstance.h"
#include "plugin/platform/PlatformLock.h"
#include "plugin/platform/PlatformModule.h"
#include "tests/editor/PngTestEncoder.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace
{
int gPassed = 0;
int gFailed = 0;

void Check(bool ok, const char* what, int line)
{
  if (ok)
    ++gPassed;
  else
  {
    ++gFailed;
    std::printf("FAILED (line %d): %s\n", line, what);
  }
}

template <typename A, typename B>
void CheckEqual(const A& actual, const B& expected, const char* what, int line)
{
  if (actual == expected)
  {
    ++gPassed;
    return;
  }
  ++gFailed;
  if constexpr (std::is_convertible_v<A, std::string> && std::is_convertible_v<B, std::string>)
    std::printf("FAILED (line %d): %s: \"%s\", expected \"%s\"\n", line, what,
                std::string(actual).c_str(), std::string(expected).c_str());
  else if constexpr (std::is_arithmetic_v<A> && std::is_arithmetic_v<B>)
    std::printf("FAILED (line %d): %s: %lld (0x%llx), expected %lld (0x%llx)\n", line, what,
                (long long)actual, (unsigned long long)actual, (long long)expected,
                (unsigned long long)expected);
  else
    std::printf("FAILED (line %d): %s differs\n", line, what);
}

#define CHECK(cond) Check((cond), #cond, __LINE__)
#define CHECK_EQ(a, b) CheckEqual((a), (b), #a, __LINE__)

bool AllFinite(const std::vector<std::vector<double>>& out, int frames, double bound)
{
  for (const auto& channel : out)
    for (int i = 0; i < frames; ++i)
      if (!std::isfinite(channel[size_t(i)]) || std::fabs(channel[size_t(i)]) > bound)
        return false;
  return true;
}

void CheckEffectRecord(VstHost::PluginInstance& plug)
{
  const Vst::AEffect* e = plug.Effect();
  CHECK_EQ(e->magic, Vst::FourCC('V', 's', 't', 'P'));
  CHECK_EQ(e->numParams, 160);
  CHECK_EQ(e->numPrograms, 128);
  CHECK_EQ(e->numInputs, 0);
  CHECK_EQ(e->numOutputs, 2);
  // can-replacing, program chunks, is-synth, can-double-replacing, and the editor.
  CHECK_EQ(e->flags, 0x1131);
  CHECK_EQ(e->uniqueID, 0x717A7674);
  CHECK_EQ(e->version, 10800);
  CHECK_EQ(e->initialDelay, 0);
  CHECK(e->ioRatio == 1.0f);
  CHECK(e->object != nullptr);
  CHECK(e->dispatcher && e->process && e->processReplacing && e->processDoubleReplacing);
  CHECK(e->setParameter && e->getParameter);
  // The record's layout as a 64-bit Windows host reads it.
  CHECK_EQ(sizeof(Vst::AEffect), 192u);
  CHECK_EQ(offsetof(Vst::AEffect, flags), 56u);
  CHECK_EQ(offsetof(Vst::AEffect, uniqueID), 112u);
  CHECK_EQ(offsetof(Vst::AEffect, processDoubleReplacing), 128u);
}

void CheckDispatcher(VstHost::PluginInstance& plug)
{
  CHECK_EQ(plug.EffectName(), "Thumpgeist 1.8 FREE");
  CHECK_EQ(plug.VendorString(), "Korvane");
  CHECK_EQ(plug.ProductString(), "Thump::Geist 1.8 FREE VST");
  CHECK_EQ(plug.Dispatch(Vst::effGetVstVersion), 2400);
  CHECK_EQ(plug.Dispatch(Vst::effGetPlugCategory), Vst::kPlugCategorySynth);
  CHECK_EQ(plug.Dispatch(Vst::effIdentify), Vst::FourCC('N', 'v', 'E', 'f'));
  CHECK_EQ(plug.CanDo("receiveVstMidiEvent"), 1);
  CHECK_EQ(plug.CanDo("receiveVstTimeInfo"), 1);
  CHECK_EQ(plug.CanDo("hasCockosExtensions"), intptr_t(0xBEEF0000));
  CHECK_EQ(plug.CanDo("receivevstmidievent"), 0);
  CHECK_EQ(plug.CanDo("offline"), 0);

  CHECK_EQ(plug.ParamName(0), "Oscillator 1 On/Off");
  CHECK_EQ(plug.ParamName(3), "Osc1 Tune");
  CHECK_EQ(plug.ParamName(110), "Bit-Crash Quantize");
  CHECK_EQ(plug.ParamLabel(65), "%");
  CHECK_EQ(plug.ParamDisplay(3), "0.500");
  CHECK_EQ(plug.ParamName(160), "");
  CHECK(plug.GetParameter(3) == 0.5f);
  plug.SetParameter(3, 0.25f);
  CHECK_EQ(plug.ParamDisplay(3), "0.250");
  CHECK_EQ(plug.SetParameterText(3, "0.5"), 1);
  CHECK_EQ(plug.ParamDisplay(3), "0.500");

  intptr_t r = 0;
  CHECK_EQ(plug.DispatchText(Vst::effGetProgramNameIndexed, 0, 0, 0.0f, &r), "Basic Bass Drum 1");
  CHECK_EQ(r, 1);
  CHECK_EQ(plug.ProgramNameIndexed(127), "Basic Sine wave");
  CHECK_EQ(plug.DispatchText(Vst::effGetProgramNameIndexed, 128, 0, 0.0f, &r), "");
  CHECK_EQ(r, 0);
  plug.SetProgram(5);
  CHECK_EQ(plug.GetProgram(), 5);
  plug.SetProgramName("Wine Kick");
  CHECK_EQ(plug.ProgramName(), "Wine Kick");
  CHECK_EQ(plug.ProgramNameIndexed(5), "Wine Kick");
  plug.SetProgram(0);
}

void CheckRendering(VstHost::PluginInstance& plug)
{
  constexpr int kBlock = 256;
  plug.Start(48000.0, kBlock);
  plug.ClearHostCalls();
  plug.NoteOn(17, 36, 110);
  CHECK_EQ(plug.SendEvents(), 1);

  std::vector<std::vector<double>> out;
  for (int block = 0; block < 4; ++block)
  {
    plug.Render(out, kBlock, VstHost::PluginInstance::ProcessMode::Double);
    CHECK(AllFinite(out, kBlock, 4.0));
  }
  // More frames than announced are rendered in pieces, never past a buffer.
  plug.Render(out, 3 * kBlock + 5, VstHost::PluginInstance::ProcessMode::Double);
  CHECK(AllFinite(out, 3 * kBlock + 5, 4.0));

  // Float replacing overwrites whatever the host's buffers held.
  std::vector<float> left(kBlock, 123.0f), right(kBlock, 123.0f);
  float* outputs[2] = {left.data(), right.data()};
  plug.RenderFloat(outputs, kBlock, false);
  bool replaced = true;
  for (int i = 0; i < kBlock; ++i)
    replaced = replaced && std::isfinite(left[size_t(i)]) && left[size_t(i)] != 123.0f &&
               std::isfinite(right[size_t(i)]) && right[size_t(i)] != 123.0f;
  CHECK(replaced);
  plug.Render(out, kBlock, VstHost::PluginInstance::ProcessMode::FloatAccumulating);
  CHECK(AllFinite(out, kBlock, 4.0));
  plug.NoteOff(0, 36);
  plug.Render(out, kBlock, VstHost::PluginInstance::ProcessMode::Double);
  CHECK(AllFinite(out, kBlock, 4.0));
  // Every process call asks the host for MIDI once.
  CHECK_EQ(plug.HostCallCount(Vst::audioMasterWantMidi), 4 + 1 + 1 + 1 + 1);
}

void CheckChunks(VstHost::PluginInstance& plug, const std::string& dll)
{
  plug.SetParameter(3, 0.7f);
  plug.SetProgram(2);
  plug.SetProgramName("Round Trip");
  const std::vector<uint8_t> bank = plug.GetChunk(true);
  const std::vector<uint8_t> program = plug.GetChunk(false);
  CHECK(bank.size() > 8);
  CHECK(program.size() > 8);
  if (bank.size() < 8)
    return;
  int32_t magic = 0;
  std::memcpy(&magic, bank.data(), 4);
  CHECK_EQ(magic, 0x70666674);

  // A second instance from the same DLL takes the bank and hands it back unchanged.
  VstHost::PluginInstance other;
  CHECK(other.Load(dll));
  if (!other.IsLoaded())
    return;
  other.SetTempo(0.0);
  other.Start(44100.0, 128);
  CHECK_EQ(other.SetChunk(bank, true), 1);
  CHECK_EQ(other.ProgramNameIndexed(2), "Round Trip");
  CHECK_EQ(other.GetChunk(true), bank);
  CHECK_EQ(other.SetChunk(program, false), 1);
  CHECK_EQ(other.GetChunk(false), program);

  // Hostile sizes and pointers are refused and change nothing (the program chunk above
  // went into the current slot).
  const std::vector<uint8_t> before = other.GetChunk(true);
  std::vector<uint8_t> copy = bank;
  CHECK_EQ(other.Dispatch(Vst::effSetChunk, 0, -1, copy.data()), 0);
  CHECK_EQ(other.Dispatch(Vst::effSetChunk, 0, intptr_t(copy.size()), nullptr), 0);
  CHECK_EQ(other.GetChunk(true), before);
}

void CheckPlatformLayer()
{
  const std::string path = PlatformModule::FilePath();
  const std::string folder = PlatformModule::Folder();
  const std::string exe = "WineSmokeTest.exe";
  CHECK(path.size() > exe.size() && path.compare(path.size() - exe.size(), exe.size(), exe) == 0);
  CHECK(!folder.empty() && folder.back() == '\\');
  CHECK(path.rfind(folder, 0) == 0);
  CHECK_EQ(PlatformModule::Separator(), '\\');
  CHECK(!PlatformModule::FindPngResource(1));
  CHECK(!PlatformModule::FindPngResource(0));
  CHECK(!PlatformModule::FindPngResource(-5));

  // The critical section is recursive, as the plug-in mutex must be.
  PlatformLock lock;
  lock.Enter();
  lock.Enter();
  lock.Leave();
  lock.Leave();
  PlatformLockGuard guard(CreationLock());
  CHECK(&CreationLock() == &CreationLock());
}

void CheckPngDecoding()
{
  PngTestEncoder::Image im;
  im.width = 2;
  im.height = 2;
  im.colorType = PNG_COLOR_TYPE_RGBA;
  im.rows = {{0x10, 0x20, 0x30, 0x40, 0xFF, 0x00, 0x80, 0xFF}, {1, 2, 3, 4, 5, 6, 7, 8}};
  const std::vector<unsigned char> file = PngTestEncoder::Encode(im);
  CHECK(!file.empty());
  PngImage image;
  CHECK(image.Decode(file.data(), file.size()));
  CHECK_EQ(image.Width(), 2);
  CHECK_EQ(image.Height(), 2);
  if (image.Pixels().size() == 4)
  {
    CHECK_EQ(image.Pixel(0, 0), 0x40102030u);
    CHECK_EQ(image.Pixel(1, 0), 0xFFFF0080u);
    CHECK_EQ(image.Pixel(0, 1), 0x04010203u);
    CHECK_EQ(image.Pixel(1, 1), 0x08050607u);
  }
  PngTestEncoder::Image palette;
  palette.width = 2;
  palette.height = 1;
  palette.colorType = PNG_COLOR_TYPE_PALETTE;
  palette.palette = {{200, 100, 50}, {1, 2, 3}};
  palette.paletteAlpha = {0x7F};
  palette.rows = {{0, 1}};
  const std::vector<unsigned char> paletteFile = PngTestEncoder::Encode(palette);
  PngImage paletteImage;
  CHECK(paletteImage.Decode(paletteFile.data(), paletteFile.size()));
  if (paletteImage.Pixels().size() == 2)
  {
    CHECK_EQ(paletteImage.Pixel(0, 0), 0x7FC86432u);
    CHECK_EQ(paletteImage.Pixel(1, 0), 0xFF010203u);
  }
  std::vector<unsigned char> cut(file.begin(), file.end() - 20);
  CHECK(!image.Decode(cut.data(), cut.size()));
  CHECK_EQ(image.Pixel(1, 1), 0x08050607u);
}
// The editor's images are resources of type "PNG" of the DLL: every listed number is
// there and decodes, and the background has the editor's size.
void CheckDllImages(const std::string& dll)
{
  HMODULE module = LoadLibraryExA(dll.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  CHECK(module != nullptr);
  if (!module)
    return;
  std::stringstream list(TG_PNG_RESOURCE_LIST);
  std::string pair;
  int listed = 0;
  int found = 0;
  while (std::getline(list, pair, ','))
  {
    ++listed;
    const int number = std::stoi(pair.substr(0, pair.find('=')));
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(number), "PNG");
    HGLOBAL handle = info ? LoadResource(module, info) : nullptr;
    const void* data = handle ? LockResource(handle) : nullptr;
    PngImage image;
    const bool ok = data && image.Decode(data, SizeofResource(module, info));
    if (!ok)
      std::printf("image %d is missing or broken\n", number);
    found += ok;
    if (ok && number == 111)
    {
      CHECK_EQ(image.Width(), 1220);
      CHECK_EQ(image.Height(), 835);
    }
  }
  CHECK(listed > 100);
  CHECK_EQ(found, listed);
  CHECK(FindResourceA(module, MAKEINTRESOURCEA(100), "PNG") == nullptr);
  FreeLibrary(module);
}
} // namespace

int main(int argc, char** argv)
{
  const std::string dll = argc > 1 ? argv[1] : PlatformModule::Folder() + "Thumpgeist.dll";
  std::printf("module: %s\n", dll.c_str());

  {
    VstHost::PluginInstance plug;
    // Without a host tempo, applying a kick slot (its LFOs follow the tempo) leaves its
    // stored state as it was, so the bank handed back below compares byte for byte.
    plug.SetTempo(0.0);
    const bool loaded = plug.Load(dll);
    CHECK(loaded);
    if (!loaded)
      std::printf("cannot load: %s\n", plug.Error().c_str());
    else
    {
      CheckEffectRecord(plug);
      CheckDispatcher(plug);
      CheckRendering(plug);
      CheckChunks(plug, dll);
    }
  }
  {
    // Unloaded completely above (the creation lock went with the module); a second
    // load starts afresh.
    VstHost::PluginInstance again;
    CHECK(again.Load(dll));
    if (again.IsLoaded())
      CHECK_EQ(again.NumParams(), 160);
  }
  CheckPlatformLayer();
  CheckPngDecoding();
  CheckDllImages(dll);

  std::printf("%d passed, %d failed\n", gPassed, gFailed);
  std::fflush(stdout);
  return gFailed == 0 && gPassed > 0 ? 0 : 1;
}
