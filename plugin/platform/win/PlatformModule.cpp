// Windows side of the module seam: the module handle is found from an address inside
// the module, so no DllMain is needed; images are resources of type "PNG".
#include "plugin/platform/PlatformModule.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace
{
HMODULE ThisModule()
{
  // Any address inside this module identifies it; the reference count is left alone.
  static const char anchor = 0;
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&anchor), &module))
    return nullptr;
  return module;
}

std::string ToUtf8(const wchar_t* text, int length)
{
  if (length <= 0)
    return {};
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0)
    return {};
  std::string out(size_t(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), bytes, nullptr, nullptr);
  return out;
}
} // namespace

std::string PlatformModule::FilePath()
{
  HMODULE module = ThisModule();
  if (!module)
    return {};
  // Long paths do not fit MAX_PATH: grow the buffer until the name is not truncated.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;)
  {
    DWORD n = GetModuleFileNameW(module, buffer.data(), DWORD(buffer.size()));
    if (n == 0)
      return {};
    if (n < buffer.size())
      return ToUtf8(buffer.data(), int(n));
    if (buffer.size() >= 32768)
      return {};
    buffer.resize(buffer.size() * 2);
  }
}

char PlatformModule::Separator() { return '\\'; }

std::string PlatformModule::UserFolder(const char* name) { return FolderAtDriveRoot(name); }

PlatformModule::Resource PlatformModule::FindPngResource(int number)
{
  Resource found;
  HMODULE module = ThisModule();
  if (!module || number <= 0 || number > 0xFFFF)
    return found;
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(number), L"PNG");
  if (!info)
    return found;
  DWORD size = SizeofResource(module, info);
  HGLOBAL handle = LoadResource(module, info);
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data || size == 0)
    return found;
  found.data = static_cast<const unsigned char*>(data);
  found.size = size;
  return found;
}
