#include "voice/UserWaveformFolder.h"

#include <cstdio>

namespace Korvane
{

std::string UserWaveformFolder::windowsFolder(const std::string& baseDirectory)
{
  return baseDirectory + "\\" + kFolderName + "\\";
}

std::string UserWaveformFolder::besideModule(const std::string& modulePath)
{
  if (modulePath.empty())
    return {};
  const auto slash = modulePath.find_last_of("/\\");
  if (slash == std::string::npos)
    return std::string(kFolderName) + "/";
  const char separator = modulePath[slash];
  return modulePath.substr(0, slash + 1) + kFolderName + separator;
}

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
