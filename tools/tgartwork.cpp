// tgartwork: draws every image of the editor (knob strips, switches, buttons, displays,
// background, logo and texts) and writes them as PNG files, the same bytes every run.
// The images in resources/img/korvane/ are this program's output:
//   tgartwork --out resources/img/korvane
// Options:
//   --out FOLDER   write every image below FOLDER (subfolders as in the file names)
//   --quick        compress quickly: the same pixels, other bytes (for checks)
//   --sheet FILE   write a contact sheet of all images into FILE
//   --list         print "number=file" for each image
#include "tools/artwork/Artwork.h"
#include "tools/artwork/PngWriter.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
int Usage()
{
  std::fprintf(stderr, "usage: tgartwork [--out FOLDER] [--quick] [--sheet FILE] [--list]\n");
  return 2;
}
} // namespace

int main(int argc, char** argv)
{
  std::string out;
  std::string sheet;
  bool list = false;
  int level = PngWriter::kBest;
  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc)
      out = argv[++i];
    else if (arg == "--sheet" && i + 1 < argc)
      sheet = argv[++i];
    else if (arg == "--quick")
      level = PngWriter::kQuick;
    else if (arg == "--list")
      list = true;
    else
      return Usage();
  }
  if (out.empty() && sheet.empty() && !list)
    return Usage();

  Studio studio;
  if (!studio.Open())
  {
    std::fprintf(stderr, "tgartwork: the DejaVu fonts are missing (fonts-dejavu-core)\n");
    return 1;
  }
  const Artwork artwork(studio);
  if (list)
    for (const Artwork::Image& image : artwork.Images())
      std::printf("%d=%s\n", image.number, image.file.c_str());
  std::string error;
  if (!out.empty() && !artwork.WriteAll(out, level, error))
  {
    std::fprintf(stderr, "tgartwork: %s\n", error.c_str());
    return 1;
  }
  if (!sheet.empty() && !artwork.WriteSheet(sheet, error))
  {
    std::fprintf(stderr, "tgartwork: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
