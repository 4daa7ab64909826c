#include "tools/artwork/Artwork.h"

#include "tools/artwork/BrandArt.h"
#include "tools/artwork/ControlArt.h"
#include "tools/artwork/DisplayArt.h"
#include "tools/artwork/PngWriter.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace
{
// Body tints that tell the knob families apart without leaving the look: plain steel,
// warm for drive and level, cool for filters and tone, violet for modulation.
constexpr Colour kSteel = Colour::Hex(0x8a9098);
constexpr Colour kWarm = Colour::Hex(0xff5a30);
constexpr Colour kCool = Colour::Hex(0x4a90ff);
constexpr Colour kViolet = Colour::Hex(0xa070ff);

// The scope's trace colours, shown on its trace buttons' LEDs.
constexpr Colour kTraceLfo1 = Colour::Hex(0x3ec7ff);
constexpr Colour kTraceLfo2 = Colour::Hex(0x9b6bff);
constexpr Colour kTraceLfo3 = Colour::Hex(0x3cff8a);
constexpr Colour kTraceVolume = Colour::Hex(0xffd23c);
constexpr Colour kTraceFilter = Colour::Hex(0xff4fa3);
constexpr Colour kTraceOutput = Colour::Hex(0xff5a1f);

struct KnobSpec
{
  int number;
  const char* name;
  int size;
  bool bipolar;
  int states;
  Colour tint;
};

constexpr KnobSpec kKnobs[] = {
    {1001, "KV_Pitch_Knob_40px", 40, false, 0, kSteel},
    {1002, "KV_Disto_Knob_40px", 40, false, 0, kWarm},
    {1003, "KV_Osc_Pitch_Tune_Knob_30px", 30, true, 0, kSteel},
    {1004, "KV_Osc_Pitch_Tune_Knob_30px", 30, true, 0, kSteel},
    {1005, "KV_Filter_Knob_40px", 40, false, 0, kCool},
    {1006, "KV_Resonance_Knob_40px", 40, false, 0, kCool},
    {1007, "KV_Osc_Pan_Knob_30px", 30, true, 0, kSteel},
    {1008, "KV_Osc_Saturation_Knob_30px", 30, false, 0, kWarm},
    {1009, "KV_Osc_Volume_Knob_30px", 30, false, 0, kSteel},
    {1010, "KV_LFO_Knob_30px", 30, false, 0, kViolet},
    {1011, "KV_ADSR_Volume_Knob_30px", 30, false, 0, kSteel},
    {1012, "KV_ADSR_Filter_Knob_30px", 30, false, 0, kCool},
    {1013, "KV_Unison_Knob_40px", 40, false, 0, kViolet},
    {1014, "KV_Unison_Knob_2_states_40px", 40, false, 2, kViolet},
    {1017, "KV_Fm_Modulation_Knob_40px", 40, false, 0, kViolet},
    {1019, "KV_ModFx_Knob_30px", 30, false, 0, kViolet},
    {1020, "KV_ModFx_Amt_Knob_30px", 30, false, 0, kViolet},
    {1021, "KV_Disto_BitCrash_30px", 30, false, 0, kWarm},
    {1022, "KV_Disto_SmpRate_30px", 30, false, 0, kWarm},
    {1023, "KV_Disto_Gate_30px", 30, false, 0, kWarm},
    {1033, "KV_EQ_High_Knob_35px", 35, true, 0, kCool},
    {1034, "KV_EQ_Mid_Knob_35px", 35, true, 0, kCool},
    {1035, "KV_EQ_Low_Knob_35px", 35, true, 0, kCool},
    {1036, "KV_DumpExp_Knob_35px", 35, true, 0, kCool},
    {1037, "KV_Volume_Knob_50px", 50, false, 0, kWarm},
    {1038, "KV_Dry_Wet_Knob_35px", 35, false, 0, kSteel},
    {1039, "KV_Pan_Knob_35px", 35, true, 0, kSteel},
    {1040, "KV_Saturation_Knob_35px", 35, false, 0, kWarm},
    {1041, "KV_Global_Tune_Knob_50px", 50, true, 0, kSteel},
    {1042, "KV_Bass-Layer_Knob_35px", 35, false, 0, kWarm},
    {1043, "KV_Click_Knob_35px", 35, false, 0, kWarm},
    {1044, "KV_ModFx_Waveform_Knob_30px", 30, false, 0, kViolet},
    {1046, "KV_Filter_InputDrive_Knob_30px", 30, false, 0, kCool},
    {1047, "KV_Filter_Transition_Knob_30px", 30, false, 0, kCool},
    {1048, "KV_DynShaper_Width_35px", 35, false, 0, kWarm},
    {1050, "KV_DynShaper_Type_3_states_40px", 40, false, 3, kWarm},
    {1051, "KV_LFO_Sync_Knob_30px", 30, false, 0, kViolet},
    {1052, "KV_TempoDelay_Knob_35px", 35, false, 0, kSteel},
    {1053, "KV_Pitch_Bend_Range_Knob_7_states_35px", 35, false, 7, kSteel},
};
} // namespace

