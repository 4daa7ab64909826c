#include "tools/artwork/BrandArt.h"

#include "editor/layout/SectionPanels.h"
#include "tools/artwork/Shape.h"

#include <cmath>
#include <cstdint>

namespace
{
// A fixed hash of one integer to 0..1: the brushed grain of the metal, the same every
// run.
double Grain(std::uint32_t n)
{
  n ^= n >> 16;
  n *= 0x7feb352dU;
  n ^= n >> 15;
  n *= 0x846ca68bU;
  n ^= n >> 16;
  return double(n & 0xFFFF) / 65535.0;
}
} // namespace

void BrandArt::Screw(Canvas& c, double cx, double cy, double r, double slot) const
{
  c.FillColour(
      cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2,
      [=](double x, double y) { return Shape::Circle(x, y, cx + 0.5, cy + 0.8, r + 0.6); },
      Studio::kBlack.WithAlpha(0.8f));
  c.Fill(
      cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1,
      [=](double x, double y) { return Shape::Circle(x, y, cx, cy, r); },
      [=](double x, double y)
      {
        const double t = std::clamp(((x - cx) + (y - cy)) / (2.2 * r) + 0.5, 0.0, 1.0);
        return Colour::Hex(0x7d838c).Mix(Colour::Hex(0x1b1d20), float(t));
      });
  double x1 = 0.0;
  double y1 = 0.0;
  double x2 = 0.0;
  double y2 = 0.0;
  Shape::PointAt(cx, cy, r * 0.7, slot, x1, y1);
  Shape::PointAt(cx, cy, r * 0.7, slot + 180.0, x2, y2);
  c.FillColour(
      cx - r, cy - r, cx + r, cy + r,
      [=](double x, double y) { return Shape::Segment(x, y, x1, y1, x2, y2, 0.8); },
      Colour::Hex(0x0b0c0d));
}

void BrandArt::Wordmark(Canvas& c, const std::string& text, int size, double x, double y,
                        Studio::Align align) const
{
  const TextFace& face = studio.BoldOblique();
  int baseline = 0;
  const Canvas mask = face.Render(text, size, size * 0.02, baseline);
  const double w = face.Measure(text, size, size * 0.02);
  const double left = align == Studio::Align::Centre  ? x - w * 0.5
                      : align == Studio::Align::Right ? x - w
                                                      : x;
  const int dx = int(std::lround(left)) - 2;
  const int dy = int(std::lround(y)) - baseline;
  const double cap = face.CapHeight(size);
  // A soft dark shadow, then the letters in a hot gradient, lit at the top.
  Studio::Glow(c, left - 4, y - size, left + w + 8, y + size * 0.4, std::max(1, size / 16), 0.9f,
               [&](Canvas& layer)
               {
                 layer.DrawMaskColour(mask, dx + std::max(1, size / 24),
                                      dy + std::max(1, size / 20), Studio::kBlack);
               });
  c.DrawMask(mask, dx, dy,
             [=](double, double py)
             {
               const double t = std::clamp((py - (y - cap)) / cap, 0.0, 1.0);
               return Studio::kAccentHot.Mix(Studio::kWhite, float(std::max(0.0, 0.25 - t) * 1.2))
                   .Mix(Studio::kAccentDeep, float(t * 0.85));
             });
}

void BrandArt::KickTrace(Canvas& c, double left, double right, double cy, double amplitude,
                         float width) const
{
  // A kick: a sine whose pitch falls fast while its level decays.
  std::vector<double> xs;
  std::vector<double> ys;
  const int points = int(right - left) * 2;
  double phase = 0.0;
  for (int i = 0; i <= points; ++i)
  {
    const double t = double(i) / points;
    const double freq = 2.2 + 26.0 * std::exp(-t * 9.0);
    phase += freq * 2.0 * Shape::kPi / points;
    const double env = std::exp(-t * 3.2) * std::min(1.0, t * 60.0);
    xs.push_back(left + (right - left) * t);
    ys.push_back(cy - amplitude * env * std::sin(phase));
  }
  auto draw = [&](Canvas& target, const Colour& colour, double half)
  {
    for (std::size_t i = 1; i < xs.size(); ++i)
    {
      const double x1 = xs[i - 1];
      const double y1 = ys[i - 1];
      const double x2 = xs[i];
      const double y2 = ys[i];
      target.FillColour(
          std::min(x1, x2) - half - 1, std::min(y1, y2) - half - 1, std::max(x1, x2) + half + 1,
          std::max(y1, y2) + half + 1,
          [=](double x, double y) { return Shape::Segment(x, y, x1, y1, x2, y2, half); }, colour);
    }
  };
  Studio::Glow(c, left - 4, cy - amplitude - 4, right + 4, cy + amplitude + 4, 6, 0.9f,
               [&](Canvas& layer) { draw(layer, Studio::kAccent, width * 1.5); });
  const int x0 = int(left) - 4;
  const int y0 = int(cy - amplitude) - 4;
  Canvas line(int(right - left) + 8, int(2 * amplitude) + 8, x0, y0);
  draw(line, Studio::kAccentHot, width * 0.5);
  c.Draw(line, x0, y0, 0.95f);
}

