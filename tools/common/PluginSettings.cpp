#include "tools/common/PluginSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

bool ParseDouble(const std::string& text, double& out)
{
  if (text.empty())
    return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (!end || *end != 0 || !std::isfinite(v))
    return false;
  out = v;
  return true;
}

bool ParseInt(const std::string& text, int& out)
{
  if (text.empty())
    return false;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (!end || *end != 0 || v < -2147483647L || v > 2147483647L)
    return false;
  out = int(v);
  return true;
}

bool IsIndex(const std::string& text)
{
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ParseParamSetting(const std::string& text, ParamSetting& setting)
{
  const size_t eq = text.rfind('=');
  double v = 0.0;
  if (eq == std::string::npos || eq == 0 || !ParseDouble(text.substr(eq + 1), v) || v < 0.0)
    return false;
  setting.key = text.substr(0, eq);
  setting.value = v;
  return true;
}

bool ApplyProgram(VstHost::PluginInstance& plug, const std::string& program, const char* tool)
{
  int index = -1;
  if (IsIndex(program))
  {
    if (!ParseInt(program, index))
      index = -1;
  }
  else
    index = plug.FindProgram(program);
  if (index < 0 || index >= plug.NumPrograms())
  {
    std::fprintf(stderr, "%s: no program \"%s\" (the module has %d programs)\n", tool,
                 program.c_str(), plug.NumPrograms());
    return false;
  }
  plug.SetProgram(index);
  return true;
}

bool ApplyParam(VstHost::PluginInstance& plug, const ParamSetting& setting, const char* tool)
{
  int index = -1;
  if (IsIndex(setting.key))
  {
    if (!ParseInt(setting.key, index))
      index = -1;
  }
  else
    index = plug.FindParameter(setting.key);
  if (index < 0 || index >= plug.NumParams())
  {
    std::fprintf(stderr, "%s: no parameter \"%s\" (the module has %d parameters)\n", tool,
                 setting.key.c_str(), plug.NumParams());
    return false;
  }
  plug.SetParameter(index, float(setting.value));
  return true;
}
