#pragma once
// Loading a plug-in module and finding a symbol in it: dlopen on Linux, LoadLibrary
// on Windows. The rest of the host library knows nothing of either.
#include <string>

namespace VstHost
{
class ModuleLoader
{
public:
  ModuleLoader() = default;
  ~ModuleLoader() { Close(); }
  ModuleLoader(const ModuleLoader&) = delete;
  ModuleLoader& operator=(const ModuleLoader&) = delete;

  // Loads the module at path; false (with Error() set) when it cannot be loaded.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return handle != nullptr; }
  // The address of an exported symbol, or null.
  void* Symbol(const char* name) const;
  const std::string& Error() const { return error; }

private:
  void* handle = nullptr;
  std::string error;
};
} // namespace VstHost
