// Linux side of the platform lock: a recursive std::mutex.
#include "plugin/platform/PlatformLock.h"

#include <mutex>
#include <new>

namespace
{
using Impl = std::recursive_mutex;
static_assert(sizeof(Impl) <= 64, "platform lock storage too small");
Impl& ImplOf(unsigned char* storage) { return *std::launder(reinterpret_cast<Impl*>(storage)); }
} // namespace

PlatformLock::PlatformLock() { new (storage) Impl(); }
PlatformLock::~PlatformLock() { ImplOf(storage).~Impl(); }
void PlatformLock::Enter() { ImplOf(storage).lock(); }
void PlatformLock::Leave() { ImplOf(storage).unlock(); }

PlatformLock& CreationLock()
{
  // A function-local static: built on first use, destroyed when the module unloads.
  static PlatformLock lock;
  return lock;
}
