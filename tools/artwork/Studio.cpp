#include "tools/artwork/Studio.h"

#include "tools/artwork/Shape.h"

#include <cmath>

bool Studio::Open()
{
  const bool ok1 =
      condensed.Open({"/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
                      "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf"});
  const bool ok2 = bold.Open({"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                              "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"});
  const bool ok3 =
      boldOblique.Open({"/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf",
                        "/usr/share/fonts/truetype/liberation/LiberationSans-BoldItalic.ttf"});
  const bool ok4 =
      regular.Open({"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"});
  return ok1 && ok2 && ok3 && ok4;
}

void Studio::Text(Canvas& canvas, const TextFace& face, const std::string& text, int size,
                  double spacing, double x, double y, const Colour& colour, Align align) const
{
  int baseline = 0;
  const Canvas mask = face.Render(text, size, spacing, baseline);
  const double w = face.Measure(text, size, spacing);
  double left = x;
  if (align == Align::Centre)
    left = x - w * 0.5;
  else if (align == Align::Right)
    left = x - w;
  // The mask has two pixels of margin on every side.
  canvas.DrawMaskColour(mask, int(std::lround(left)) - 2, int(std::lround(y)) - baseline, colour);
}

void Studio::TextCentred(Canvas& canvas, const TextFace& face, const std::string& text, int size,
                         double spacing, double x, double cy, const Colour& colour,
                         Align align) const
{
  Text(canvas, face, text, size, spacing, x, cy + face.CapHeight(size) * 0.5, colour, align);
}

void Studio::Engraved(Canvas& canvas, const TextFace& face, const std::string& text, int size,
                      double spacing, double x, double y, const Colour& colour, Align align) const
{
  Text(canvas, face, text, size, spacing, x, y + 1, kWhite.WithAlpha(0.07f), align);
  Text(canvas, face, text, size, spacing, x, y - 1, kBlack.WithAlpha(0.85f), align);
  Text(canvas, face, text, size, spacing, x, y, colour, align);
}

void Studio::Glowing(Canvas& canvas, const TextFace& face, const std::string& text, int size,
                     double spacing, double x, double cy, const Colour& colour, Align align) const
{
  const double w = face.Measure(text, size, spacing);
  Glow(canvas, x - w - 4, cy - size, x + w + 4, cy + size, 2, 0.9f,
       [&](Canvas& layer) { TextCentred(layer, face, text, size, spacing, x, cy, colour, align); });
  TextCentred(canvas, face, text, size, spacing, x, cy, colour.Mix(kWhite, 0.15f), align);
}

void Studio::Panel(Canvas& canvas, int left, int top, int right, int bottom,
                   const std::string& title) const
{
  const double l = left;
  const double t = top;
  const double r = right;
  const double b = bottom;
  const double corner = 5.0;
  // The lit lip below and right of the cut, then the dark cut itself.
  canvas.FillColour(
      l - 1, t - 1, r + 2, b + 2,
      [=](double x, double y) { return Shape::RoundRect(x, y, l, t + 1, r + 1, b + 1, corner); },
      kWhite.WithAlpha(0.06f));
  canvas.FillColour(
      l - 1, t - 1, r + 1, b + 1,
      [=](double x, double y)
      { return Shape::RoundRect(x, y, l - 1, t - 1, r + 1, b + 1, corner + 1); },
      kBlack.WithAlpha(0.9f));
  canvas.Fill(
      l, t, r, b, [=](double x, double y) { return Shape::RoundRect(x, y, l, t, r, b, corner); },
      [=](double, double y) { return kPanelTop.Mix(kPanelBottom, float((y - t) / (b - t))); });
  // The top edge catches the light.
  canvas.Fill(
      l, t, r, t + 3,
      [=](double x, double y) { return Shape::RoundRect(x, y, l, t, r, b, corner); },
      [=](double, double y)
      { return kWhite.WithAlpha(float(0.10 * std::max(0.0, 1.0 - (y - t) / 2.0))); });
  if (title.empty())
    return;
  const int size = 11;
  const double baseline = t + 16;
  // An accent bar, the title, and a groove to the right edge.
  canvas.FillColour(
      l + 9, t + 7, l + 12, t + 17,
      [=](double x, double y) { return Shape::RoundRect(x, y, l + 9, t + 7, l + 12, t + 17, 1.0); },
      kAccent);
  Glow(canvas, l + 7, t + 5, l + 14, t + 19, 2, 0.6f,
       [&](Canvas& layer)
       {
         layer.FillColour(
             l + 7, t + 5, l + 14, t + 19,
             [=](double x, double y)
             { return Shape::RoundRect(x, y, l + 9, t + 7, l + 12, t + 17, 1.0); },
             kAccent);
       });
  Engraved(canvas, condensed, title, size, 1.4, l + 18, baseline, kLabel);
  const double textEnd = l + 18 + condensed.Measure(title, size, 1.4);
  // Low panels keep their title row free for controls: no groove there.
  if (b - t >= 80 && textEnd + 10 < r - 10)
    Groove(canvas, textEnd + 10, r - 10, t + 12);
}

void Studio::Groove(Canvas& canvas, double x1, double x2, double y) const
{
  canvas.FillColour(
      x1, y - 1, x2, y + 1,
      [=](double x, double yy) { return Shape::Segment(x, yy, x1, y, x2, y, 0.5); },
      kBlack.WithAlpha(0.7f));
  canvas.FillColour(
      x1, y, x2, y + 2,
      [=](double x, double yy) { return Shape::Segment(x, yy, x1, y + 1, x2, y + 1, 0.5); },
      kWhite.WithAlpha(0.06f));
}

void Studio::GrooveVertical(Canvas& canvas, double x, double y1, double y2) const
{
  canvas.FillColour(
      x - 1, y1, x + 1, y2,
      [=](double xx, double y) { return Shape::Segment(xx, y, x, y1, x, y2, 0.5); },
      kBlack.WithAlpha(0.7f));
  canvas.FillColour(
      x, y1, x + 2, y2,
      [=](double xx, double y) { return Shape::Segment(xx, y, x + 1, y1, x + 1, y2, 0.5); },
      kWhite.WithAlpha(0.05f));
}

void Studio::Recess(Canvas& canvas, double left, double top, double right, double bottom,
                    double corner) const
{
  canvas.FillColour(
      left - 1, top - 1, right + 1, bottom + 2,
      [=](double x, double y)
      { return Shape::RoundRect(x, y, left, top + 1, right, bottom + 1, corner); },
      kWhite.WithAlpha(0.08f));
  canvas.Fill(
      left, top, right, bottom,
      [=](double x, double y) { return Shape::RoundRect(x, y, left, top, right, bottom, corner); },
      [=](double, double y)
      { return kGlassTop.Mix(kGlassBottom, float((y - top) / (bottom - top))); });
  // A shadow inside the top edge, where the glass sits below the metal.
  canvas.Fill(
      left, top, right, top + 4,
      [=](double x, double y) { return Shape::RoundRect(x, y, left, top, right, bottom, corner); },
      [=](double, double y)
      { return kBlack.WithAlpha(float(0.7 * std::max(0.0, 1.0 - (y - top) / 4.0))); });
}

void Studio::SteelBody(Canvas& canvas, double left, double top, double right, double bottom,
                       double corner, bool pressed) const
{
  const double h = bottom - top;
  canvas.FillColour(
      left, top, right, bottom + 1,
      [=](double x, double y)
      { return Shape::RoundRect(x, y, left, top + 1, right, bottom, corner); },
      kBlack.WithAlpha(0.6f));
  canvas.FillColour(
      left, top, right, bottom,
      [=](double x, double y)
      { return Shape::RoundRect(x, y, left, top, right, bottom - 1, corner); },
      Colour::Hex(0x050506));
  const Colour upper = pressed ? Colour::Hex(0x17181b) : Colour::Hex(0x4b5058);
  const Colour lower = pressed ? Colour::Hex(0x2a2d32) : Colour::Hex(0x22252a);
  const double l = left + 1;
  const double t = top + 1;
  const double r = right - 1;
  const double b = bottom - 2;
  canvas.Fill(
      l, t, r, b,
      [=](double x, double y) { return Shape::RoundRect(x, y, l, t, r, b, corner - 1); },
      [=](double, double y) { return upper.Mix(lower, float((y - t) / (b - t))); });
  if (!pressed)
    canvas.Fill(
        l, t, r, t + 2,
        [=](double x, double y) { return Shape::RoundRect(x, y, l, t, r, b, corner - 1); },
        [=](double, double y)
        { return kWhite.WithAlpha(float(0.22 * std::max(0.0, 1.0 - (y - t) / 1.5))); });
  else
    canvas.Fill(
        l, t, r, t + std::min(4.0, h),
        [=](double x, double y) { return Shape::RoundRect(x, y, l, t, r, b, corner - 1); },
        [=](double, double y)
        { return kBlack.WithAlpha(float(0.5 * std::max(0.0, 1.0 - (y - t) / 3.0))); });
}

void Studio::Led(Canvas& canvas, double cx, double cy, double r, const Colour& colour,
                 bool lit) const
{
  canvas.FillColour(
      cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2,
      [=](double x, double y) { return Shape::Circle(x, y, cx, cy, r + 1.0); },
      kBlack.WithAlpha(0.85f));
  if (lit)
  {
    Glow(canvas, cx - 2 * r, cy - 2 * r, cx + 2 * r, cy + 2 * r, std::max(1, int(r)), 0.9f,
         [&](Canvas& layer)
         {
           layer.FillColour(
               cx - 2 * r, cy - 2 * r, cx + 2 * r, cy + 2 * r,
               [=](double x, double y) { return Shape::Circle(x, y, cx, cy, r * 1.3); }, colour);
         });
    canvas.Fill(
        cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1,
        [=](double x, double y) { return Shape::Circle(x, y, cx, cy, r); },
        [=](double x, double y)
        {
          const double d = std::hypot(x - (cx - r * 0.25), y - (cy - r * 0.3)) / (r * 1.3);
          return colour.Mix(kWhite, float(std::max(0.0, 0.75 - d) * 0.9));
        });
  }
  else
  {
    const Colour dark = colour.Mix(kBlack, 0.78f);
    canvas.Fill(
        cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1,
        [=](double x, double y) { return Shape::Circle(x, y, cx, cy, r); },
        [=](double x, double y)
        {
          const double d = std::hypot(x - (cx - r * 0.3), y - (cy - r * 0.35)) / r;
          return dark.Mix(kWhite, float(std::max(0.0, 0.5 - d) * 0.35));
        });
  }
}
