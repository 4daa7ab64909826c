// The host's editor idle call (effEditIdle) does the editor's work outside the plug-in
// mutex, as a window's timer does: a window without a timer of its own handles its events,
// redraws and a popup menu's own loop there, and the audio thread keeps rendering
// meanwhile instead of waiting for the editor.
#include "plugin/IEditor.h"
#include "synth/Thumpgeist.h"
#include "vst/Vst24.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;

intptr_t VSTCALLBACK Callback(Vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
  return opcode == Vst::audioMasterVersion ? Vst::kVstVersion : 0;
}

// An editor whose idle call lasts until another thread rendered a block (or 2 s passed).
class RenderingEditor : public IEditor
{
public:
  int Width() const override { return 100; }
  int Height() const override { return 50; }
  void SetParameterFromPlug(int paramIdx, double value, bool normalized) override {}
  void PrepDraw() override {}
  bool OpenWindow(void* parentWindow) override { return open = true; }
  void CloseWindow() override { open = false; }
  bool IsWindowOpen() const override { return open; }
  void Idle() override
  {
    audio = std::thread(
        [this]
        {
          double left[64];
          double right[64];
          double* outs[] = {left, right};
          effect->processDoubleReplacing(effect, nullptr, outs, 64);
          rendered = true;
        });
    const auto until = Clock::now() + std::chrono::seconds(2);
    while (!rendered && Clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    renderedDuringIdle = rendered.load();
  }

  Vst::AEffect* effect = nullptr;
  std::thread audio;
  std::atomic<bool> rendered{false};
  bool renderedDuringIdle = false;
  bool open = false;
};
} // namespace

TEST(EditorIdle, AudioRendersWhileTheEditorIdles)
{
  auto* plug = new Thumpgeist(&Callback);
  auto* editor = new RenderingEditor;
  plug->AttachEditor(editor); // the plug-in owns it
  Vst::AEffect* effect = plug->GetAEffect();
  editor->effect = effect;
  effect->dispatcher(effect, Vst::effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, Vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect->dispatcher(effect, Vst::effSetBlockSize, 0, 64, nullptr, 0.0f);
  effect->dispatcher(effect, Vst::effMainsChanged, 0, 1, nullptr, 0.0f);
  int parent = 0;
  ASSERT_EQ(effect->dispatcher(effect, Vst::effEditOpen, 0, 0, &parent, 0.0f), 1);
  EXPECT_EQ(effect->dispatcher(effect, Vst::effEditIdle, 0, 0, nullptr, 0.0f), 0);
  editor->audio.join();
  EXPECT_TRUE(editor->renderedDuringIdle);
  EXPECT_EQ(effect->dispatcher(effect, Vst::effEditClose, 0, 0, nullptr, 0.0f), 1);
  effect->dispatcher(effect, Vst::effClose, 0, 0, nullptr, 0.0f);
}
