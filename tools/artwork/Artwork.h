#pragma once
// Every image the editor loads, by resource number and file name (relative to
// resources/img/korvane/), with the frames it holds and how it is drawn. Writing them
// all is what the build embeds; the contact sheet shows them side by side for review.
#include "tools/artwork/Studio.h"

#include <functional>
#include <string>
#include <vector>

class Artwork
{
public:
  struct Image
  {
    int number;
    std::string file;
    int frames; // frames stacked vertically, 1 for a still image
    std::function<Canvas()> draw;
  };

  explicit Artwork(const Studio& s);

  // In ascending number order; two numbers may share one file.
  const std::vector<Image>& Images() const { return images; }

  // Draws every file once and writes it below folder (creating subfolders) at the
  // given compression level. On failure error names the file and false is returned.
  bool WriteAll(const std::string& folder, int level, std::string& error) const;
  // One PNG showing every image (knob strips as a row of sample frames) with its
  // number and name.
  bool WriteSheet(const std::string& path, std::string& error) const;

private:
  const Studio& studio;
  std::vector<Image> images;
};
