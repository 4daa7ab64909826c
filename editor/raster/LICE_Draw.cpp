#include "editor/raster/LICE_Draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
int Channel(std::uint32_t p, int shift) { return int(p >> shift) & 0xFF; }

// dst + (src - dst) * factor / 256, rounded; factor 256 gives src exactly.
int Mix(int dst, int src, int factor) { return dst + (((src - dst) * factor + 128) >> 8); }

int FactorOf(float weight)
{
  if (!(weight > 0.0f))
    return 0;
  if (weight >= 1.0f)
    return 256;
  return int(weight * 256.0f + 0.5f);
}

// The area of the bitmap and the clip where drawing may happen.
IRect Bounds(LICE_IBitmap* dest, const IRect& clip)
{
  if (!dest || !dest->GetBits())
    return {};
  return IRect(0, 0, dest->GetWidth(), dest->GetHeight()).Intersect(clip);
}

std::uint32_t* Row(LICE_IBitmap* bitmap, int y)
{
  const int span = bitmap->GetRowSpan();
  const int row = bitmap->IsFlipped() ? bitmap->GetHeight() - 1 - y : y;
  return bitmap->GetBits() + std::ptrdiff_t(row) * span;
}

// The average of each channel of both, rounded down, without a multiply: the bits both
// share plus half of those they differ in (white averaged with white stays white).
std::uint32_t Average(std::uint32_t a, std::uint32_t b)
{
  return (a & b) + (((a ^ b) >> 1) & 0x7F7F7F7Fu);
}

// A plain fill of one pixel run with a factor (the colour's weight).
void FillRun(std::uint32_t* p, int count, std::uint32_t color, int factor)
{
  if (factor >= 256)
    std::fill(p, p + count, color);
  else if (factor == 128)
    for (int i = 0; i < count; ++i)
      p[i] = Average(p[i], color);
  else if (factor > 0)
    for (int i = 0; i < count; ++i)
      p[i] = LICE_Draw::Combine(p[i], color, factor, BlendKind::Copy);
}

int FillFactor(std::uint32_t color, float weight, bool useSourceAlpha)
{
  if (useSourceAlpha)
    weight *= float(color >> 24) / 255.0f;
  return FactorOf(weight);
}
} // namespace

std::uint32_t LICE_Draw::Combine(std::uint32_t dst, std::uint32_t src, int factor, BlendKind kind)
{
  if (kind == BlendKind::Copy)
  {
    if (factor >= 256)
      return src;
    return std::uint32_t(Mix(Channel(dst, 24), Channel(src, 24), factor)) << 24 |
           std::uint32_t(Mix(Channel(dst, 16), Channel(src, 16), factor)) << 16 |
           std::uint32_t(Mix(Channel(dst, 8), Channel(src, 8), factor)) << 8 |
           std::uint32_t(Mix(Channel(dst, 0), Channel(src, 0), factor));
  }
  // The source's alpha scales the factor (0..255 -> 0..256).
  const int sa = Channel(src, 24);
  const int f = (factor * (sa + (sa >> 7)) + 128) >> 8;
  if (f <= 0)
    return dst;
  // The result's alpha: the source laid over the destination.
  const int da = Channel(dst, 24);
  const int outA = da + (((255 - da) * f + 128) >> 8);
  std::uint32_t out = std::uint32_t(outA) << 24;
  for (int shift = 0; shift <= 16; shift += 8)
  {
    const int d = Channel(dst, shift);
    const int s = Channel(src, shift);
    int v = d;
    switch (kind)
    {
    case BlendKind::Add:
      v = std::min(255, d + ((s * f + 128) >> 8));
      break;
    case BlendKind::ColorDodge:
    {
      const int dodged = s >= 255 ? (d > 0 ? 255 : 0) : std::min(255, d * 256 / (256 - s));
      v = Mix(d, dodged, f);
      break;
    }
    default:
      v = Mix(d, s, f);
      break;
    }
    out |= std::uint32_t(v) << shift;
  }
  return out;
}

void LICE_Draw::Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstX, int dstY, int srcX, int srcY,
                     int w, int h, const IRect& clip, float weight, BlendKind kind)
{
  if (!src || !src->GetBits() || w <= 0 || h <= 0)
    return;
  // The source block, limited to the source bitmap, moved to the destination...
  IRect source = IRect(srcX, srcY, srcX + w, srcY + h)
                     .Intersect(IRect(0, 0, src->GetWidth(), src->GetHeight()));
  if (source.Empty())
    return;
  IRect target(dstX + source.left - srcX, dstY + source.top - srcY,
               dstX + source.right - srcX, dstY + source.bottom - srcY);
  // ...then limited to the destination and the clip.
  target = target.Intersect(Bounds(dest, clip));
  if (target.Empty())
    return;
  const int factor = FactorOf(weight);
  if (factor == 0)
    return;
  const int offsetX = srcX - dstX;
  const int offsetY = srcY - dstY;
  const int count = target.W();
  for (int y = target.top; y < target.bottom; ++y)
  {
    std::uint32_t* d = Row(dest, y) + target.left;
    const std::uint32_t* s = Row(src, y + offsetY) + target.left + offsetX;
    if (kind == BlendKind::Copy && factor == 256)
      std::memmove(d, s, std::size_t(count) * sizeof(std::uint32_t));
    else if (kind == BlendKind::Copy && factor == 128)
      for (int i = 0; i < count; ++i)
        d[i] = Average(d[i], s[i]);
    else if (kind == BlendKind::None && factor == 256)
    {
      for (int i = 0; i < count; ++i)
      {
        const std::uint32_t a = s[i] >> 24;
        if (a == 255)
          d[i] = s[i];
        else if (a != 0)
          d[i] = Combine(d[i], s[i], 256, kind);
      }
    }
    else
      for (int i = 0; i < count; ++i)
        d[i] = Combine(d[i], s[i], factor, kind);
  }
}

