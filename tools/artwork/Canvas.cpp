#include "tools/artwork/Canvas.h"

Canvas::Canvas(int w, int h, int left, int top)
  : width(w), height(h), originX(left), originY(top),
    pixels(std::size_t(w) * std::size_t(h) * 4, 0.0f)
{
}

void Canvas::Blend(int px, int py, const Colour& c, float coverage)
{
  const int x = px - originX;
  const int y = py - originY;
  if (x < 0 || y < 0 || x >= width || y >= height)
    return;
  const float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
  float* p = At(x, y);
  const float keep = 1.0f - a;
  p[0] = c.r * a + p[0] * keep;
  p[1] = c.g * a + p[1] * keep;
  p[2] = c.b * a + p[2] * keep;
  p[3] = a + p[3] * keep;
}

void Canvas::Draw(const Canvas& source, int dx, int dy, float opacity)
{
  for (int y = 0; y < source.height; ++y)
  {
    const int ty = y + dy - originY;
    if (ty < 0 || ty >= height)
      continue;
    for (int x = 0; x < source.width; ++x)
    {
      const int tx = x + dx - originX;
      if (tx < 0 || tx >= width)
        continue;
      const float* s = source.At(x, y);
      const float a = s[3] * opacity;
      if (a <= 0.0f)
        continue;
      float* p = At(tx, ty);
      const float keep = 1.0f - a;
      p[0] = s[0] * opacity + p[0] * keep;
      p[1] = s[1] * opacity + p[1] * keep;
      p[2] = s[2] * opacity + p[2] * keep;
      p[3] = a + p[3] * keep;
    }
  }
}

void Canvas::Blur(int radius, int passes)
{
  if (radius <= 0 || width == 0 || height == 0)
    return;
  const float scale = 1.0f / float(2 * radius + 1);
  std::vector<float> line;
  for (int pass = 0; pass < passes; ++pass)
  {
    // Rows, then columns: a running sum over the window of 2 * radius + 1 pixels.
    for (int dir = 0; dir < 2; ++dir)
    {
      const int lines = dir == 0 ? height : width;
      const int length = dir == 0 ? width : height;
      line.assign(std::size_t(length) * 4, 0.0f);
      for (int l = 0; l < lines; ++l)
      {
        auto pixel = [&](int i) { return dir == 0 ? At(i, l) : At(l, i); };
        for (int i = 0; i < length; ++i)
          std::copy(pixel(i), pixel(i) + 4, &line[std::size_t(i) * 4]);
        for (int c = 0; c < 4; ++c)
        {
          float sum = 0.0f;
          for (int i = -radius; i <= radius; ++i)
            if (i >= 0 && i < length)
              sum += line[std::size_t(i) * 4 + std::size_t(c)];
          for (int i = 0; i < length; ++i)
          {
            pixel(i)[c] = sum * scale;
            const int out = i - radius;
            const int in = i + radius + 1;
            if (out >= 0)
              sum -= line[std::size_t(out) * 4 + std::size_t(c)];
            if (in < length)
              sum += line[std::size_t(in) * 4 + std::size_t(c)];
          }
        }
      }
    }
  }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const
{
  Canvas part(w, h);
  part.Draw(*this, -x, -y);
  return part;
}

bool Canvas::Opaque() const
{
  for (std::size_t i = 3; i < pixels.size(); i += 4)
    if (pixels[i] < 254.5f / 255.0f)
      return false;
  return true;
}

std::vector<std::uint8_t> Canvas::Rgba8() const
{
  std::vector<std::uint8_t> bytes(pixels.size());
  auto quantize = [](float v)
  { return std::uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
  for (std::size_t i = 0; i < pixels.size(); i += 4)
  {
    const float a = pixels[i + 3];
    const std::uint8_t alpha = quantize(a);
    for (std::size_t c = 0; c < 3; ++c)
      bytes[i + c] = alpha == 0 ? 0 : quantize(pixels[i + c] / a);
    bytes[i + 3] = alpha;
  }
  return bytes;
}
