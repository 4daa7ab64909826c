#pragma once
// One program: a full set of parameter values laid out as the voices read them
// (SynthParams), a name, and the preset-text keys by which a text file addresses the
// values. The factory programs are built on it, and the preset text files are written
// from it and read into it. Main thread only; it allocates (keys, name, files).
#include "voice/SynthParams.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Korvane
{

class VstXSynthProgram
{
public:
  static constexpr int kSlotCount = SynthParams::kSlotCount;
  static constexpr int kParamCount = 160;
  // Parameters 0..138 have a slot (137 aside); 139..159 are reserved and read as 0.
  static constexpr int kLastStoredParam = 138;
  // A name read from a text file keeps at most this many characters.
  static constexpr size_t kTextNameLength = 32;

  // The program defaults, an empty name and the key map.
  VstXSynthProgram();
  virtual ~VstXSynthProgram() = default;
  VstXSynthProgram(const VstXSynthProgram&) = default;
  VstXSynthProgram& operator=(const VstXSynthProgram&) = default;

  // Every slot back to the program defaults: the parameter table's defaults, with the
  // oscillator filters' right side on the Butterworth high-pass, the LFOs unsynchronised,
  // oscillators 2 and 3 off, the pitch envelope flat, the filter envelope kept off the
  // distortion and shaper, the modulation effects off and the delay dry.
  void ResetToDefaults();
  // The shared start of the kick and bass-drum programs: a short, limited, tightly
  // enveloped note on note transpose position n (3 to 7 are the fixed kick pitches).
  void KickBase(int n);

  // The value of parameter 0..138 (0 for 137 and anything else).
  double Get(int index) const;
  // Stores x clamped to 0..1 in the parameter's slot; parameters without a slot and
  // non-finite values are ignored.
  void Set(int index, double x);

  const std::string& Name() const { return name; }
  void SetName(std::string_view text) { name.assign(text); }

  // The key of parameter 0..159 ("" otherwise) and the index of a key (-1 if none).
  const std::string& KeyOf(int index) const;
  int IndexOf(const std::string& key) const;

  // --- Preset text files ----------------------------------------------------------

  // Writes "Name = ...;" and then one "Key = value;" line per parameter (waveforms,
  // distortion type and the two master filter types by name), the curve text and the
  // wave text. false when the file cannot be written.
  bool WritePresetText(const char* path, const std::string& curveText,
                       const std::string& waveText) const;
  // Reads a file written as above into this program: the name (first 32 characters),
  // each parameter from its own line when that line holds its key (a value rounded to
  // single precision, clamped to 0..1; a missing key keeps the value this program had),
  // and the curve text when a later line holds one (*curveText is left empty
  // otherwise). false, changing nothing, when the file cannot be opened.
  bool ReadPresetText(const char* path, std::string* curveText);

  // The names of the master filter's types as the writer spells them: "Filter Type 1"
  // positions 0..3, "Filter Type 2" positions 0..5 ("" outside).
  static const char* FilterAName(int position);
  static const char* FilterBName(int position);
  // Reader lookups: the short codes ("RBJ-LP", "HP 12dB", ...) and the long names the
  // writer uses; anything else is position 0.
  static int FilterAPosition(std::string_view text);
  static int FilterBPosition(std::string_view text);

  SynthParams values;
  std::string name;

private:
  std::map<std::string, int> keyIndex;
  std::vector<std::string> indexKey;
};

} // namespace Korvane
