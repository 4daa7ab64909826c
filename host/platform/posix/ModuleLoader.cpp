// Linux module loading with dlopen.
#include "host/platform/ModuleLoader.h"

#include <dlfcn.h>

namespace VstHost
{
bool ModuleLoader::Open(const std::string& path)
{
  Close();
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle)
  {
    const char* e = dlerror();
    error = e ? e : "cannot load module";
    return false;
  }
  error.clear();
  return true;
}

void ModuleLoader::Close()
{
  if (handle)
    dlclose(handle);
  handle = nullptr;
}

void* ModuleLoader::Symbol(const char* name) const
{
  return handle ? dlsym(handle, name) : nullptr;
}
} // namespace VstHost
