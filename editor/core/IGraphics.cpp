#include "editor/core/IGraphics.h"

#include "editor/controls/IBitmapControl.h"
#include "editor/controls/IControl.h"
#include "editor/core/BitmapCache.h"
#include "editor/raster/LICE_Draw.h"
#include "editor/raster/LICE_MemBitmap.h"
#include "editor/raster/LICE_SysBitmap.h"
#include "editor/raster/PngImage.h"
#include "editor/text/FontCache.h"
#include "editor/text/LICE_CachedFont.h"
#include "plugin/IPlugBase.h"
#include "plugin/platform/PlatformModule.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace
{
const IBlend kDefaultBlend;

bool UsesSourceAlpha(const IBlend* blend) { return !blend || blend->kind != BlendKind::Copy; }
float WeightOf(const IBlend* blend) { return blend ? blend->weight : 1.0f; }

// Whether the name's extension (after its last dot) is "png", in any case.
bool IsPngName(const char* name)
{
  const char* dot = name ? std::strrchr(name, '.') : nullptr;
  return dot && std::strlen(dot + 1) == 3 && (dot[1] | 0x20) == 'p' && (dot[2] | 0x20) == 'n' &&
         (dot[3] | 0x20) == 'g';
}
} // namespace

IGraphics::IGraphics(IPlugBase* owner, int w, int h, int framesPerSecond)
    : plug(owner), width(w), height(h), fps(framesPerSecond), drawRect(0, 0, w, h)
{
}

IGraphics::~IGraphics()
{
  for (auto it = controls.rbegin(); it != controls.rend(); ++it)
    delete *it;
  controls.clear();
}

// --- Surfaces ------------------------------------------------------------------------

void IGraphics::PrepDraw()
{
  drawBitmap = std::make_unique<LICE_SysBitmap>(width, height);
  tmpBitmap = std::make_unique<LICE_MemBitmap>();
  drawRect = IRect(0, 0, width, height);
}

LICE_IBitmap* IGraphics::GetDrawBitmap() const { return drawBitmap.get(); }

void IGraphics::Resize(int w, int h)
{
  if (w <= 0 || h <= 0)
    return;
  drawBitmap.reset();
  tmpBitmap.reset();
  ReleaseMouseCapture();
  width = w;
  height = h;
  PrepDraw();
  SetAllControlsDirty();
  if (plug)
    plug->ResizeEditor();
}

void IGraphics::PluginFilePath(std::string& path) { path = PlatformModule::Folder(); }

// --- Controls ------------------------------------------------------------------------

int IGraphics::AttachControl(IControl* control)
{
  if (!control)
    return -1;
  control->SetGUI(this);
  controls.push_back(control);
  return NControls() - 1;
}

void IGraphics::AttachBackground(int number, const char* name)
{
  const IBitmap image = LoadBitmap(number, name, 1);
  auto* background = new IBitmapControl(plug, IRect(0, 0, image.w, image.h), -1, image);
  background->SetGUI(this);
  controls.insert(controls.begin(), background);
}

IControl* IGraphics::GetControl(int idx) const
{
  if (idx < 0 || idx >= NControls())
    return nullptr;
  return controls[std::size_t(idx)];
}

void IGraphics::ApplyParameterToControls(int paramIdx, double value, bool normalized)
{
  if (!normalized)
  {
    const IParameter* param = plug ? plug->GetParam(paramIdx) : nullptr;
    if (!param)
      return;
    value = param->GetNormalized(param->Clamp(value));
  }
  if (!std::isfinite(value))
    return;
  for (IControl* c : controls)
  {
    if (c->GetParamIdx() == paramIdx)
      c->ApplyValueFromHost(value);
    const int position = c->AuxParamPosition(paramIdx);
    if (position >= 0)
      c->ApplyAuxValueFromHost(position, value);
  }
}

void IGraphics::SetAllControlsDirty()
{
  for (IControl* c : controls)
    c->MarkDirty(false);
}

