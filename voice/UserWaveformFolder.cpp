#include "voice/UserWaveformFolder.h"

#include <cstdio>

namespace Korvane
{

std::string UserWaveformFolder::fileName(int k)
{
  if (k < 1 || k > kFileCount)
    return {};
  char name[16];
  std::snprintf(name, sizeof name, "user%02d.raw", k);
  return name;
}

std::string UserWaveformFolder::join(const std::string& folder, const std::string& name)
{
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\')
    return folder + name;
  return folder + "/" + name;
}

} // namespace Korvane
