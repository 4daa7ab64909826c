// Windows side of the platform lock: a critical section (recursive by nature).
#include "plugin/platform/PlatformLock.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace
{
static_assert(sizeof(CRITICAL_SECTION) <= 64, "platform lock storage too small");
static_assert(alignof(CRITICAL_SECTION) <= 16, "platform lock storage misaligned");
CRITICAL_SECTION* section(unsigned char* storage)
{
  return reinterpret_cast<CRITICAL_SECTION*>(storage);
}
} // namespace

PlatformLock::PlatformLock() { InitializeCriticalSection(section(storage)); }
PlatformLock::~PlatformLock() { DeleteCriticalSection(section(storage)); }
void PlatformLock::Enter() { EnterCriticalSection(section(storage)); }
void PlatformLock::Leave() { LeaveCriticalSection(section(storage)); }

PlatformLock& CreationLock()
{
  // Created on first use (the initialisation of a function-local static is itself
  // thread-safe); its destructor runs when the module is unloaded (DLL_PROCESS_DETACH
  // runs the module's static destructors), which deletes the critical section.
  static PlatformLock lock;
  return lock;
}
