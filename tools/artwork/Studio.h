#pragma once
// The look shared by every image of the editor: the palette, the type faces, and the
// drawing of the parts that recur (panels with engraved titles, recessed glass,
// bevelled steel bodies, LEDs, glows, labels). Light falls from the top left.
#include "tools/artwork/Canvas.h"
#include "tools/artwork/TextFace.h"

#include <cmath>
#include <string>

class Studio
{
public:
  // Near-black steel, a hot red-orange for everything that is live.
  static constexpr Colour kChassisTop = Colour::Hex(0x16171a);
  static constexpr Colour kChassisBottom = Colour::Hex(0x0b0c0e);
  static constexpr Colour kPanelTop = Colour::Hex(0x222428);
  static constexpr Colour kPanelBottom = Colour::Hex(0x16171a);
  static constexpr Colour kSteelLight = Colour::Hex(0x5d636c);
  static constexpr Colour kSteelDark = Colour::Hex(0x1e2024);
  static constexpr Colour kLabel = Colour::Hex(0xc8cdd5);
  static constexpr Colour kLabelDim = Colour::Hex(0x80868f);
  static constexpr Colour kAccent = Colour::Hex(0xff4a12);
  static constexpr Colour kAccentHot = Colour::Hex(0xff9a2e);
  static constexpr Colour kAccentDeep = Colour::Hex(0xb8140a);
  static constexpr Colour kGlassTop = Colour::Hex(0x040506);
  static constexpr Colour kGlassBottom = Colour::Hex(0x0c0e11);
  static constexpr Colour kBlack = Colour::Hex(0x000000);
  static constexpr Colour kWhite = Colour::Hex(0xffffff);

  enum class Align
  {
    Left,
    Centre,
    Right
  };

  // Opens the type faces; false when a face is missing (fonts-dejavu-core).
  bool Open();

  // The faces: condensed bold for labels and titles, bold for the name, regular for
  // running text.
  const TextFace& Condensed() const { return condensed; }
  const TextFace& Bold() const { return bold; }
  const TextFace& BoldOblique() const { return boldOblique; }
  const TextFace& Regular() const { return regular; }

  // Text with its baseline at y; x is the left edge, centre or right edge by align.
  void Text(Canvas& canvas, const TextFace& face, const std::string& text, int size, double spacing,
            double x, double y, const Colour& colour, Align align = Align::Left) const;
  // The same, vertically centred on the capitals at cy.
  void TextCentred(Canvas& canvas, const TextFace& face, const std::string& text, int size,
                   double spacing, double x, double cy, const Colour& colour,
                   Align align = Align::Centre) const;
  // Text cut into the metal: a dark edge above and a faint lit edge below the letters.
  void Engraved(Canvas& canvas, const TextFace& face, const std::string& text, int size,
                double spacing, double x, double y, const Colour& colour,
                Align align = Align::Left) const;
  // Lit text with a soft glow of its colour around it.
  void Glowing(Canvas& canvas, const TextFace& face, const std::string& text, int size,
               double spacing, double x, double cy, const Colour& colour,
               Align align = Align::Centre) const;

  // A section panel [left, right) x [top, bottom) with its engraved title (none for ""),
  // followed by a groove to the right edge on panels 80 pixels high or more.
  void Panel(Canvas& canvas, int left, int top, int right, int bottom,
             const std::string& title) const;
  // A recessed dark glass window.
  void Recess(Canvas& canvas, double left, double top, double right, double bottom,
              double corner) const;
  // A bevelled steel body, raised or pressed in.
  void SteelBody(Canvas& canvas, double left, double top, double right, double bottom,
                 double corner, bool pressed) const;
  // A round LED of radius r in colour, lit or dark.
  void Led(Canvas& canvas, double cx, double cy, double r, const Colour& colour, bool lit) const;
  // A thin groove (dark line with a lit edge below) from x1 to x2 at y.
  void Groove(Canvas& canvas, double x1, double x2, double y) const;
  // A vertical groove from y1 to y2 at x.
  void GrooveVertical(Canvas& canvas, double x, double y1, double y2) const;

  // Draws `draw` into a layer covering [left, right) x [top, bottom) of the canvas
  // (with room for the blur), blurs it and composites it.
  template <class Draw>
  static void Glow(Canvas& canvas, double left, double top, double right, double bottom, int radius,
                   float opacity, Draw draw)
  {
    const int margin = 3 * radius + 2;
    const int x0 = int(std::floor(left)) - margin;
    const int y0 = int(std::floor(top)) - margin;
    Canvas layer(int(std::ceil(right)) + margin - x0, int(std::ceil(bottom)) + margin - y0, x0, y0);
    draw(layer);
    layer.Blur(radius);
    canvas.Draw(layer, x0, y0, opacity);
  }
  // The same over the whole canvas.
  template <class Draw>
  static void Glow(Canvas& canvas, int radius, float opacity, Draw draw)
  {
    Glow(canvas, canvas.Left(), canvas.Top(), canvas.Left() + canvas.Width(),
         canvas.Top() + canvas.Height(), radius, opacity, draw);
  }

private:
  TextFace condensed;
  TextFace bold;
  TextFace boldOblique;
  TextFace regular;
};
