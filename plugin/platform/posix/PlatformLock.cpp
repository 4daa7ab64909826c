// Linux side of the platform lock: a recursive std::mutex.
#include "plugin/platform/PlatformLock.h"

#include <mutex>
#include <new>

namespace
{
using Impl = std::recursive_mutex;
static_assert(sizeof(Impl) <= 64, "platform lock storage too small");
Impl& impl(unsigned char* storage) { return *std::launder(reinterpret_cast<Impl*>(storage)); }
} // namespace

PlatformLock::PlatformLock() { new (mStorage) Impl(); }
PlatformLock::~PlatformLock() { impl(mStorage).~Impl(); }
void PlatformLock::Enter() { impl(mStorage).lock(); }
void PlatformLock::Leave() { impl(mStorage).unlock(); }

PlatformLock& CreationLock()
{
  // A function-local static: built on first use, destroyed when the module unloads.
  static PlatformLock lock;
  return lock;
}