void IGraphics::PromptForValue(IControl* control, int paramIdx, const IRect& area)
{
  const IParameter* param = plug ? plug->GetParam(paramIdx) : nullptr;
  if (!control || !param)
    return;
  if (param->NDisplayTexts() == 0)
  {
    double v = param->Value();
    if (param->NegateDisplay())
      v = -v;
    char current[64];
    if (param->DisplayPrecision() > 0)
      std::snprintf(current, sizeof(current), "%.*f", param->DisplayPrecision(), v);
    else
      std::snprintf(current, sizeof(current), "%d", IParameter::TruncatedInt(v));
    StartTextEntry(control, control->GetText(), area, current, paramIdx);
    return;
  }
  IPopupMenu menu;
  for (int i = 0; i < param->NDisplayTexts(); ++i)
  {
    const IParameter::DisplayText* entry = param->GetDisplayTextEntry(i);
    menu.AddItem(entry->text, entry->value == param->Int() ? IPopupMenu::kChecked : 0);
  }
  IPopupMenu* chosen = RunPopupMenu(&menu, area);
  if (!chosen)
    return;
  const IParameter::DisplayText* entry = param->GetDisplayTextEntry(chosen->GetChosenItemIdx());
  if (!entry)
    return;
  control->SetValueFromUserInput(param->GetNormalized(double(entry->value)));
}

bool IGraphics::TextEntryAccepts(int paramIdx, char c) const
{
  const IParameter* param = plug && paramIdx >= 0 ? plug->GetParam(paramIdx) : nullptr;
  if (!param || c == '\b')
    return true;
  if ((c >= '0' && c <= '9') || c == '-' || c == '+')
    return true;
  return c == '.' && param->Type() == IParameter::kTypeDouble;
}

void IGraphics::CommitTextEntry(IControl* control, int paramIdx, const char* entered)
{
  if (!control || !entered)
    return;
  const IParameter* param = plug ? plug->GetParam(paramIdx) : nullptr;
  if (!param)
  {
    control->AcceptEnteredText(entered);
    return;
  }
  // At most 32 characters are read from the field.
  char text[33];
  std::strncpy(text, entered, 32);
  text[32] = '\0';
  double v = 0.0;
  const IParameter::EParamType type = param->Type();
  if (type == IParameter::kTypeEnum || type == IParameter::kTypeBool)
  {
    if (!param->MapDisplayText(text, &v))
      v = 0.0;
  }
  else
  {
    char* end = nullptr;
    v = std::strtod(text, &end);
    // Text that is no number, or not a finite one, changes nothing.
    if (end == text || !std::isfinite(v))
      return;
    if (param->NegateDisplay())
      v = -v;
  }
  const double normalized = param->GetNormalized(param->Clamp(v));
  if (normalized != control->GetValue())
    control->SetValueFromUserInput(normalized);
}

// --- Bitmaps -------------------------------------------------------------------------

LICE_IBitmap* IGraphics::LoadPngResource(int number, const char* name)
{
  if (!IsPngName(name))
    return nullptr;
  const PlatformModule::Resource resource = PlatformModule::FindPngResource(number);
  if (!resource)
    return nullptr;
  PngImage image;
  if (!image.Decode(resource.data, resource.size))
    return nullptr;
  auto bitmap = std::make_unique<LICE_MemBitmap>(image.Width(), image.Height());
  if (!bitmap->GetBits())
    return nullptr;
  for (int y = 0; y < image.Height(); ++y)
    std::memcpy(bitmap->GetBits() + std::ptrdiff_t(y) * bitmap->GetRowSpan(),
                image.Pixels().data() + std::ptrdiff_t(y) * image.Width(),
                std::size_t(image.Width()) * sizeof(std::uint32_t));
  return bitmap.release();
}

IBitmap IGraphics::LoadBitmap(int number, const char* name, int frames)
{
  LICE_IBitmap* bitmap = BitmapCache::Find(number);
  if (!bitmap)
    bitmap = BitmapCache::Add(number, LoadPngResource(number, name));
  IBitmap handle;
  handle.bitmap = bitmap;
  handle.w = bitmap ? bitmap->GetWidth() : 0;
  handle.h = bitmap ? bitmap->GetHeight() : 0;
  handle.n = frames > 0 ? frames : 1;
  return handle;
}

// --- Drawing -------------------------------------------------------------------------

int IGraphics::FrameOffset(const IBitmap& image, int frame)
{
  if (image.n < 2 || frame < 2)
    return 0;
  const int size = image.framesAreHorizontal ? image.w : image.h;
  return int(std::floor(double(size) * (frame - 1) / image.n + 0.5));
}

