#pragma once
// The editor's large pictures and its name: the background with the section panels,
// the header plate, the logo, the texts and badges of the About page, the link icons
// and the tagline.
#include "tools/artwork/Studio.h"

class BrandArt
{
public:
  explicit BrandArt(const Studio& s) : studio(s) {}

  // The whole editor, 1220 x 835: brushed dark chassis, the section panels with their
  // engraved titles, screws and the bottom bar.
  Canvas Background() const;
  // The header plate across the top with the instrument's name.
  Canvas Header(int w, int h) const;
  // The About page's logo plate with the name over a kick's waveform.
  Canvas Logo(int w, int h) const;
  Canvas FreeVersionText(int w, int h) const;
  Canvas TeamText(int w, int h) const;
  // A small badge with a word ("x64").
  Canvas Badge(int w, int h, const std::string& text) const;
  Canvas PluginBadge(int w, int h) const;
  // Round link buttons: the web page (a globe) and the social page (a speech bubble).
  Canvas WebIcon(int size) const;
  Canvas SocialIcon(int size) const;
  Canvas Tagline(int w, int h) const;

private:
  void Screw(Canvas& c, double cx, double cy, double r, double slot) const;
  void Wordmark(Canvas& c, const std::string& text, int size, double x, double y,
                Studio::Align align) const;
  void KickTrace(Canvas& c, double left, double right, double cy, double amplitude,
                 float width) const;

  const Studio& studio;
};