Artwork::Artwork(const Studio& s) : studio(s)
{
  const ControlArt controls(s);
  const DisplayArt displays(s);
  const BrandArt brand(s);
  // The drawing objects are small and copied into each entry's function.
  auto add = [this](int number, const std::string& file, int frames, std::function<Canvas()> draw) {
    images.push_back({number, file, frames, std::move(draw)});
  };
  add(111, "Thumpgeist_GUI_background_FREE.png", 1, [brand] { return brand.Background(); });
  add(112, "Controls_Background_FREE.png", 1, [brand] { return brand.Header(1184, 40); });
  add(201, "switches/KV_on_off_20px.png", 2, [controls] { return controls.OnOffSwitch(20); });
  for (const KnobSpec& k : kKnobs)
    add(k.number, std::string("knobs/") + k.name + ".png",
        k.states > 0 ? k.states : ControlArt::kKnobFrames,
        [controls, k] { return controls.Knob(k.size, k.bipolar, k.states, k.tint); });
  add(1101, "displays/waveform_display_osc1.png", 1,
      [displays] { return displays.Waveform(180, 64, 1); });
  add(1102, "displays/waveform_display_osc2.png", 1,
      [displays] { return displays.Waveform(180, 64, 2); });
  add(1103, "displays/waveform_display_osc3.png", 1,
      [displays] { return displays.Waveform(180, 64, 3); });
  add(1104, "displays/pitch_env_display_220x80.png", 1,
      [displays] { return displays.Grid(220, 80, 11, 4, false); });
  add(1105, "displays/volume_env_120x45.png", 1,
      [displays] { return displays.Grid(120, 45, 6, 3, false); });
  add(1106, "displays/filter_env_120x45.png", 1,
      [displays] { return displays.Grid(120, 45, 6, 3, false); });
  add(1107, "displays/preset_display_185x20.png", 1,
      [displays] { return displays.Plain(185, 20); });
  add(1108, "displays/disto_display_120x36.png", 1,
      [displays] { return displays.Grid(120, 36, 6, 2, true); });
  add(1109, "displays/disto_curve_display_128x128.png", 1,
      [displays] { return displays.Curve(128); });
  add(1110, "displays/disto_name_display_135x20.png", 1,
      [displays] { return displays.Plain(135, 20); });
  add(1111, "displays/Dump-Expand_Display_31x20.png", 1,
      [displays] { return displays.Plain(31, 20); });
  add(1112, "displays/info_display.png", 1, [displays] { return displays.Plain(500, 20); });
  add(1113, "displays/eq_frequency_display.png", 1, [displays] { return displays.Plain(64, 20); });
  add(1114, "displays/waveform_name_display.png", 1,
      [displays] { return displays.Plain(150, 20); });
  add(1115, "displays/filter_type_display.png", 1, [displays] { return displays.Plain(90, 18); });
  add(1203, "switches/mode_on_off_48px_40px.png", 2,
      [controls] { return controls.Toggle(48, 20, "MODE"); });
  add(1206, "switches/Prev_left_20px.png", 2, [controls] { return controls.Stepper(20, false); });
  add(1207, "switches/Next_right_20px.png", 2, [controls] { return controls.Stepper(20, true); });
  add(1209, "buttons/disto_mode_button_3_states.png", 3,
      [controls] {
        return controls.Modes(60, 20, {"CLEAN", "LOUD", "FOLD"});
      });
  add(1212, "switches/minus_25px.png", 2, [controls] { return controls.PlusMinus(25, false); });
  add(1213, "switches/plus_25px.png", 2, [controls] { return controls.PlusMinus(25, true); });
  add(1300, "buttons/mode_button.png", 4,
      [controls] {
        return controls.Modes(84, 20, {"SHAPER", "SAT SHAPER", "BOOST", "BOOST+SAT"});
      });
  add(1301, "buttons/interp_mode_button.png", 5,
      [controls] {
        return controls.Modes(84, 20, {"NO INTERP", "LINEAR", "COSINE", "CUBIC", "HERMITE"});
      });
  add(1302, "buttons/filter_button_48x40.png", 2,
      [controls] { return controls.Toggle(48, 20, "FILTER"); });
  add(1303, "buttons/solo_button_48x40.png", 2,
      [controls] { return controls.Toggle(48, 20, "SOLO"); });
  add(1304, "buttons/fm_button_48x40.png", 2, [controls] { return controls.Toggle(48, 20, "FM"); });
  add(1305, "buttons/sync_button_48x40.png", 2,
      [controls] { return controls.Action(48, 20, "SYNC"); });
  add(1308, "buttons/invert_button_48x40.png", 2,
      [controls] { return controls.Toggle(48, 20, "INV"); });
  add(1309, "buttons/load_on_off_48x40.png", 2,
      [controls] { return controls.Action(48, 20, "LOAD"); });
  add(1310, "buttons/save_on_off_48x40.png", 2,
      [controls] { return controls.Action(48, 20, "SAVE"); });
  add(1311, "buttons/limit_on_off_60x60.png", 2,
      [controls] { return controls.Toggle(60, 30, "LIMIT"); });
  add(1312, "buttons/reset_on_off_48x40.png", 2,
      [controls] { return controls.Action(48, 20, "RESET"); });
  add(1313, "buttons/bypass_fx_button_84x60.png", 2,
      [controls] { return controls.Toggle(84, 30, "BYPASS FX"); });
  add(1314, "buttons/freeze_scope_button.png", 2,
      [controls] { return controls.Toggle(70, 20, "FREEZE"); });
  add(1315, "buttons/lfo1_on_off.png", 2,
      [controls] { return controls.TraceButton(70, 20, "LFO 1", kTraceLfo1); });
  add(1316, "buttons/lfo2_on_off.png", 2,
      [controls] { return controls.TraceButton(70, 20, "LFO 2", kTraceLfo2); });
  add(1317, "buttons/lfo3_on_off.png", 2,
      [controls] { return controls.TraceButton(70, 20, "LFO 3", kTraceLfo3); });
  add(1318, "buttons/volume_env_on_off.png", 2,
      [controls] { return controls.TraceButton(70, 20, "VOL ENV", kTraceVolume); });
  add(1319, "buttons/filter_env_on_off.png", 2,
      [controls] { return controls.TraceButton(70, 20, "FLT ENV", kTraceFilter); });
  add(1320, "buttons/output_on_off.png", 2,
      [controls] { return controls.TraceButton(70, 20, "OUTPUT", kTraceOutput); });
  add(1321, "buttons/hollow_half_filled_scope_button.png", 3,
      [controls] { return controls.FillMode(70, 20); });
  add(1322, "buttons/signal_pos_neg_both_48x60.png", 3,
      [controls] {
        return controls.Modes(48, 20, {"BOTH", "POS", "NEG"});
      });
  add(1323, "buttons/restore_on_off_48x40.png", 2,
      [controls] { return controls.Action(48, 20, "RESTORE"); });
  add(1324, "buttons/tab_about_85x50.png", 2, [controls] { return controls.Tab(85, 25, "ABOUT"); });
  add(1325, "buttons/tab_scope_85x50.png", 2, [controls] { return controls.Tab(85, 25, "SCOPE"); });
  add(1326, "buttons/tab_synth_85x50.png", 2, [controls] { return controls.Tab(85, 25, "SYNTH"); });
  add(1328, "buttons/play_on_off_48x40.png", 2,
      [controls] { return controls.Action(48, 20, "PLAY"); });
  add(1329, "buttons/arrow_left_48x40.png", 2,
      [controls] { return controls.Arrow(48, 20, false); });
  add(1330, "buttons/arrow_right_48x40.png", 2,
      [controls] { return controls.Arrow(48, 20, true); });
  add(1333, "buttons/lfo_link_button.png", 2,
      [controls] { return controls.Toggle(44, 20, "LINK"); });
  add(1335, "buttons/pre_on_off.png", 2, [controls] { return controls.Toggle(44, 20, "PRE"); });
  add(1336, "buttons/post_on_off.png", 2, [controls] { return controls.Toggle(44, 20, "POST"); });
  add(1401, "slider_handle_14px_14px.png", 1, [controls] { return controls.SliderHandle(14); });
  add(1402, "slider_background_82px_14px.png", 1,
      [controls] { return controls.SliderTrack(82, 14); });
  add(1403, "slider_background_104px_14px.png", 1,
      [controls] { return controls.SliderTrack(104, 14); });
  add(1405, "bass_kick_design_tool_FREE.png", 1, [brand] { return brand.Tagline(300, 22); });
  add(2001, "Korvane_logo_txt_740x450.png", 1, [brand] { return brand.Logo(740, 450); });
  add(2002, "free_version_info_txt.png", 1, [brand] { return brand.FreeVersionText(520, 56); });
  add(2003, "KV_Team_Text.png", 1, [brand] { return brand.TeamText(440, 84); });
  add(2004, "x64.png", 1, [brand] { return brand.Badge(40, 22, "x64"); });
  add(2005, "VST_Logo.png", 1, [brand] { return brand.PluginBadge(110, 48); });
  add(2008, "displays/wave_display.png", 1, [displays] { return displays.Scope(1000, 440); });
  add(2009, "displays/zoom_display.png", 1, [displays] { return displays.Plain(80, 22); });
  add(2010, "KV_URL_icon.png", 1, [brand] { return brand.WebIcon(44); });
  add(2011, "FB_URL_icon.png", 1, [brand] { return brand.SocialIcon(44); });
  std::sort(images.begin(), images.end(),
            [](const Image& a, const Image& b) { return a.number < b.number; });
}

