#include "tools/artwork/ControlArt.h"

#include "tools/artwork/Shape.h"

#include <cmath>

namespace
{
constexpr double kStartAngle = -135.0;
constexpr double kSweep = 270.0;

double AngleOfValue(double value) { return kStartAngle + kSweep * value; }

// The label size that fits a button frame.
int LabelSize(int frameHeight) { return frameHeight >= 28 ? 12 : frameHeight >= 20 ? 10 : 9; }
} // namespace

Canvas ControlArt::Stack(const std::vector<Canvas>& frames)
{
  int h = 0;
  for (const Canvas& f : frames)
    h += f.Height();
  Canvas strip(frames.empty() ? 0 : frames.front().Width(), h);
  int y = 0;
  for (const Canvas& f : frames)
  {
    strip.Draw(f, 0, y);
    y += f.Height();
  }
  return strip;
}

Canvas ControlArt::KnobBase(int size, const std::vector<double>& ticks, const Colour& tint) const
{
  Canvas base(size, size);
  const double c = size * 0.5;
  const double ringHalf = std::max(1.1, size * 0.038);
  const double ringRadius = c - 1.2 - ringHalf;
  const double bodyRadius = ringRadius - ringHalf - std::max(2.2, size * 0.065);
  const double s = size;

  // The dark track of the value ring, with a tick for each state.
  base.FillColour(
      0, 0, s, s,
      [=](double x, double y)
      { return Shape::Arc(x, y, c, c, ringRadius, ringHalf + 0.5, kStartAngle, -kStartAngle); },
      Colour::Hex(0x050505));
  base.FillColour(
      0, 0, s, s,
      [=](double x, double y)
      { return Shape::Arc(x, y, c, c, ringRadius, ringHalf - 0.3, kStartAngle, -kStartAngle); },
      Colour::Hex(0x1d0c08));
  for (double t : ticks)
  {
    double px = 0.0;
    double py = 0.0;
    Shape::PointAt(c, c, ringRadius, AngleOfValue(t), px, py);
    base.FillColour(
        0, 0, s, s,
        [=](double x, double y) { return Shape::Circle(x, y, px, py, ringHalf * 0.55); },
        Colour::Hex(0x8a9098));
  }

  // The body's shadow on the panel, then the body lit from the top left.
  Studio::Glow(base, std::max(1, size / 20), 0.85f,
               [&](Canvas& layer)
               {
                 layer.FillColour(
                     0, 0, s, s,
                     [=](double x, double y)
                     { return Shape::Circle(x, y, c + 0.8, c + 1.6, bodyRadius + 0.6); },
                     Studio::kBlack);
               });
  const Colour light = Studio::kSteelLight.Mix(tint, 0.18f).Mix(Studio::kWhite, 0.08f);
  const Colour dark = Colour::Hex(0x121316).Mix(tint, 0.08f);
  auto diagonal = [=](double x, double y)
  { return std::clamp(((x - c) + (y - c)) / (2.4 * bodyRadius) + 0.5, 0.0, 1.0); };
  base.FillColour(
      0, 0, s, s, [=](double x, double y) { return Shape::Circle(x, y, c, c, bodyRadius + 0.6); },
      Colour::Hex(0x030303));
  base.Fill(
      0, 0, s, s, [=](double x, double y) { return Shape::Circle(x, y, c, c, bodyRadius); },
      [=](double x, double y) { return light.Mix(dark, float(diagonal(x, y))); });
  // The cap, machined slightly concave: lit the other way round, with a soft sheen.
  const double capRadius = bodyRadius * 0.76;
  const Colour capLight = Colour::Hex(0x40454d).Mix(tint, 0.12f);
  const Colour capDark = Colour::Hex(0x1a1c20);
  base.Fill(
      0, 0, s, s, [=](double x, double y) { return Shape::Circle(x, y, c, c, capRadius); },
      [=](double x, double y)
      {
        const Colour body = capDark.Mix(capLight, float(diagonal(x, y)));
        const double d =
            std::hypot(x - (c - capRadius * 0.35), y - (c - capRadius * 0.4)) / capRadius;
        return body.Mix(Studio::kWhite, float(std::max(0.0, 0.8 - d) * 0.12));
      });
  base.FillColour(
      0, 0, s, s, [=](double x, double y) { return Shape::Ring(x, y, c, c, capRadius, 0.45); },
      Studio::kBlack.WithAlpha(0.45f));
  // The rim catches the light at the top left.
  base.Fill(
      0, 0, s, s,
      [=](double x, double y)
      { return Shape::Arc(x, y, c, c, bodyRadius - 0.7, 0.55, -100.0, 10.0); },
      [=](double x, double y)
      {
        const double a = Shape::AngleOf(x, y, c, c);
        const double strength = std::max(0.0, 1.0 - std::fabs(a + 45.0) / 60.0);
        return Studio::kWhite.WithAlpha(float(0.55 * strength));
      });
  return base;
}