Canvas BrandArt::Background() const
{
  const int w = 1220;
  const int h = 835;
  Canvas c(w, h);
  // Brushed steel, dark: the grain runs along the rows, so each row is one shade
  // plus a gentle falloff towards the sides.
  c.Paint(
      [=](double x, double y)
      {
        const int row = int(y);
        const double grain = (Grain(std::uint32_t(row) * 2654435761U + 17U) - 0.5) * 0.018;
        const double side = (x - w * 0.5) / (w * 0.5);
        const double fall = 1.0 - 0.22 * side * side;
        Colour base = Studio::kChassisTop.Mix(Studio::kChassisBottom, float(y / h));
        const float k = float(fall);
        return Colour{float(base.r * k + grain), float(base.g * k + grain),
                      float(base.b * k + grain), 1.0f};
      });
  // The bottom bar holding the tabs.
  const double bar = 786.0;
  c.Fill(
      0, bar, w, h, [=](double, double y) { return bar - y; },
      [=](double, double y)
      { return Colour::Hex(0x0d0e10).Mix(Colour::Hex(0x060607), float((y - bar) / (h - bar))); });
  studio.Groove(c, 0, w, bar);
  // A hot seam along the top of the bar.
  Studio::Glow(c, 0, bar - 2, w, bar + 3, 2, 0.5f,
               [=](Canvas& layer)
               {
                 layer.FillColour(
                     0, bar, w, bar + 2,
                     [=](double, double y) { return std::fabs(y - (bar + 1)) - 0.5; },
                     Studio::kAccent);
               });
  c.FillColour(
      0, bar, w, bar + 2, [=](double, double y) { return std::fabs(y - (bar + 1)) - 0.5; },
      Studio::kAccent.WithAlpha(0.55f));

  for (const SectionPanel& p : kSectionPanels)
    studio.Panel(c, p.left, p.top, p.right, p.bottom, p.title);
  for (const SectionPanel& g : kSectionGroups)
  {
    studio.Engraved(c, studio.Condensed(), g.title, 10, 1.2, (g.left + g.right) * 0.5, g.top + 10,
                    Studio::kLabelDim, Studio::Align::Centre);
    if (g.right + 3 < 430)
      studio.GrooveVertical(c, g.right + 3, g.top + 2, g.bottom - 6);
  }

  Screw(c, 8, 9, 4.0, 30.0);
  Screw(c, w - 8, 9, 4.0, 75.0);
  Screw(c, 8, h - 9, 4.0, 110.0);
  Screw(c, w - 8, h - 9, 4.0, 15.0);
  studio.Engraved(c, studio.Condensed(),
                  "KORVANE  \xC2\xB7  THUMPGEIST 1.8  \xC2\xB7  VST 2.4 INSTRUMENT", 10, 1.6,
                  w - 22, 815, Studio::kLabelDim, Studio::Align::Right);
  return c;
}

Canvas BrandArt::Header(int w, int h) const
{
  Canvas c(w, h);
  const double fw = w;
  const double fh = h;
  c.FillColour(
      0, 0, fw, fh, [=](double x, double y) { return Shape::RoundRect(x, y, 0, 0, fw, fh, 5.0); },
      Colour::Hex(0x040405));
  c.Fill(
      0, 0, fw, fh,
      [=](double x, double y) { return Shape::RoundRect(x, y, 1, 1, fw - 1, fh - 1, 4.0); },
      [=](double, double y)
      { return Colour::Hex(0x2a2d33).Mix(Colour::Hex(0x141518), float(y / fh)); });
  c.Fill(
      0, 0, fw, 3,
      [=](double x, double y) { return Shape::RoundRect(x, y, 1, 1, fw - 1, fh - 1, 4.0); },
      [=](double, double y)
      { return Studio::kWhite.WithAlpha(float(0.16 * std::max(0.0, 1.0 - (y - 1.0) / 1.5))); });
  Screw(c, 10, fh * 0.5, 3.5, 40.0);
  Screw(c, fw - 10, fh * 0.5, 3.5, 100.0);
  // A small kick pulse before the name.
  KickTrace(c, 24, 62, fh * 0.5, fh * 0.3, 1.6f);
  Wordmark(c, "THUMPGEIST", 24, 72, fh * 0.5 + 9, Studio::Align::Left);
  const double after = 72 + studio.BoldOblique().Measure("THUMPGEIST", 24, 24 * 0.02) + 18;
  studio.Engraved(c, studio.Condensed(), "HARDCORE KICK & BASS SYNTHESIZER", 10, 2.2, after,
                  fh * 0.5 + 4, Studio::kLabelDim);
  studio.Engraved(c, studio.Condensed(), "KORVANE", 13, 4.5, fw - 26, fh * 0.5 + 5, Studio::kLabel,
                  Studio::Align::Right);
  return c;
}

