#pragma once
// The pattern a file dialog offers for a space-separated list of extensions without
// dots ("kv bgp fxp"): "*." before each, joined with semicolons ("*.kv;*.bgp;*.fxp"),
// and the first extension as the default one. Pure, so every window builds the same.
#include <string>

class FileFilter
{
public:
  static std::string Pattern(const char* extensions);
  // The first extension of the list, or "" for an empty list.
  static std::string DefaultExtension(const char* extensions);
};