bool IGraphics::DrawBitmap(const IBitmap& image, const IRect& dest, int frame, const IBlend* blend)
{
  if (!image.bitmap)
    return false;
  const int offset = FrameOffset(image, frame);
  return image.framesAreHorizontal ? Blit(image.bitmap, dest, offset, 0, blend)
                                   : Blit(image.bitmap, dest, 0, offset, blend);
}

bool IGraphics::Blit(LICE_IBitmap* src, const IRect& dest, int srcX, int srcY, const IBlend* blend)
{
  if (!drawBitmap || !src)
    return false;
  const IBlend& b = blend ? *blend : kDefaultBlend;
  LICE_Draw::Blit(drawBitmap.get(), src, dest.left, dest.top, srcX, srcY, dest.W(), dest.H(),
                  drawRect, b.weight, b.kind);
  return true;
}

bool IGraphics::DrawRect(const IColor& color, const IRect& area)
{
  if (!drawBitmap || area.Empty())
    return false;
  const IBlend plain(BlendKind::Copy, 1.0f);
  const float r = float(area.right - 1);
  const float b = float(area.bottom - 1);
  const float l = float(area.left);
  const float t = float(area.top);
  DrawLine(color, l, t, r, t, &plain);
  DrawLine(color, r, t, r, b, &plain);
  DrawLine(color, r, b, l, b, &plain);
  DrawLine(color, l, b, l, t, &plain);
  return true;
}

bool IGraphics::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                         const IBlend* blend, bool antiAlias)
{
  if (!drawBitmap)
    return false;
  LICE_Draw::Line(drawBitmap.get(), int(std::floor(x1 + 0.5f)), int(std::floor(y1 + 0.5f)),
                  int(std::floor(x2 + 0.5f)), int(std::floor(y2 + 0.5f)), color.Pixel(),
                  WeightOf(blend), UsesSourceAlpha(blend), drawRect);
  return true;
}

bool IGraphics::FillRect(const IColor& color, const IRect& area, const IBlend* blend)
{
  if (!drawBitmap)
    return false;
  LICE_Draw::FillRect(drawBitmap.get(), area.left, area.top, area.W(), area.H(), color.Pixel(),
                      WeightOf(blend), UsesSourceAlpha(blend), drawRect);
  return true;
}

bool IGraphics::FillTriangle(const IColor& color, int x1, int y1, int x2, int y2, int x3, int y3,
                             const IBlend* blend)
{
  if (!drawBitmap)
    return false;
  const int xs[3] = {x1, x2, x3};
  const int ys[3] = {y1, y2, y3};
  LICE_Draw::FillTriangle(drawBitmap.get(), xs, ys, color.Pixel(), WeightOf(blend),
                          UsesSourceAlpha(blend), drawRect);
  return true;
}

bool IGraphics::DrawStyledText(IText& style, const char* str, const IRect& area)
{
  if (!str || !*str)
    return true;
  LICE_CachedFont* font = FontCache::Find(style);
  style.cached = font;
  if (!font || !drawBitmap)
    return false;
  font->SetTextColor(style.color.Pixel());
  IRect box = area;
  font->DrawText(drawBitmap.get(), str, box, style.align, false, 1.0f, drawRect);
  return true;
}

bool IGraphics::MeasureText(IText& style, const char* str, IRect& area)
{
  if (!str || !*str)
  {
    area = IRect(area.left, area.top, area.left, area.top);
    return true;
  }
  LICE_CachedFont* font = FontCache::Find(style);
  style.cached = font;
  if (!font)
    return false;
  font->DrawText(nullptr, str, area, style.align, true, 1.0f, drawRect);
  return true;
}

// --- Redraw cycle --------------------------------------------------------------------

bool IGraphics::CollectDirty(IRect& area)
{
  bool dirty = false;
  for (IControl* c : controls)
  {
    if (c->NeedsPaint())
    {
      area = area.Union(c->GetRect());
      dirty = true;
    }
  }
  if (dirty)
  {
    idleTicks = 0;
    return true;
  }
  // A tick without anything to draw: every control gets its idle tick.
  if (++idleTicks > 0)
  {
    for (IControl* c : controls)
      c->IdleTick();
    idleTicks = 0;
  }
  return false;
}

