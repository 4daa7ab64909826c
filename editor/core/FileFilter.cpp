#include "editor/core/FileFilter.h"

#include <sstream>

std::string FileFilter::Pattern(const char* extensions)
{
  std::istringstream words(extensions ? extensions : "");
  std::string pattern;
  std::string ext;
  while (words >> ext)
  {
    if (!pattern.empty())
      pattern += ';';
    pattern += "*." + ext;
  }
  return pattern;
}

std::string FileFilter::DefaultExtension(const char* extensions)
{
  std::istringstream words(extensions ? extensions : "");
  std::string ext;
  words >> ext;
  return ext;
}
