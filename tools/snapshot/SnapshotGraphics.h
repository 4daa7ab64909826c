#pragma once
// The editor drawn off-screen, as the snapshot tool and the benchmark use it: the
// platform-neutral graphics with no window. Images come from the module's resources;
// where the module holds none for a number (the artwork not yet built in), a
// placeholder of the named size and layout is drawn in code instead.
#include "editor/core/IGraphics.h"

class SnapshotGraphics : public IGraphics
{
public:
  SnapshotGraphics(IPlugBase* owner, int w, int h, bool usePlaceholders = true)
      : IGraphics(owner, w, h), placeholders(usePlaceholders)
  {
  }

  LICE_IBitmap* LoadPngResource(int number, const char* name) override;

  // Images that came from placeholders rather than the module.
  int PlaceholderCount() const { return placeholderCount; }

  // Writes the drawing surface as an RGBA PNG file; false when it cannot.
  bool WritePng(const char* path) const;

  // How the surface differs from a picture: the share of pixels whose red, green or
  // blue differs by more than a threshold, and the largest and mean channel difference.
  struct Difference
  {
    double share = 1.0;
    int largest = 255;
    double mean = 255.0;
  };
  // Compares the surface with the PNG file at path (its alpha is ignored, as the window
  // shows none); false when the file cannot be read or its size differs.
  bool Compare(const char* path, int threshold, Difference& difference) const;

private:
  bool placeholders;
  int placeholderCount = 0;
};
