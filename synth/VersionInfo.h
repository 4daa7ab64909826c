#pragma once
// The product identity the instrument carries (the editor's About page shows it).
#include <cstdint>
#include <string>

struct VersionInfo
{
  int32_t reserved = 0;
  std::string edition = "Free Version";
  std::string maker = "Korvane";
  std::string shortTitle;   // "Thump-Geist 1.8"
  std::string editionTitle; // "Thump-Geist 1.8 FREE"
  std::string fullTitle;    // "Korvane Thump::Geist Version 1.8 FREE"
  std::string product = "Thump::Geist";
  int32_t uniqueId = 0;

  // From the plug-in version (major << 16 | minor << 8 | patch) and unique ID.
  static VersionInfo Make(int32_t version, int32_t uniqueID)
  {
    VersionInfo info;
    const std::string number =
        std::to_string((version >> 16) & 0xFFFF) + "." + std::to_string((version >> 8) & 0xFF);
    info.shortTitle = "Thump-Geist " + number;
    info.editionTitle = info.shortTitle + " FREE";
    info.fullTitle = info.maker + " " + info.product + " Version " + number + " FREE";
    info.uniqueId = uniqueID;
    return info;
  }
};
