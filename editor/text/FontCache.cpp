#include "editor/text/FontCache.h"

#include "editor/text/LICE_CachedFont.h"
#include "plugin/platform/PlatformLock.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
struct Entry
{
  int size;
  int orientation;
  TextStyle style;
  char face[IText::kFaceLength];
  std::unique_ptr<LICE_CachedFont> font;
};

// Held together so that the list dies with its lock when the module unloads.
struct Fonts
{
  PlatformLock lock;
  std::vector<Entry> entries;
};

Fonts& TheFonts()
{
  static Fonts fonts;
  return fonts;
}
} // namespace

LICE_CachedFont* FontCache::Find(const IText& style)
{
  Fonts& fonts = TheFonts();
  PlatformLockGuard guard(fonts.lock);
  for (Entry& e : fonts.entries)
    if (e.size == style.size && e.orientation == style.orientation && e.style == style.style &&
        std::strncmp(e.face, style.font, IText::kFaceLength) == 0)
      return e.font.get();
  if (style.size <= 0)
    return nullptr;
  std::unique_ptr<GlyphRasterizer> rasterizer = GlyphRasterizer::Create(style);
  if (!rasterizer)
    return nullptr;
  Entry e{style.size, style.orientation, style.style, {}, nullptr};
  std::snprintf(e.face, sizeof(e.face), "%s", style.font);
  // ClearType cannot be kept as coverage masks: such fonts let the system draw.
  e.font = std::make_unique<LICE_CachedFont>(std::move(rasterizer),
                                             style.quality == TextQuality::ClearType);
  fonts.entries.push_back(std::move(e));
  return fonts.entries.back().font.get();
}

int FontCache::Size()
{
  Fonts& fonts = TheFonts();
  PlatformLockGuard guard(fonts.lock);
  return int(fonts.entries.size());
}

void FontCache::Clear()
{
  Fonts& fonts = TheFonts();
  PlatformLockGuard guard(fonts.lock);
  fonts.entries.clear();
}