Canvas ControlArt::Knob(int size, bool bipolar, int states, const Colour& tint) const
{
  const int frames = states > 0 ? states : kKnobFrames;
  std::vector<double> ticks;
  if (states > 0)
    for (int k = 0; k < states; ++k)
      ticks.push_back(states > 1 ? double(k) / (states - 1) : 0.0);
  else if (bipolar)
    ticks.push_back(0.5);
  const Canvas base = KnobBase(size, ticks, tint);
  const double c = size * 0.5;
  const double s = size;
  const double ringHalf = std::max(1.1, size * 0.038);
  const double ringRadius = c - 1.2 - ringHalf;
  const double bodyRadius = ringRadius - ringHalf - std::max(2.2, size * 0.065);

  std::vector<Canvas> strip;
  for (int f = 0; f < frames; ++f)
  {
    const double value = frames > 1 ? double(f) / (frames - 1) : 0.0;
    const double angle = AngleOfValue(value);
    const double origin = bipolar ? 0.0 : kStartAngle;
    const double from = std::min(origin, angle);
    const double to = std::max(origin, angle);
    Canvas frame = base;
    // The lit part of the ring, glowing, hotter towards the top of the range.
    auto arc = [=](double x, double y)
    { return Shape::Arc(x, y, c, c, ringRadius, ringHalf - 0.2, from, to); };
    auto heat = [=](double x, double y)
    {
      const double a = Shape::AngleOf(x, y, c, c);
      return Studio::kAccentDeep
          .Mix(Studio::kAccent, float(std::clamp((a - kStartAngle) / 135.0, 0.0, 1.0)))
          .Mix(Studio::kAccentHot, float(std::clamp((a) / 135.0, 0.0, 1.0)));
    };
    const bool lit = to - from > 0.5 || !bipolar;
    if (lit)
    {
      Studio::Glow(frame, std::max(1, size / 22), 0.8f,
                   [&](Canvas& layer) { layer.Fill(0, 0, s, s, arc, heat); });
      frame.Fill(0, 0, s, s, arc, heat);
    }
    // The pointer: a light line on the cap with a dark edge.
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    Shape::PointAt(c, c, bodyRadius * 0.22, angle, x1, y1);
    Shape::PointAt(c, c, bodyRadius * 0.9, angle, x2, y2);
    const double half = std::max(0.85, size * 0.027);
    frame.FillColour(
        0, 0, s, s,
        [=](double x, double y) { return Shape::Segment(x, y, x1, y1, x2, y2, half + 0.8); },
        Studio::kBlack.WithAlpha(0.55f));
    frame.FillColour(
        0, 0, s, s, [=](double x, double y) { return Shape::Segment(x, y, x1, y1, x2, y2, half); },
        Colour::Hex(0xf4f4f2));
    strip.push_back(std::move(frame));
  }
  return Stack(strip);
}

