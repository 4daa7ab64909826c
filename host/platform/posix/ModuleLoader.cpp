// Linux module loading with dlopen.
#include "host/platform/ModuleLoader.h"

#include <dlfcn.h>

namespace tghost
{
bool ModuleLoader::Open(const std::string& path)
{
  Close();
  mHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mHandle)
  {
    const char* e = dlerror();
    mError = e ? e : "cannot load module";
    return false;
  }
  mError.clear();
  return true;
}

void ModuleLoader::Close()
{
  if (mHandle)
    dlclose(mHandle);
  mHandle = nullptr;
}

void* ModuleLoader::Symbol(const char* name) const
{
  return mHandle ? dlsym(mHandle, name) : nullptr;
}
} // namespace tghost
