#pragma once
// A picture being drawn: premultiplied RGBA floats, rows top to bottom. Shapes are
// filled from signed distances (Shape.h) with anti-aliased edges and any paint (a
// function of the pixel centre giving a colour); layers are blurred and composited
// for shadows and glows. Nothing here depends on time or on the machine's state, so
// the same program draws the same pixels every run.
#include "tools/artwork/Colour.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

class Canvas
{
public:
  Canvas() = default;
  // A transparent canvas. A canvas may stand for a part of a larger picture: its
  // pixel (0, 0) is the picture's (left, top), and drawing takes picture coordinates.
  Canvas(int w, int h, int left = 0, int top = 0);

  int Width() const { return width; }
  int Height() const { return height; }
  int Left() const { return originX; }
  int Top() const { return originY; }

  // Source-over of colour c at pixel (x, y) with the given coverage; outside pixels
  // are ignored.
  void Blend(int x, int y, const Colour& c, float coverage);

  // Fills the shape whose signed distance is distance(x, y) inside the box [left,
  // right) x [top, bottom) with paint(x, y); both are asked at pixel centres.
  template <class Distance, class Painter>
  void Fill(double left, double top, double right, double bottom, Distance distance, Painter paint)
  {
    const int x0 = std::max(originX, int(std::floor(left)));
    const int y0 = std::max(originY, int(std::floor(top)));
    const int x1 = std::min(originX + width, int(std::ceil(right)));
    const int y1 = std::min(originY + height, int(std::ceil(bottom)));
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
      {
        const double px = x + 0.5;
        const double py = y + 0.5;
        const double coverage = std::clamp(0.5 - distance(px, py), 0.0, 1.0);
        if (coverage > 0.0)
          Blend(x, y, paint(px, py), float(coverage));
      }
  }

  // The same with one colour.
  template <class Distance>
  void FillColour(double left, double top, double right, double bottom, Distance distance,
                  const Colour& c)
  {
    Fill(left, top, right, bottom, distance, [&c](double, double) { return c; });
  }

  // Every pixel painted by paint(x, y), replacing what was there.
  template <class Painter>
  void Paint(Painter paint)
  {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
      {
        const Colour c = paint(x + 0.5, y + 0.5);
        float* p = At(x, y);
        p[0] = c.r * c.a;
        p[1] = c.g * c.a;
        p[2] = c.b * c.a;
        p[3] = c.a;
      }
  }

  // Composites source over this canvas with the source's pixel (0, 0) at picture
  // coordinates (dx, dy).
  void Draw(const Canvas& source, int dx, int dy, float opacity = 1.0f);
  // Uses the source's alpha as coverage for paint(x, y) (x, y in this canvas):
  // text and masks drawn in a colour or a gradient.
  template <class Painter>
  void DrawMask(const Canvas& mask, int dx, int dy, Painter paint, float opacity = 1.0f)
  {
    for (int y = 0; y < mask.height; ++y)
      for (int x = 0; x < mask.width; ++x)
      {
        const float coverage = mask.pixels[Index(mask.width, x, y) + 3] * opacity;
        if (coverage > 0.0f)
          Blend(x + dx, y + dy, paint(x + dx + 0.5, y + dy + 0.5), coverage);
      }
  }
  void DrawMaskColour(const Canvas& mask, int dx, int dy, const Colour& c)
  {
    DrawMask(mask, dx, dy, [&c](double, double) { return c; });
  }

  // Blurs every channel with `passes` box blurs of the given radius (three passes are
  // close to a Gaussian); pixels beyond the edges count as transparent.
  void Blur(int radius, int passes = 3);

  // The part [x, x + w) x [y, y + h) as a new canvas.
  Canvas Crop(int x, int y, int w, int h) const;

  // Whether every pixel is opaque once rounded to 8 bits.
  bool Opaque() const;
  // 8-bit red, green, blue, alpha bytes, not premultiplied, rows top to bottom.
  std::vector<std::uint8_t> Rgba8() const;

  // The premultiplied pixel at (x, y) of this canvas (not picture coordinates).
  float* At(int x, int y) { return &pixels[Index(width, x, y)]; }
  const float* At(int x, int y) const { return &pixels[Index(width, x, y)]; }

private:
  static std::size_t Index(int w, int x, int y)
  {
    return (std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4;
  }

  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
  std::vector<float> pixels;
};
