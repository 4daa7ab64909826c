#pragma once
// The instrument's editor: one graphics (the platform's window, or an off-screen one
// for the snapshot tool and the tests) holding the fixed elements and the sections of
// the three pages (synthesizer, scope, About), built once for the plug-in's life. The
// plug-in owns it once attached (AttachEditor); the current page stays while the
// plug-in lives, so the editor reopens on the page last shown.
//
// The sections are built in a fixed order, one builder each, grouped by family in
// OscillatorSections.cpp, EnvelopeSections.cpp, EffectSections.cpp,
// OutputSections.cpp and ScopeAndAboutSections.cpp; every image comes from the
// module-wide bitmap cache, so a second instance decodes nothing.
//
// Called from the host's user-interface thread only.
#include "editor/controls/IKvPageSet.h"
#include "editor/core/IGraphics.h"
#include "plugin/IEditor.h"
#include "synth/ICurveViews.h"

#include <memory>

class IBitmapControl;
class IKnobMultiControl;
class IKvCurve;
class IKvCurve2;
class IKvFeedbackText;
class IKvWaveDrawer;
class ITextControl;
class Thumpgeist;

// The editor is also the plug-in's view of its curve displays (ICurveViews): the
// plug-in finds them when the editor is attached.
class ThumpgeistEditor : public IEditor, public ICurveViews
{
public:
  static constexpr int kWidth = 1220;
  static constexpr int kHeight = 835;
  enum Page
  {
    kNoPage = -1,
    kSynthPage = 0,
    kScopePage = 1,
    kAboutPage = 2,
  };

  // Builds every control into the graphics (which must be kWidth x kHeight).
  ThumpgeistEditor(Thumpgeist* plug, std::unique_ptr<IGraphics> graphics);
  ~ThumpgeistEditor() override;

  IGraphics& Graphics() const { return *graphics; }
  IKvPageSet& Pages() { return pages; }
  // The page a control is listed on, or kNoPage for the always visible ones.
  int PageOf(int controlIdx) const;

  // The displays the instrument's change routing and timers refresh.
  IKvCurve* WaveformDisplay(int osc) const { return waveformDisplays[osc]; }
  IKvCurve* PitchEnvelopeDisplay() const { return pitchDisplay; }
  IKvCurve* VolumeEnvelopeDisplay() const { return volumeDisplay; }
  IKvCurve* FilterEnvelopeDisplay() const { return filterDisplay; }
  IKvCurve2* CurveEditor() const { return curveEditor; }
  IKvCurve2* SinePreview() const { return sinePreview; }
  IKvWaveDrawer* Scope() const { return scope; }
  IKnobMultiControl* LfoRateKnob(int osc) const { return lfoRateKnobs[osc]; }

  // --- The framework's view (forwarded to the graphics) ------------------------------
  int Width() const override { return graphics->Width(); }
  int Height() const override { return graphics->Height(); }
  // Every control serving the parameter shows the value; a link-all or tempo-sync
  // change also greys or restores the LFO rate knobs.
  void SetParameterFromPlug(int paramIdx, double value, bool normalized) override;
  void PrepDraw() override { graphics->PrepDraw(); }
  bool OpenWindow(void* parentWindow) override { return graphics->OpenWindow(parentWindow); }
  void CloseWindow() override { graphics->CloseWindow(); }
  bool IsWindowOpen() const override { return graphics->IsWindowOpen(); }
  void Idle() override { graphics->Idle(); }

  // --- The curve views as the plug-in tells them (ThumpgeistCurveViews.cpp) ---------
  // Under the plug-in mutex, from the thread that changed what they show.
  void RequestRefresh(int display) override;
  void RedrawCurveViews(int emphasis) override;
  void LoadDrawnPoints(const double* curve, int count) override;
  bool TakeCurveEdit() override;
  double SampleDrawnCurve(double x) const override;

private:
  // A rate knob is greyed (drawn at 0.25 opacity, taking no clicks) while its own LFO
  // follows the tempo, or while some oscillator is both linked and tempo-synchronised.
  void UpdateLfoRateGreying();

  // --- The fixed elements and the sections, in the order they are built -------------
  // The background, the header plate, the tagline and platform images.
  void BuildFixedElements();
  void BuildReservedParameters(); // 1: no controls
  void BuildTabButtons();         // 2
  void BuildPitchEnvelope();      // 3
  void BuildOscillator(int osc);  // 4 to 6
  void BuildVolumeEnvelope();     // 7
  void BuildFilterEnvelope();     // 8
  void BuildUnison();             // 9
  void BuildFm();                 // 10
  void BuildGlobalTranspose();    // 11
  void BuildSubOscillator();      // 12
  void BuildPitchBend();          // 13
  void BuildMainFilter();         // 14
  void BuildModulationEffects();  // 15
  void BuildDistortion();         // 16
  void BuildEqualizer();          // 17
  void BuildTempoDelay();         // 18
  void BuildOutput();             // 19
  void BuildPrograms();           // 20
  void BuildLevelMeter();         // 21
  void BuildAboutPage();          // 22
  void BuildScopePage();          // 23
  // The curve displays show the plug-in's arrays.
  void ConnectCurveDisplays();

  // --- What the builders share ------------------------------------------------------
  // Attaches the control and lists it on the page being built.
  template <class Control>
  Control* Add(Control* control)
  {
    pages.AddToPage(buildPage, graphics->AttachControl(control));
    return control;
  }
  // An image from the cache: frames 0 reads a knob strip's frames from its square
  // frames stacked; otherwise the given count.
  IBitmap Image(int number, const char* name, int frames = 1);
  // An image drawn at (x, y) as it is.
  IBitmapControl* Picture(int x, int y, const IBitmap& image);
  // A text in the section's label or value style.
  ITextControl* Label(const IRect& area, const char* str);
  ITextControl* Text(const IRect& area, const char* str, const IText& style);
  // A knob centred on cx with its top at y, optionally with a label above it.
  IKnobMultiControl* Knob(int cx, int y, int paramIdx, const IBitmap& strip,
                          const char* label = nullptr, int labelHalfWidth = 30);
  // A value text under a knob (kind as IKvCaptionControl), followed by the knob.
  void Value(IKnobMultiControl* knob, int kind, double scale = 1.0, double offset = 0.0,
             const char* unit = "", int halfWidth = 30);
  // The effect chain's text for the knob's parameter under it.
  IKvFeedbackText* FeedbackValue(IKnobMultiControl* knob, const char* initial, int halfWidth = 30);

  Thumpgeist* plug;
  // Declared before the graphics, so the controls (which point at the pages) go first.
  IKvPageSet pages;
  std::unique_ptr<IGraphics> graphics;
  int buildPage = kNoPage;
  IText labelStyle;
  IText valueStyle;
  IText menuStyle;
  IText headingStyle;

  IKvCurve* waveformDisplays[3] = {};
  IKvCurve* pitchDisplay = nullptr;
  IKvCurve* volumeDisplay = nullptr;
  IKvCurve* filterDisplay = nullptr;
  IKvCurve2* curveEditor = nullptr;
  IKvCurve2* sinePreview = nullptr;
  IKvWaveDrawer* scope = nullptr;
  IKnobMultiControl* lfoRateKnobs[3] = {};
};
