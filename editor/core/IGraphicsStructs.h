#pragma once
// The small records every drawing call and control shares: rectangles, colours,
// blends, text styles, bitmap handles and the mouse modifiers.
#include <algorithm>
#include <cstdint>
#include <cstdio>

class LICE_IBitmap;
class LICE_IFont;

// Left and top inclusive, right and bottom exclusive; all zero is empty.
struct IRect
{
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  IRect() = default;
  IRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

  int W() const { return right - left; }
  int H() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool Intersects(const IRect& other) const
  {
    return !Empty() && !other.Empty() && left < other.right && other.left < right &&
           top < other.bottom && other.top < bottom;
  }
  IRect Intersect(const IRect& other) const
  {
    IRect out(std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
              std::min(bottom, other.bottom));
    return out.Empty() ? IRect() : out;
  }
  // The smallest rectangle holding both; an empty side takes the other.
  IRect Union(const IRect& other) const
  {
    if (Empty())
      return other;
    if (other.Empty())
      return *this;
    return IRect(std::min(left, other.left), std::min(top, other.top),
                 std::max(right, other.right), std::max(bottom, other.bottom));
  }
  int MidX() const { return (left + right) / 2; }
  int MidY() const { return (top + bottom) / 2; }
  bool operator==(const IRect& other) const
  {
    return left == other.left && top == other.top && right == other.right &&
           bottom == other.bottom;
  }
};

struct IColor
{
  int a = 255;
  int r = 0;
  int g = 0;
  int b = 0;

  IColor() = default;
  IColor(int alpha, int red, int green, int blue) : a(alpha), r(red), g(green), b(blue) {}
  // The pixel word: blue, green, red, alpha bytes in memory.
  std::uint32_t Pixel() const
  {
    auto c = [](int v) { return std::uint32_t(std::clamp(v, 0, 255)); };
    return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
  }
  bool operator==(const IColor& other) const
  {
    return a == other.a && r == other.r && g == other.g && b == other.b;
  }
};

// None copies with the source's alpha (the default), Copy copies plainly, Add adds
// with the source's alpha, ColorDodge dodges with the source's alpha; the weight is
// the opacity (1 = opaque).
enum class BlendKind
{
  None,
  Copy,
  Add,
  ColorDodge
};

struct IBlend
{
  BlendKind kind = BlendKind::None;
  float weight = 1.0f;

  IBlend() = default;
  IBlend(BlendKind blendKind, float blendWeight) : kind(blendKind), weight(blendWeight) {}
};

enum class TextStyle
{
  Normal,
  Bold,
  Italic
};

enum class TextAlign
{
  Near,
  Center,
  Far
};

enum class TextQuality
{
  Default,
  NonAntiAliased,
  AntiAliased,
  ClearType
};

struct IText
{
  static constexpr int kFaceLength = 32;

  int size = 12;
  IColor color{255, 0, 0, 0};
  char font[kFaceLength] = "Verdana";
  TextStyle style = TextStyle::Normal;
  TextAlign align = TextAlign::Near;
  int orientation = 0; // tenths of a degree
  TextQuality quality = TextQuality::Default;
  IColor textEntryBGColor{255, 255, 255, 255};
  IColor textEntryFGColor{255, 0, 0, 0};
  // The font made for this style by the font cache (owned by the cache).
  LICE_IFont* cached = nullptr;

  IText() = default;
  IText(int textSize, const IColor& textColor, const char* face = nullptr,
        TextStyle textStyle = TextStyle::Normal, TextAlign textAlign = TextAlign::Near)
      : size(textSize), color(textColor), style(textStyle), align(textAlign)
  {
    if (face)
      std::snprintf(font, sizeof(font), "%s", face);
  }
};

// A decoded image and how it divides into frames. The image belongs to the
// module-wide bitmap cache; a handle without an image draws nothing.
struct IBitmap
{
  LICE_IBitmap* bitmap = nullptr;
  int w = 0;
  int h = 0;
  int n = 1;
  bool framesAreHorizontal = false;

  // The size of one frame.
  int FrameW() const { return framesAreHorizontal && n > 1 ? w / n : w; }
  int FrameH() const { return !framesAreHorizontal && n > 1 ? h / n : h; }
};

struct IMouseMod
{
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};
