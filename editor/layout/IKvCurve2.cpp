#include "editor/layout/IKvCurve2.h"

#include "editor/controls/IFileSelectorControl.h"
#include "editor/core/IGraphics.h"
#include "editor/layout/IKvCurve.h"
#include "synth/Thumpgeist.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
const IColor kFrameColour(255, 90, 94, 102);

struct MenuEntry
{
  const char* text;
  int operation;
};
// The curve menu's texts and the curve operation codes they send.
constexpr MenuEntry kMenu[IKvCurve2::kMenuItems] = {
    {"Restore Curve", 0},
    {"Smooth Curve", 1},
    {"Add Noise", 3},
    {"Smooth Zero-Crossing", 8},
    {"Reset (Restore Linear)", 12},
    {"", -1}, // separator
    {"Import Curve from CSV", -1},
    {"Export Curve to CSV", -1},
};
constexpr const char* kCurveFileExtensions = "csv";

// The grey of point i of n: bright and brightest mid-way when emphasised, dim otherwise.
int Grey(int i, int n, bool emphasised)
{
  const double s = std::sin(std::numbers::pi * i / n);
  return emphasised ? int(92.0 + 163.0 * s) : int(78.0 * s);
}
} // namespace

IKvCurve2::IKvCurve2(Thumpgeist* owner, const IRect& area, const double* traceA,
                     const double* traceB, int count)
  : IControl(owner, area), synth(owner), traces{traceA, traceB}, n(count), w(area.W()),
    scale(std::floor((area.bottom - area.top) / 2.0)),
    points(std::make_unique<std::atomic<double>[]>(size_t(std::max(area.W(), 0))))
{
  // The identity curve, upside down.
  for (int i = 0; i < w; ++i)
    points[size_t(i)].store(1.0 - 2.0 * i / w, std::memory_order_relaxed);
  for (int i = 0; i < kMenuItems; ++i)
  {
    if (i == kSeparator)
      menu.AddSeparator();
    else
      menu.AddItem(kMenu[i].text);
  }
}

int IKvCurve2::OperationOf(int item)
{
  return item >= 0 && item < kMenuItems ? kMenu[item].operation : -1;
}

const char* IKvCurve2::MenuText(int item)
{
  return item >= 0 && item < kMenuItems ? kMenu[item].text : "";
}

// --- The drawn points (any thread) ----------------------------------------------------

double IKvCurve2::DrawnPoint(int column) const
{
  return column >= 0 && column < w ? points[size_t(column)].load(std::memory_order_relaxed) : 0.0;
}

void IKvCurve2::SetPoint(int column, double v)
{
  if (column >= 0 && column < w)
    points[size_t(column)].store(v, std::memory_order_relaxed);
}

double IKvCurve2::SampleDrawnCurve(double x) const
{
  const int m = w;
  if (m <= 0)
    return 0.0;
  x = std::isnan(x) ? 0.0 : std::clamp(x, 0.0, 1.0);
  const int k = std::min(int(std::floor(x * m)), m - 1);
  const double step = 1.0 / m;
  const double t = std::fmod(x, step) / step;
  const double p0 = DrawnPoint(std::max(k - 1, 0));
  const double p1 = DrawnPoint(k);
  const double p2 = DrawnPoint(std::min(k + 1, m - 1));
  const double p3 = DrawnPoint(std::min(k + 2, m - 1));
  double result = p1;
  if (t == 1.0)
    result = p2;
  else if (t != 0.0)
  {
    const double a0 = p3 - p2 - p0 + p1;
    const double a1 = p0 - p1 - a0;
    const double a2 = p2 - p0;
    result = ((a0 * t + a1) * t + a2) * t + p1;
  }
  return std::clamp(result, -1.0, 1.0);
}

void IKvCurve2::LoadDrawnPoints(const double* curve, int count)
{
  if (!curve || count <= 0)
    return;
  for (int i = 0; i < w; ++i)
  {
    const double x = std::clamp(double(i) / w, 0.0, 1.0);
    const int index = std::min(int(std::floor(count * x)), count - 1);
    SetPoint(i, -curve[index]);
  }
}

