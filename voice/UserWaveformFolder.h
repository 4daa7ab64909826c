#pragma once

#include <string>

namespace Korvane
{

// The user waveform files "user01.raw" ... "user10.raw" in a folder named "waveforms".
// Where that folder lies is the platform layer's rule (PlatformModule::UserFolder: at
// the root of the current drive on Windows, beside the module file elsewhere); the
// instrument hands the folder to the waveform provider.
class UserWaveformFolder
{
public:
  static constexpr const char* kFolderName = "waveforms";
  static constexpr int kFileCount = 10;

  // "user01.raw" ... "user10.raw" for k = 1..10; empty for any other k.
  static std::string fileName(int k);

  // folder + name, with a separator in between unless folder already ends in one.
  static std::string join(const std::string& folder, const std::string& name);
};

} // namespace Korvane