Canvas BrandArt::Logo(int w, int h) const
{
  Canvas c(w, h);
  const double fw = w;
  const double fh = h;
  c.FillColour(
      0, 0, fw, fh, [=](double x, double y) { return Shape::RoundRect(x, y, 0, 0, fw, fh, 10.0); },
      Colour::Hex(0x2c3036));
  c.Fill(
      0, 0, fw, fh,
      [=](double x, double y) { return Shape::RoundRect(x, y, 1.5, 1.5, fw - 1.5, fh - 1.5, 9.0); },
      [=](double x, double y)
      {
        const double d = std::hypot((x - fw * 0.5) / fw, (y - fh * 0.45) / fh);
        return Colour::Hex(0x17181c).Mix(Colour::Hex(0x060607), float(std::min(1.0, d * 1.6)));
      });
  // Faint grid lines behind the waveform, as on an oscilloscope.
  for (int i = 1; i < 12; ++i)
  {
    const double x0 = std::floor(fw * i / 12.0) + 0.5;
    c.FillColour(
        x0 - 1, 8, x0 + 1, fh - 8,
        [=](double x, double y) { return Shape::Segment(x, y, x0, 10, x0, fh - 10, 0.5); },
        Studio::kWhite.WithAlpha(0.025f));
  }
  KickTrace(c, 40, fw - 40, fh * 0.72, fh * 0.17, 2.2f);
  studio.Engraved(c, studio.Condensed(), "KORVANE", 20, 10.0, fw * 0.5, 70, Studio::kLabel,
                  Studio::Align::Centre);
  Wordmark(c, "THUMPGEIST", 84, fw * 0.5, 186, Studio::Align::Centre);
  studio.Engraved(c, studio.Condensed(), "HARDCORE KICK  \xC2\xB7  BASS  \xC2\xB7  SYNTHESIZER", 16,
                  4.0, fw * 0.5, 236, Studio::kLabel, Studio::Align::Centre);
  studio.Text(c, studio.Condensed(), "VERSION 1.8  \xC2\xB7  FREE", 13, 3.0, fw * 0.5, fh - 24,
              Studio::kLabelDim, Studio::Align::Centre);
  return c;
}

Canvas BrandArt::FreeVersionText(int w, int h) const
{
  Canvas c(w, h);
  studio.Glowing(c, studio.Condensed(), "FREE VERSION", 15, 3.0, w * 0.5, 14, Studio::kAccent);
  studio.Text(c, studio.Regular(), "Free for your music, commercial or not. Play it loud.", 12, 0.2,
              w * 0.5, 42, Studio::kLabel, Studio::Align::Centre);
  return c;
}

Canvas BrandArt::TeamText(int w, int h) const
{
  Canvas c(w, h);
  studio.Glowing(c, studio.Condensed(), "MADE BY KORVANE", 15, 3.0, w * 0.5, 14, Studio::kAccent);
  studio.Text(c, studio.Regular(), "Sound design  \xC2\xB7  DSP  \xC2\xB7  Code  \xC2\xB7  Artwork",
              12, 0.2, w * 0.5, 50, Studio::kLabel, Studio::Align::Centre);
  studio.Text(c, studio.Regular(), "Thanks to everyone who tests, breaks and loves kicks.", 12, 0.2,
              w * 0.5, 74, Studio::kLabelDim, Studio::Align::Centre);
  return c;
}

Canvas BrandArt::Badge(int w, int h, const std::string& text) const
{
  Canvas c(w, h);
  const double fw = w;
  const double fh = h;
  c.FillColour(
      0, 0, fw, fh,
      [=](double x, double y) { return Shape::RoundRect(x, y, 0.5, 0.5, fw - 0.5, fh - 0.5, 3.0); },
      Studio::kLabelDim);
  c.FillColour(
      0, 0, fw, fh,
      [=](double x, double y) { return Shape::RoundRect(x, y, 1.5, 1.5, fw - 1.5, fh - 1.5, 2.0); },
      Colour::Hex(0x0c0d0f));
  studio.TextCentred(c, studio.Bold(), text, 12, 0.5, fw * 0.5, fh * 0.5, Studio::kLabel);
  return c;
}