Canvas ControlArt::OnOffSwitch(int size) const
{
  std::vector<Canvas> frames;
  const double c = size * 0.5;
  const double s = size;
  for (int lit = 0; lit < 2; ++lit)
  {
    Canvas f(size, size);
    f.FillColour(
        0, 0, s, s,
        [=](double x, double y) { return Shape::Circle(x, y, c + 0.4, c + 0.9, c - 0.8); },
        Studio::kBlack.WithAlpha(0.7f));
    f.Fill(
        0, 0, s, s, [=](double x, double y) { return Shape::Circle(x, y, c, c, c - 1.6); },
        [=](double x, double y)
        {
          const double t = std::clamp(((x - c) + (y - c)) / (2.2 * c) + 0.5, 0.0, 1.0);
          return Studio::kSteelLight.Mix(Colour::Hex(0x131417), float(t));
        });
    studio.Led(f, c, c, c * 0.42, Studio::kAccent, lit == 1);
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

Canvas ControlArt::Stepper(int size, bool right) const
{
  std::vector<Canvas> frames;
  const double s = size;
  for (int pressed = 0; pressed < 2; ++pressed)
  {
    Canvas f(size, size);
    studio.SteelBody(f, 0.5, 0.5, s - 0.5, s - 0.5, 3.0, pressed == 1);
    const double cx = s * 0.5 + (right ? 0.6 : -0.6);
    const double cy = s * 0.5 - 0.5;
    const double w = s * 0.18;
    const double h = s * 0.22;
    const Colour colour = pressed ? Studio::kAccentHot : Studio::kLabel;
    f.FillColour(
        0, 0, s, s,
        [=](double x, double y)
        {
          return right ? Shape::Triangle(x, y, cx - w, cy - h, cx + w, cy, cx - w, cy + h)
                       : Shape::Triangle(x, y, cx + w, cy - h, cx - w, cy, cx + w, cy + h);
        },
        colour);
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

Canvas ControlArt::PlusMinus(int size, bool plus) const
{
  std::vector<Canvas> frames;
  const double s = size;
  for (int pressed = 0; pressed < 2; ++pressed)
  {
    Canvas f(size, size);
    studio.SteelBody(f, 0.5, 0.5, s - 0.5, s - 0.5, 3.5, pressed == 1);
    const double c = s * 0.5;
    const double arm = s * 0.22;
    const Colour colour = pressed ? Studio::kAccentHot : Studio::kLabel;
    f.FillColour(
        0, 0, s, s,
        [=](double x, double y)
        { return Shape::Segment(x, y, c - arm, c - 0.5, c + arm, c - 0.5, 1.1); },
        colour);
    if (plus)
      f.FillColour(
          0, 0, s, s,
          [=](double x, double y)
          { return Shape::Segment(x, y, c, c - 0.5 - arm, c, c - 0.5 + arm, 1.1); },
          colour);
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

void ControlArt::Label(Canvas& c, const std::string& label, double cx, double cy, int size,
                       double room, bool lit) const
{
  // Long labels step down in size until they fit the room they have.
  while (size > 7 && studio.Condensed().Measure(label, size, 0.6) > room)
    --size;
  if (lit)
    studio.Glowing(c, studio.Condensed(), label, size, 0.6, cx, cy, Studio::kAccentHot);
  else
    studio.TextCentred(c, studio.Condensed(), label, size, 0.6, cx, cy,
                       Studio::kLabel.Mix(Studio::kBlack, 0.15f));
}

Canvas ControlArt::Toggle(int w, int frameHeight, const std::string& label) const
{
  std::vector<Canvas> frames;
  const double fw = w;
  const double fh = frameHeight;
  const double led = std::max(2.0, fh * 0.14);
  for (int on = 0; on < 2; ++on)
  {
    Canvas f(w, frameHeight);
    studio.SteelBody(f, 0.5, 0.5, fw - 0.5, fh - 0.5, 3.0, on == 1);
    studio.Led(f, 4.5 + led, fh * 0.5 - 0.5, led, Studio::kAccent, on == 1);
    Label(f, label, (fw + 4 + 2 * led) * 0.5 + 2, fh * 0.5 - 0.5, LabelSize(frameHeight),
          fw - 12 - 2 * led, on == 1);
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

Canvas ControlArt::Action(int w, int frameHeight, const std::string& label) const
{
  std::vector<Canvas> frames;
  for (int pressed = 0; pressed < 2; ++pressed)
  {
    Canvas f(w, frameHeight);
    studio.SteelBody(f, 0.5, 0.5, w - 0.5, frameHeight - 0.5, 3.0, pressed == 1);
    Label(f, label, w * 0.5, frameHeight * 0.5 - 0.5, LabelSize(frameHeight), w - 8.0,
          pressed == 1);
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

Canvas ControlArt::Modes(int w, int frameHeight, const std::vector<std::string>& labels) const
{
  std::vector<Canvas> frames;
  const double fh = frameHeight;
  const int n = int(labels.size());
  for (int k = 0; k < n; ++k)
  {
    Canvas f(w, frameHeight);
    studio.SteelBody(f, 0.5, 0.5, w - 0.5, fh - 0.5, 3.0, false);
    // One pip per mode down the left edge, the current one lit.
    const double pipGap = std::min(3.5, (fh - 6.0) / n);
    const double top = fh * 0.5 - 0.5 - pipGap * (n - 1) * 0.5;
    for (int p = 0; p < n; ++p)
    {
      const double py = top + p * pipGap;
      const Colour pip = p == k ? Studio::kAccentHot : Colour::Hex(0x0a0a0b);
      f.FillColour(
          2, py - 2, 8, py + 2,
          [=](double x, double y) { return Shape::Segment(x, y, 4.0, py, 6.5, py, 0.7); }, pip);
    }
    Label(f, labels[std::size_t(k)], (w + 8) * 0.5, fh * 0.5 - 0.5, LabelSize(frameHeight),
          w - 16.0, true);
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

Canvas ControlArt::Arrow(int w, int frameHeight, bool right) const
{
  std::vector<Canvas> frames;
  for (int pressed = 0; pressed < 2; ++pressed)
  {
    Canvas f(w, frameHeight);
    studio.SteelBody(f, 0.5, 0.5, w - 0.5, frameHeight - 0.5, 3.0, pressed == 1);
    const double cx = w * 0.5;
    const double cy = frameHeight * 0.5 - 0.5;
    const double a = frameHeight * 0.22;
    const Colour colour = pressed ? Studio::kAccentHot : Studio::kLabel;
    const double dir = right ? 1.0 : -1.0;
    f.FillColour(
        0, 0, w, frameHeight,
        [=](double x, double y)
        {
          const double shaft =
              Shape::Segment(x, y, cx - dir * a * 1.6, cy, cx + dir * a * 0.4, cy, 1.0);
          const double head = Shape::Triangle(x, y, cx + dir * a * 1.6, cy, cx + dir * 0.1, cy - a,
                                              cx + dir * 0.1, cy + a);
          return std::min(shaft, head);
        },
        colour);
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

Canvas ControlArt::Tab(int w, int frameHeight, const std::string& label) const
{
  std::vector<Canvas> frames;
  const double fw = w;
  const double fh = frameHeight;
  for (int lit = 0; lit < 2; ++lit)
  {
    Canvas f(w, frameHeight);
    f.FillColour(
        0, 0, fw, fh,
        [=](double x, double y)
        { return Shape::RoundRect(x, y, 0.5, 0.5, fw - 0.5, fh - 0.5, 3.0); },
        Colour::Hex(0x050506));
    const Colour top = lit ? Colour::Hex(0x33363c) : Colour::Hex(0x202226);
    const Colour bottom = lit ? Colour::Hex(0x1c1e22) : Colour::Hex(0x141518);
    f.Fill(
        0, 0, fw, fh,
        [=](double x, double y)
        { return Shape::RoundRect(x, y, 1.5, 1.5, fw - 1.5, fh - 1.5, 2.0); },
        [=](double, double y) { return top.Mix(bottom, float(y / fh)); });
    if (lit)
    {
      Studio::Glow(f, 2, 1.0f,
                   [&](Canvas& layer)
                   {
                     layer.FillColour(
                         0, 0, fw, fh,
                         [=](double x, double y)
                         { return Shape::RoundRect(x, y, 8, fh - 5, fw - 8, fh - 2.5, 1.0); },
                         Studio::kAccent);
                   });
      f.FillColour(
          0, 0, fw, fh,
          [=](double x, double y)
          { return Shape::RoundRect(x, y, 8, fh - 5, fw - 8, fh - 2.5, 1.0); },
          Studio::kAccentHot);
      studio.TextCentred(f, studio.Condensed(), label, 11, 1.5, fw * 0.5, fh * 0.5 - 2,
                         Studio::kWhite);
    }
    else
    {
      f.FillColour(
          0, 0, fw, fh,
          [=](double x, double y)
          { return Shape::RoundRect(x, y, 8, fh - 5, fw - 8, fh - 2.5, 1.0); },
          Colour::Hex(0x0a0a0b));
      studio.TextCentred(f, studio.Condensed(), label, 11, 1.5, fw * 0.5, fh * 0.5 - 2,
                         Studio::kLabelDim);
    }
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

Canvas ControlArt::TraceButton(int w, int frameHeight, const std::string& label,
                               const Colour& led) const
{
  std::vector<Canvas> frames;
  const double fh = frameHeight;
  const double r = std::max(2.0, fh * 0.16);
  for (int on = 0; on < 2; ++on)
  {
    Canvas f(w, frameHeight);
    studio.SteelBody(f, 0.5, 0.5, w - 0.5, fh - 0.5, 3.0, on == 1);
    studio.Led(f, 5 + r, fh * 0.5 - 0.5, r, led, on == 1);
    const Colour text = on ? Studio::kWhite : Studio::kLabelDim;
    studio.TextCentred(f, studio.Condensed(), label, LabelSize(frameHeight), 0.6,
                       (w + 6 + 2 * r) * 0.5 + 2, fh * 0.5 - 0.5, text);
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

Canvas ControlArt::FillMode(int w, int frameHeight) const
{
  static const char* const kNames[] = {"HOLLOW", "HALF", "FILLED"};
  std::vector<Canvas> frames;
  const double fh = frameHeight;
  for (int mode = 0; mode < 3; ++mode)
  {
    Canvas f(w, frameHeight);
    studio.SteelBody(f, 0.5, 0.5, w - 0.5, fh - 0.5, 3.0, false);
    // A little trace in the mode's look.
    const double cy = fh * 0.5 - 0.5;
    const double amp = fh * 0.28;
    for (int x = 5; x < 21; ++x)
    {
      const double v = std::sin((x - 5) / 16.0 * 2.0 * Shape::kPi) * amp;
      const double px = x + 0.5;
      if (mode == 2)
        f.FillColour(
            x, cy - amp - 1, x + 1, cy + amp + 1,
            [=](double xx, double y)
            { return Shape::Segment(xx, y, px, cy - std::fabs(v), px, cy + std::fabs(v), 0.5); },
            Studio::kAccent);
      else
      {
        if (mode == 1)
          f.FillColour(
              x, cy - amp - 1, x + 1, cy + amp + 1,
              [=](double xx, double y) { return Shape::Segment(xx, y, px, cy, px, cy - v, 0.5); },
              Studio::kAccent.WithAlpha(0.45f));
        const double vn = std::sin((x - 4) / 16.0 * 2.0 * Shape::kPi) * amp;
        f.FillColour(
            x - 1, cy - amp - 2, x + 2, cy + amp + 2,
            [=](double xx, double y)
            { return Shape::Segment(xx, y, px, cy - v, px + 1, cy - vn, 0.6); },
            Studio::kAccentHot);
      }
    }
    studio.TextCentred(f, studio.Condensed(), kNames[mode], LabelSize(frameHeight), 0.6,
                       (w + 22) * 0.5, cy, Studio::kLabel);
    frames.push_back(std::move(f));
  }
  return Stack(frames);
}

Canvas ControlArt::SliderTrack(int w, int h) const
{
  Canvas f(w, h);
  const double fw = w;
  const double fh = h;
  studio.Recess(f, 0.5, 0.5, fw - 0.5, fh - 1.0, fh * 0.5 - 1.0);
  // The slot the handle runs in, and ticks at the quarters.
  const double cy = fh * 0.5 - 0.5;
  f.FillColour(
      0, 0, fw, fh,
      [=](double x, double y) { return Shape::Segment(x, y, 6, cy, fw - 6, cy, 1.0); },
      Colour::Hex(0x2a0e08));
  for (int k = 0; k <= 4; ++k)
  {
    const double x0 = 7.0 + (fw - 14.0) * k / 4.0;
    f.FillColour(
        0, 0, fw, fh,
        [=](double x, double y) { return Shape::Segment(x, y, x0, 2.5, x0, 3.5, 0.5); },
        Studio::kLabelDim.WithAlpha(0.8f));
  }
  return f;
}

Canvas ControlArt::SliderHandle(int size) const
{
  Canvas f(size, size);
  const double s = size;
  const double c = s * 0.5;
  f.FillColour(
      0, 0, s, s,
      [=](double x, double y) { return Shape::Circle(x, y, c + 0.3, c + 0.8, c - 0.3); },
      Studio::kBlack.WithAlpha(0.8f));
  f.Fill(
      0, 0, s, s, [=](double x, double y) { return Shape::Circle(x, y, c, c, c - 1.0); },
      [=](double x, double y)
      {
        const double t = std::clamp(((x - c) + (y - c)) / (2.0 * c) + 0.5, 0.0, 1.0);
        return Colour::Hex(0x8a9099).Mix(Colour::Hex(0x1c1e22), float(t));
      });
  f.FillColour(
      0, 0, s, s,
      [=](double x, double y) { return Shape::Segment(x, y, c, c - 2.5, c, c + 2.0, 1.0); },
      Studio::kAccentHot);
  return f;
}
