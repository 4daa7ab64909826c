#include "editor/core/BitmapCache.h"

#include "editor/raster/LICE_IBitmap.h"
#include "plugin/platform/PlatformLock.h"

#include <memory>
#include <utility>
#include <vector>

namespace
{
struct Bitmaps
{
  PlatformLock lock;
  std::vector<std::pair<int, std::unique_ptr<LICE_IBitmap>>> entries;
};

Bitmaps& TheBitmaps()
{
  static Bitmaps bitmaps;
  return bitmaps;
}
} // namespace

LICE_IBitmap* BitmapCache::Find(int number)
{
  Bitmaps& b = TheBitmaps();
  PlatformLockGuard guard(b.lock);
  for (auto& e : b.entries)
    if (e.first == number)
      return e.second.get();
  return nullptr;
}

LICE_IBitmap* BitmapCache::Add(int number, LICE_IBitmap* bitmap)
{
  std::unique_ptr<LICE_IBitmap> owned(bitmap);
  if (!owned)
    return nullptr;
  Bitmaps& b = TheBitmaps();
  PlatformLockGuard guard(b.lock);
  for (auto& e : b.entries)
    if (e.first == number)
      return e.second.get();
  b.entries.emplace_back(number, std::move(owned));
  return b.entries.back().second.get();
}

int BitmapCache::Size()
{
  Bitmaps& b = TheBitmaps();
  PlatformLockGuard guard(b.lock);
  return int(b.entries.size());
}

void BitmapCache::Clear()
{
  Bitmaps& b = TheBitmaps();
  PlatformLockGuard guard(b.lock);
  b.entries.clear();
}
