// Windows module loading with LoadLibrary.
#include "host/platform/ModuleLoader.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace VstHost
{
namespace
{
std::wstring Widen(const std::string& utf8)
{
  if (utf8.empty())
    return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring out(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
  return out;
}

std::string LastErrorText(DWORD code)
{
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = "error " + std::to_string(code);
  if (n && text)
  {
    std::string message(text, n);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
      message.pop_back();
    out += ": " + message;
  }
  if (text)
    LocalFree(text);
  return out;
}
} // namespace

bool ModuleLoader::Open(const std::string& path)
{
  Close();
  HMODULE module = LoadLibraryW(Widen(path).c_str());
  if (!module)
  {
    error = "cannot load " + path + " (" + LastErrorText(GetLastError()) + ")";
    return false;
  }
  handle = reinterpret_cast<void*>(module);
  error.clear();
  return true;
}

void ModuleLoader::Close()
{
  if (handle)
    FreeLibrary(reinterpret_cast<HMODULE>(handle));
  handle = nullptr;
}

void* ModuleLoader::Symbol(const char* name) const
{
  if (!handle)
    return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
}
} // namespace VstHost
