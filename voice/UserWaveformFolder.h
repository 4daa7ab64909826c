#pragma once

#include <string>

namespace Korvane
{

// Where the user waveform files "user01.raw" ... "user10.raw" are looked for: a folder
// named "waveforms". On Windows it lies under the provider's base directory, which is
// empty, so the folder is "\waveforms\" at the root of the current drive; elsewhere it
// lies beside the plug-in module file (the platform layer knows the module's path).
// Pure text functions, so every platform's rule can be checked anywhere.
class UserWaveformFolder
{
public:
  static constexpr const char* kFolderName = "waveforms";
  static constexpr int kFileCount = 10;

  // baseDirectory + "\" + "waveforms" + "\".
  static std::string windowsFolder(const std::string& baseDirectory);

  // The "waveforms" folder in the directory of the module file, with a trailing
  // separator; empty when modulePath is empty.
  static std::string besideModule(const std::string& modulePath);

  // "user01.raw" ... "user10.raw" for k = 1..10; empty for any other k.
  static std::string fileName(int k);

  // folder + name, with a separator in between unless folder already ends in one.
  static std::string join(const std::string& folder, const std::string& name);
};

} // namespace Korvane
