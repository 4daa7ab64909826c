#pragma once
// The module-wide font cache: every editor instance of the module finds its fonts here
// by size, orientation, style and face name. A font is made on the first request for
// its keys and kept until the module unloads.
#include "editor/core/IGraphicsStructs.h"

class LICE_CachedFont;

class FontCache
{
public:
  // The font for the style's keys, made on a miss; null when no font can be made.
  static LICE_CachedFont* Find(const IText& style);
  // Fonts held.
  static int Size();
  // Destroys every font (the module is unloading, or a test starts afresh).
  static void Clear();
};
