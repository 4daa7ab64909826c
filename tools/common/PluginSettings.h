#pragma once
// What the tools share in reading their command lines and applying a program or
// parameter settings to a loaded module: whole numbers and finite decimals, a
// parameter setting NAME=VALUE or INDEX=VALUE, and a program by index or by name.
#include "host/PluginInstance.h"

#include <string>

struct ParamSetting
{
  std::string key; // the parameter's display name, or its index
  double value = 0.0;
};

// A finite decimal number; false (out untouched) for anything else.
bool ParseDouble(const std::string& text, double& out);
// A whole number in the range of int; false (out untouched) for anything else.
bool ParseInt(const std::string& text, int& out);
// Only digits: the text names something by its index.
bool IsIndex(const std::string& text);
// NAME=VALUE or INDEX=VALUE with a value of at least 0 (the last '=' splits them).
bool ParseParamSetting(const std::string& text, ParamSetting& setting);

// Selects a program by index or name. On failure prints "tool: no program ..." to
// stderr and returns false with the plug-in untouched.
bool ApplyProgram(VstHost::PluginInstance& plug, const std::string& program, const char* tool);
// Sets a parameter by index or name to its normalized value. On failure prints
// "tool: no parameter ..." to stderr and returns false with the plug-in untouched.
bool ApplyParam(VstHost::PluginInstance& plug, const ParamSetting& setting, const char* tool);