void IGraphics::Draw(const IRect& area)
{
  if (!drawBitmap)
    PrepDraw();
  drawRect = area.Intersect(IRect(0, 0, width, height));
  for (IControl* c : controls)
  {
    const IRect& r = c->GetRect();
    if (!drawRect.Empty() && !c->IsHidden() && !r.Empty() && r.Intersects(drawRect))
      c->Paint(this);
  }
  for (IControl* c : controls)
    c->MarkClean();
  PaintToScreen(drawRect);
}

// --- Events --------------------------------------------------------------------------

int IGraphics::GetMouseControlIdx(int x, int y, bool hover) const
{
  for (int i = NControls() - 1; i >= 0; --i)
  {
    IControl* c = controls[std::size_t(i)];
    if (c->IsHidden())
      continue;
    if (c->IsGreyed() && !(hover && c->GetMOWhenGreyed()))
      continue;
    if (c->HitTest(x, y))
      return i;
  }
  return -1;
}

void IGraphics::BeginEdit(IControl* control)
{
  EndEdit();
  if (plug && control->GetParamIdx() >= 0)
  {
    editParam = control->GetParamIdx();
    plug->BeginParameterEdit(editParam);
  }
}

void IGraphics::EndEdit()
{
  if (plug && editParam >= 0)
    plug->EndParameterEdit(editParam);
  editParam = -1;
}

void IGraphics::ReleaseMouseCapture()
{
  mouseCapture = -1;
  mouseX = mouseY = -1;
}

void IGraphics::OnMouseDown(int x, int y, const IMouseMod& mod)
{
  const int idx = GetMouseControlIdx(x, y);
  if (idx < 0)
    return;
  IControl* c = controls[std::size_t(idx)];
  mouseCapture = idx;
  mouseX = x;
  mouseY = y;
  // The host hears of the gesture before the first change it brings.
  BeginEdit(c);
  c->MouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(int x, int y, const IMouseMod& mod)
{
  const int idx = mouseCapture >= 0 ? mouseCapture : GetMouseControlIdx(x, y);
  ReleaseMouseCapture();
  if (IControl* c = GetControl(idx))
    c->MouseUp(x, y, mod);
  EndEdit();
}

void IGraphics::OnMouseDrag(int x, int y, const IMouseMod& mod)
{
  IControl* c = GetControl(mouseCapture);
  if (!c || (x == mouseX && y == mouseY))
    return;
  const int dx = x - mouseX;
  const int dy = y - mouseY;
  mouseX = x;
  mouseY = y;
  c->MouseDrag(x, y, dx, dy, mod);
}

bool IGraphics::OnMouseDblClick(int x, int y, const IMouseMod& mod)
{
  const int idx = GetMouseControlIdx(x, y);
  IControl* c = GetControl(idx);
  if (!c)
    return false;
  if (c->GetDblAsSingleClick())
  {
    mouseCapture = idx;
    mouseX = x;
    mouseY = y;
    BeginEdit(c);
    c->MouseDown(x, y, mod);
    return true;
  }
  BeginEdit(c);
  c->MouseDoubleClick(x, y, mod);
  EndEdit();
  return false;
}

void IGraphics::OnMouseWheel(int x, int y, const IMouseMod& mod, int notches)
{
  const int idx = mouseCapture >= 0 ? mouseCapture : GetMouseControlIdx(x, y);
  if (IControl* c = GetControl(idx))
    c->MouseWheel(x, y, mod, notches);
}

bool IGraphics::OnMouseOver(int x, int y, const IMouseMod& mod)
{
  if (!handleMouseOver)
    return false;
  const int idx = GetMouseControlIdx(x, y, true);
  if (idx != mouseOver)
  {
    if (IControl* previous = GetControl(mouseOver))
      previous->MouseOut();
    mouseOver = idx;
  }
  if (IControl* c = GetControl(idx))
    c->MouseOver(x, y, mod);
  return idx >= 0;
}

void IGraphics::OnMouseOut()
{
  for (IControl* c : controls)
    c->MouseOut();
  mouseOver = -1;
}

bool IGraphics::OnKeyDown(int x, int y, int key)
{
  const int idx = GetMouseControlIdx(x, y);
  // The background never takes keys.
  if (idx > 0)
    return controls[std::size_t(idx)]->KeyDown(x, y, key);
  if (IControl* catcher = GetControl(keyCatcher))
    return catcher->KeyDown(x, y, key);
  return false;
}