void LICE_Draw::FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, std::uint32_t color,
                         float weight, bool useSourceAlpha, const IRect& clip)
{
  const IRect area = IRect(x, y, x + w, y + h).Intersect(Bounds(dest, clip));
  const int factor = FillFactor(color, weight, useSourceAlpha);
  if (area.Empty() || factor == 0)
    return;
  for (int row = area.top; row < area.bottom; ++row)
    FillRun(Row(dest, row) + area.left, area.W(), color, factor);
}

void LICE_Draw::Line(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, std::uint32_t color,
                     float weight, bool useSourceAlpha, const IRect& clip)
{
  const IRect area = Bounds(dest, clip);
  const int factor = FillFactor(color, weight, useSourceAlpha);
  if (area.Empty() || factor == 0)
    return;
  // Lines far outside the surface are cut to a range where the steps stay exact.
  constexpr int kFar = 1 << 20;
  if (std::abs(x1) > kFar || std::abs(x2) > kFar || std::abs(y1) > kFar || std::abs(y2) > kFar)
    return;
  const int dx = std::abs(x2 - x1);
  const int dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1;
  const int sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1;
  int y = y1;
  for (;;)
  {
    if (area.Contains(x, y))
      FillRun(Row(dest, y) + x, 1, color, factor);
    if (x == x2 && y == y2)
      break;
    const int e2 = 2 * err;
    if (e2 >= dy)
    {
      err += dy;
      x += sx;
    }
    if (e2 <= dx)
    {
      err += dx;
      y += sy;
    }
  }
}

void LICE_Draw::FillTriangle(LICE_IBitmap* dest, const int xs[3], const int ys[3],
                             std::uint32_t color, float weight, bool useSourceAlpha,
                             const IRect& clip)
{
  const IRect area = Bounds(dest, clip);
  const int factor = FillFactor(color, weight, useSourceAlpha);
  if (area.Empty() || factor == 0)
    return;
  // The corners are points; a pixel is filled when its centre lies inside (or on the
  // left or top edge, half-open like the rectangles).
  const int top = std::max(area.top, *std::min_element(ys, ys + 3));
  const int bottom = std::min(area.bottom, *std::max_element(ys, ys + 3));
  for (int y = top; y < bottom; ++y)
  {
    const double cy = y + 0.5;
    double lo = 1e30;
    double hi = -1e30;
    for (int i = 0; i < 3; ++i)
    {
      const int j = (i + 1) % 3;
      const double y0 = ys[i];
      const double y1 = ys[j];
      if (y0 == y1 || cy < std::min(y0, y1) || cy >= std::max(y0, y1))
        continue;
      const double x = xs[i] + (cy - y0) * (xs[j] - xs[i]) / (y1 - y0);
      lo = std::min(lo, x);
      hi = std::max(hi, x);
    }
    if (lo > hi)
      continue;
    const int from = std::max(area.left, int(std::ceil(lo - 0.5)));
    const int to = std::min(area.right, int(std::ceil(hi - 0.5)));
    if (to > from)
      FillRun(Row(dest, y) + from, to - from, color, factor);
  }
}

void LICE_Draw::DrawMask(LICE_IBitmap* dest, const std::uint8_t* mask, int pitch, int x, int y,
                         int w, int h, std::uint32_t color, float weight, const IRect& clip)
{
  if (!mask || w <= 0 || h <= 0)
    return;
  const IRect area = IRect(x, y, x + w, y + h).Intersect(Bounds(dest, clip));
  const int factor = FactorOf(weight);
  if (area.Empty() || factor == 0)
    return;
  const std::uint32_t rgb = color & 0x00FFFFFFu;
  const int alpha = int(color >> 24);
  for (int row = area.top; row < area.bottom; ++row)
  {
    std::uint32_t* d = Row(dest, row);
    const std::uint8_t* m = mask + std::ptrdiff_t(row - y) * pitch - x;
    for (int col = area.left; col < area.right; ++col)
    {
      const int c = m[col];
      if (c == 0)
        continue;
      // Coverage times the colour's alpha becomes the source alpha.
      const std::uint32_t a = std::uint32_t((c * alpha + 127) / 255);
      d[col] = Combine(d[col], rgb | a << 24, factor, BlendKind::None);
    }
  }
}