Canvas BrandArt::PluginBadge(int w, int h) const
{
  Canvas c = Badge(w, h, "");
  studio.Text(c, studio.Bold(), "VST", 26, 1.0, w * 0.5, h * 0.62, Studio::kWhite,
              Studio::Align::Centre);
  studio.Text(c, studio.Condensed(), "2.4  PLUG-IN", 9, 1.8, w * 0.5, h - 6.0, Studio::kAccentHot,
              Studio::Align::Centre);
  return c;
}

Canvas BrandArt::WebIcon(int size) const
{
  Canvas c(size, size);
  const double s = size;
  const double m = s * 0.5;
  c.FillColour(
      0, 0, s, s,
      [=](double x, double y) { return Shape::Circle(x, y, m + 0.5, m + 1.0, m - 1.0); },
      Studio::kBlack.WithAlpha(0.8f));
  c.Fill(
      0, 0, s, s, [=](double x, double y) { return Shape::Circle(x, y, m, m, m - 2.0); },
      [=](double x, double y)
      {
        const double t = std::clamp(((x - m) + (y - m)) / (2.2 * m) + 0.5, 0.0, 1.0);
        return Colour::Hex(0x4e535b).Mix(Colour::Hex(0x141518), float(t));
      });
  const double r = m * 0.55;
  const Colour line = Studio::kAccentHot;
  c.FillColour(
      0, 0, s, s, [=](double x, double y) { return Shape::Ring(x, y, m, m, r, 0.9); }, line);
  c.FillColour(
      0, 0, s, s,
      [=](double x, double y)
      {
        // The meridian: an ellipse half as wide as the globe.
        const double ex = (x - m) / (r * 0.45);
        const double ey = (y - m) / r;
        return std::fabs(std::hypot(ex, ey) - 1.0) * r * 0.45 - 0.8;
      },
      line);
  c.FillColour(
      0, 0, s, s, [=](double x, double y) { return Shape::Segment(x, y, m - r, m, m + r, m, 0.8); },
      line);
  c.FillColour(
      0, 0, s, s, [=](double x, double y) { return Shape::Segment(x, y, m, m - r, m, m + r, 0.8); },
      line);
  return c;
}

Canvas BrandArt::SocialIcon(int size) const
{
  Canvas c(size, size);
  const double s = size;
  const double m = s * 0.5;
  c.FillColour(
      0, 0, s, s,
      [=](double x, double y) { return Shape::Circle(x, y, m + 0.5, m + 1.0, m - 1.0); },
      Studio::kBlack.WithAlpha(0.8f));
  c.Fill(
      0, 0, s, s, [=](double x, double y) { return Shape::Circle(x, y, m, m, m - 2.0); },
      [=](double x, double y)
      {
        const double t = std::clamp(((x - m) + (y - m)) / (2.2 * m) + 0.5, 0.0, 1.0);
        return Colour::Hex(0x4e535b).Mix(Colour::Hex(0x141518), float(t));
      });
  const double l = m - s * 0.26;
  const double r = m + s * 0.26;
  const double t = m - s * 0.19;
  const double b = m + s * 0.1;
  c.FillColour(
      0, 0, s, s,
      [=](double x, double y)
      {
        return std::min(Shape::RoundRect(x, y, l, t, r, b, 4.0),
                        Shape::Triangle(x, y, l + 5, b - 1, l + 12, b - 1, l + 4, b + s * 0.12));
      },
      Studio::kAccentHot);
  for (int i = -1; i <= 1; ++i)
  {
    const double cx = m + i * s * 0.12;
    const double cy = (t + b) * 0.5;
    c.FillColour(
        0, 0, s, s, [=](double x, double y) { return Shape::Circle(x, y, cx, cy, s * 0.04); },
        Colour::Hex(0x141518));
  }
  return c;
}

Canvas BrandArt::Tagline(int w, int h) const
{
  Canvas c(w, h);
  const std::string main = "BASS & KICK DESIGN TOOL";
  studio.Engraved(c, studio.Condensed(), main, 12, 2.4, 0, h * 0.5 + 5, Studio::kLabel);
  const double after = studio.Condensed().Measure(main, 12, 2.4) + 10;
  studio.Glowing(c, studio.Condensed(), "FREE", 12, 2.4, after, h * 0.5, Studio::kAccent,
                 Studio::Align::Left);
  return c;
}
