// Linux side of the module seam: the module file is found with dladdr from an address
// inside it; images come from the table the build generates.
#include "plugin/platform/PlatformModule.h"
#include "plugin/platform/posix/PngResourceTable.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>

namespace
{
const char kAnchor = 0;

std::string Canonical(const char* path)
{
  char resolved[PATH_MAX];
  if (realpath(path, resolved))
    return resolved;
  return path;
}
} // namespace

std::string PlatformModule::FilePath()
{
  Dl_info info{};
  if (dladdr(&kAnchor, &info) && info.dli_fname && info.dli_fname[0])
  {
    // The main program may be reported by a bare name; its file is /proc/self/exe.
    if (std::string(info.dli_fname).find('/') != std::string::npos)
      return Canonical(info.dli_fname);
  }
  char exe[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  if (n <= 0)
    return {};
  exe[n] = '\0';
  return exe;
}

char PlatformModule::Separator() { return '/'; }

std::string PlatformModule::UserFolder(const char* name) { return FolderInside(Folder(), name); }

PlatformModule::Resource PlatformModule::FindPngResource(int number)
{
  Resource found;
  size_t count = 0;
  const PngResourceEntry* table = PngResourceTable(count);
  const PngResourceEntry* end = table + count;
  const PngResourceEntry* it = std::lower_bound(
      table, end, number, [](const PngResourceEntry& e, int n) { return e.number < n; });
  if (it != end && it->number == number && it->data && it->size > 0)
  {
    found.data = it->data;
    found.size = it->size;
  }
  return found;
}
