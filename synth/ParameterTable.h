#pragma once
// The instrument's parameter table. Each editor section initialises the parameters it
// shows, in table order, before it creates its controls; the instrument runs the
// sections in a fixed order at construction.
class IPlugBase;

namespace ParameterTable
{
enum class Section
{
  Reserved,
  TabButtons,
  PitchEnvelope,
  Oscillator1,
  Oscillator2,
  Oscillator3,
  VolumeEnvelope,
  FilterEnvelope,
  Unison,
  Fm,
  GlobalTranspose,
  SubOscillator,
  PitchBend,
  MainFilter,
  ModulationEffects,
  DistortionShaper,
  Equalizer,
  TempoDelay,
  Output,
  Programs,
  LevelMeterLimiter,
  About,
  Scope,
};

// The order in which the editor's section builders run.
inline constexpr Section kSectionOrder[] = {
    Section::Reserved,
    Section::TabButtons,
    Section::PitchEnvelope,
    Section::Oscillator1,
    Section::Oscillator2,
    Section::Oscillator3,
    Section::VolumeEnvelope,
    Section::FilterEnvelope,
    Section::Unison,
    Section::Fm,
    Section::GlobalTranspose,
    Section::SubOscillator,
    Section::PitchBend,
    Section::MainFilter,
    Section::ModulationEffects,
    Section::DistortionShaper,
    Section::Equalizer,
    Section::TempoDelay,
    Section::Output,
    Section::Programs,
    Section::LevelMeterLimiter,
    Section::About,
    Section::Scope,
};

// Initialises the parameters of one section; sections without parameters do nothing.
void InitSection(IPlugBase& plug, Section section);
// Every section in the builders' order.
void InitAllSections(IPlugBase& plug);
// The table's default of a parameter index (0 for 137, the reserved entries and any
// index outside 0..159).
double DefaultValue(int index);
} // namespace ParameterTable