bool Artwork::WriteAll(const std::string& folder, int level, std::string& error) const
{
  std::map<std::string, bool> written;
  for (const Image& image : images)
  {
    if (written.count(image.file))
      continue;
    const std::filesystem::path path = std::filesystem::path(folder) / image.file;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (!PngWriter::Write(image.draw(), path.string(), level))
    {
      error = "cannot write " + path.string();
      return false;
    }
    written[image.file] = true;
  }
  return true;
}

bool Artwork::WriteSheet(const std::string& path, std::string& error) const
{
  // Each image becomes a tile: its frames side by side (at most nine, evenly picked),
  // with its number and file name below. Tiles fill rows of the sheet.
  constexpr int kSheetWidth = 1600;
  constexpr int kGap = 14;
  constexpr int kCaption = 16;
  constexpr int kMaxFrames = 9;
  std::vector<Canvas> tiles;
  std::map<std::string, bool> seen;
  for (const Image& image : images)
  {
    if (seen.count(image.file))
      continue;
    seen[image.file] = true;
    const Canvas strip = image.draw();
    const int frameHeight = strip.Height() / image.frames;
    const int shown = std::min(image.frames, kMaxFrames);
    const std::string caption = std::to_string(image.number) + "  " + image.file;
    const int captionWidth = int(studio.Regular().Measure(caption, 10)) + 6;
    const int framesWidth = shown * strip.Width() + (shown - 1) * 4;
    Canvas tile(std::max(framesWidth, captionWidth), frameHeight + kCaption);
    for (int k = 0; k < shown; ++k)
    {
      const int frame = shown > 1 ? (image.frames - 1) * k / (shown - 1) : 0;
      tile.Draw(strip.Crop(0, frame * frameHeight, strip.Width(), frameHeight),
                k * (strip.Width() + 4), 0);
    }
    studio.Text(tile, studio.Regular(), caption, 10, 0.0, 0, frameHeight + 12, Studio::kLabel);
    tiles.push_back(std::move(tile));
  }
  // Place the tiles, then draw them on a plain dark sheet.
  std::vector<std::pair<int, int>> places;
  int x = kGap;
  int y = kGap;
  int rowHeight = 0;
  for (const Canvas& tile : tiles)
  {
    if (x + tile.Width() > kSheetWidth - kGap && x > kGap)
    {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    places.emplace_back(x, y);
    x += tile.Width() + kGap;
    rowHeight = std::max(rowHeight, tile.Height());
  }
  Canvas sheet(kSheetWidth, y + rowHeight + kGap);
  sheet.Paint([](double, double) { return Colour::Hex(0x2b2e33); });
  for (std::size_t i = 0; i < tiles.size(); ++i)
    sheet.Draw(tiles[i], places[i].first, places[i].second);
  if (!PngWriter::Write(sheet, path, PngWriter::kQuick))
  {
    error = "cannot write " + path;
    return false;
  }
  return true;
}