// --- Drawing with the mouse -----------------------------------------------------------

void IKvCurve2::MouseDown(int x, int y, const IMouseMod& mod)
{
  if (mod.right)
  {
    RunMenu();
    return;
  }
  if (!drawable)
    return;
  SetEmphasis(0);
  Draw(x, y, 0, false);
}

void IKvCurve2::MouseDrag(int x, int y, int dx, int dy, const IMouseMod& mod)
{
  if (mod.right || !drawable)
    return;
  Draw(x, y, dx, true);
}

void IKvCurve2::Draw(int x, int y, int dx, bool dragging)
{
  const int c = x - rect.left;
  if (c < 0 || c >= w || rect.H() <= 0)
    return;
  const double v = ((double(y - rect.top) / rect.H()) - 0.5) * 2.0;
  SetPoint(c, v);
  if (dragging)
  {
    // The neighbours lean towards the new point.
    if (c - 1 >= 0)
      SetPoint(c - 1, DrawnPoint(c - 1) * 0.3 + v * 0.7);
    if (c + 1 < w)
      SetPoint(c + 1, DrawnPoint(c + 1) * 0.3 + v * 0.7);
    // A fast drag fills as many columns as the pointer moved.
    if (dx > 1)
      for (int i = c + 1; i <= c + dx; ++i)
        SetPoint(i, v);
    else if (dx < -1)
      for (int i = c - 1; i >= c + dx; --i)
        SetPoint(i, v);
  }
  curveEdited.store(true, std::memory_order_relaxed);
  // While the audio runs the next block applies the drawing; the view shows it then.
  if (synth && synth->IsProcessingActive())
    MarkDirty(false);
}

// --- The curve menu -------------------------------------------------------------------

void IKvCurve2::RunMenu()
{
  if (!graphics)
    return;
  menu.SetChosenItemIdx(-1);
  IPopupMenu* chosen = graphics->RunPopupMenu(&menu, rect);
  chosenItem = chosen == &menu ? menu.GetChosenItemIdx() : -1;
  if (chosenItem >= 0)
    ChooseMenuItem(chosenItem);
}

void IKvCurve2::ChooseMenuItem(int item)
{
  if (!synth)
    return;
  const int operation = OperationOf(item);
  if (operation >= 0)
  {
    synth->SetDistortionCurveOperation(operation);
    return;
  }
  if (item != kImportCurve && item != kExportCurve)
    return;
  std::string file;
  const FileAction action = item == kImportCurve ? FileAction::Open : FileAction::Save;
  graphics->AskForFile(file, action, folder, kCurveFileExtensions);
  if (file.empty())
    return;
  if (item == kImportCurve)
    synth->ImportCurveFile(file.c_str());
  else
    synth->ExportCurveFile(file.c_str());
}

// --- Painting and the timer -----------------------------------------------------------

void IKvCurve2::PaintTrace(IGraphics* g, const double* trace, bool emphasised) const
{
  IKvCurve::DrawPolyline(g, rect, trace, n, scale, clampValues,
                         [this, emphasised](int i)
                         {
                           const int grey = Grey(i, n, emphasised);
                           return IColor(255, grey, grey, grey);
                         });
}

void IKvCurve2::Paint(IGraphics* g)
{
  const bool shaperOnTop = Emphasis() == 1;
  PaintTrace(g, traces[shaperOnTop ? 0 : 1], false);
  PaintTrace(g, traces[shaperOnTop ? 1 : 0], true);
  if (frame)
    g->DrawRect(kFrameColour, rect);
}

void IKvCurve2::IdleTick()
{
  if (CurveEdited() && synth && !synth->IsProcessingActive())
    synth->ApplyDrawnCurve();
  if (refresh.exchange(false, std::memory_order_relaxed))
    MarkDirty(false);
}
