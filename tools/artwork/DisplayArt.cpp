#include "tools/artwork/DisplayArt.h"

#include "tools/artwork/Shape.h"

#include <string>

namespace
{
void Line(Canvas& c, double x1, double y1, double x2, double y2, const Colour& colour)
{
  c.FillColour(
      std::min(x1, x2) - 1, std::min(y1, y2) - 1, std::max(x1, x2) + 1, std::max(y1, y2) + 1,
      [=](double x, double y) { return Shape::Segment(x, y, x1, y1, x2, y2, 0.5); }, colour);
}
} // namespace

Canvas DisplayArt::Plain(int w, int h) const
{
  Canvas c(w, h);
  studio.Recess(c, 0.5, 0.5, w - 0.5, h - 1.0, std::min(3.0, h * 0.2));
  return c;
}

Canvas DisplayArt::Grid(int w, int h, int columns, int rows, bool centreLine) const
{
  Canvas c = Plain(w, h);
  const Colour grid = Studio::kWhite.WithAlpha(0.045f);
  const double inner = h - 1.5;
  for (int i = 1; i < columns; ++i)
  {
    const double x = std::floor(w * double(i) / columns) + 0.5;
    Line(c, x, 2.5, x, inner - 1.0, grid);
  }
  for (int i = 1; i < rows; ++i)
  {
    const double y = std::floor(inner * double(i) / rows) + 0.5;
    Line(c, 2.0, y, w - 2.0, y, grid);
  }
  if (centreLine)
  {
    const double y = std::floor(inner * 0.5) + 0.5;
    Line(c, 2.0, y, w - 2.0, y, Studio::kAccent.WithAlpha(0.22f));
  }
  return c;
}

Canvas DisplayArt::Waveform(int w, int h, int oscillator) const
{
  Canvas c = Grid(w, h, 8, 4, true);
  studio.Text(c, studio.Condensed(), std::to_string(oscillator), 10, 0.0, w - 5.0, 13.0,
              Studio::kLabelDim.WithAlpha(0.5f), Studio::Align::Right);
  return c;
}

Canvas DisplayArt::Curve(int size) const
{
  Canvas c = Grid(size, size, 8, 8, false);
  const double s = size;
  const Colour axis = Studio::kWhite.WithAlpha(0.09f);
  Line(c, s * 0.5, 2.5, s * 0.5, s - 3.0, axis);
  Line(c, 2.0, s * 0.5 - 0.5, s - 2.0, s * 0.5 - 0.5, axis);
  Line(c, 3.0, s - 4.0, s - 3.0, 3.0, Studio::kAccent.WithAlpha(0.12f));
  return c;
}

Canvas DisplayArt::Scope(int w, int h) const
{
  Canvas c = Grid(w, h, 20, 8, false);
  const Colour centre = Studio::kAccent.WithAlpha(0.2f);
  const int a = h / 4;
  Line(c, 2.0, a + 0.5, w - 2.0, a + 0.5, centre);
  Line(c, 2.0, 3 * a + 0.5, w - 2.0, 3 * a + 0.5, centre);
  Line(c, 2.0, 2 * a + 0.5, w - 2.0, 2 * a + 0.5, Studio::kWhite.WithAlpha(0.1f));
  studio.Text(c, studio.Condensed(), "L", 11, 0.0, 8.0, 16.0, Studio::kLabelDim.WithAlpha(0.6f));
  studio.Text(c, studio.Condensed(), "R", 11, 0.0, 8.0, 2 * a + 16.0,
              Studio::kLabelDim.WithAlpha(0.6f));
  return c;
}
