#pragma once
// The distortion section's two curve views: the curve editor (the distortion's transfer
// curve with the dynamic shaper's, drawn on with the mouse) and the sine preview (one
// sine period through each). Trace A is the distortion's, trace B the shaper's; the
// emphasised one is drawn bright on top of the other, which stays dim.
//
// The left button draws a new curve: each pixel column holds one drawn point, -1 at the
// top edge and +1 at the bottom (the curve upside down), starting as the identity. The
// plug-in turns the points into both distortion curves: from this control's idle tick
// while the audio is stopped, or at the start of the next block while it runs. The right
// button opens the curve menu: the curve operations and the import and export of curve
// files.
//
// User-interface thread, except where noted: while the audio runs, the audio thread
// reads the drawn points (SampleDrawnCurve) and takes the edit mark, and the plug-in
// reloads the points, sets the emphasis and asks for redraws from the thread that
// changed the curve. None of these lock; a curve being drawn may be applied half
// updated, and the next tick or block applies the rest.
#include "editor/controls/IControl.h"
#include "editor/core/IPopupMenu.h"

#include <atomic>
#include <memory>
#include <string>

class Thumpgeist;

class IKvCurve2 : public IControl
{
public:
  // The items of the curve menu, in order.
  enum MenuItem
  {
    kRestoreCurve = 0,
    kSmoothCurve,
    kAddNoise,
    kSmoothZeroCrossing,
    kResetLinear,
    kSeparator,
    kImportCurve,
    kExportCurve,
    kMenuItems
  };

  IKvCurve2(Thumpgeist* owner, const IRect& area, const double* traceA, const double* traceB,
            int count);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseDrag(int x, int y, int dx, int dy, const IMouseMod& mod) override;
  void Paint(IGraphics* g) override;
  // Applies a drawing while the audio is stopped, and redraws when asked to.
  void IdleTick() override;

  // The sine preview only shows; the curve editor takes drawing (at construction).
  void SetDrawable(bool on) { drawable = on; }
  void SetFrame(bool on) { frame = on; }
  void SetClampValues(bool on) { clampValues = on; }
  int Count() const { return n; }
  int Columns() const { return w; }
  // The curve operation code a menu item sends, or -1 for the others.
  static int OperationOf(int item);
  static const char* MenuText(int item);

  // --- Any thread (the plug-in, under its mutex) -------------------------------------
  // The drawn line at x in 0..1 (clamped): a cubic through the column points around
  // x, clamped to -1..+1.
  double SampleDrawnCurve(double x) const;
  double DrawnPoint(int column) const;
  // Column i takes -curve[floor(count * i / w)].
  void LoadDrawnPoints(const double* curve, int count);
  bool CurveEdited() const { return curveEdited.load(std::memory_order_relaxed); }
  bool TakeCurveEdit() { return curveEdited.exchange(false, std::memory_order_relaxed); }
  // 0 puts trace A (the distortion's) on top, 1 trace B (the shaper's).
  void SetEmphasis(int mode) { emphasis.store(mode, std::memory_order_relaxed); }
  int Emphasis() const { return emphasis.load(std::memory_order_relaxed); }
  void RequestRefresh() { refresh.store(true, std::memory_order_relaxed); }
  bool RefreshRequested() const { return refresh.load(std::memory_order_relaxed); }

private:
  void SetPoint(int column, double v);
  // Draws the point under the mouse (and its neighbours, and the columns a fast drag
  // passed, when dragging).
  void Draw(int x, int y, int dx, bool dragging);
  void RunMenu();
  void ChooseMenuItem(int item);
  void PaintTrace(IGraphics* g, const double* trace, bool emphasised) const;

  Thumpgeist* synth;
  const double* traces[2];
  int n;
  int w;
  double scale;
  std::unique_ptr<std::atomic<double>[]> points;
  std::atomic<bool> curveEdited = false;
  std::atomic<int> emphasis = 0;
  std::atomic<bool> refresh = false;
  int chosenItem = -1;
  IPopupMenu menu;
  // Where the file dialogs start; empty starts them on the desktop.
  std::string folder;
  bool drawable = true;
  bool frame = false;
  bool clampValues = true;
};
