// The parts of the module seam that are the same on every platform.
#include "plugin/platform/PlatformModule.h"

std::string PlatformModule::Folder()
{
  std::string path = FilePath();
  // Both separators are accepted: Windows paths may carry either.
  size_t cut = path.find_last_of(Separator() == '\\' ? "\\/" : "/");
  if (cut == std::string::npos)
    return {};
  return path.substr(0, cut + 1);
}

std::string PlatformModule::FolderAtDriveRoot(const char* name)
{
  // A path starting with a separator lies at the root of the current drive.
  return std::string("\\") + name + "\\";
}

std::string PlatformModule::FolderInside(const std::string& folder, const char* name)
{
  if (folder.empty())
    return {};
  return folder + name + folder.back();
}
