# The PNG images built into the module, addressed by number: resources of type "PNG"
# in Thumpgeist.dll, and on Linux a table of the same numbers and bytes compiled into
# the framework library.
#
# TG_PNG_RESOURCES lists "<number>=<file>" pairs (files relative to the source tree):
# the editor's images, drawn by tools/tgartwork (`tgartwork --out resources/img/korvane`
# writes them all; `tgartwork --list` prints the numbers and names). Two numbers may
# name one file.
set(TG_PNG_RESOURCES
  "111=resources/img/korvane/Thumpgeist_GUI_background_FREE.png"
  "112=resources/img/korvane/Controls_Background_FREE.png"
  "201=resources/img/korvane/switches/KV_on_off_20px.png"
  "1001=resources/img/korvane/knobs/KV_Pitch_Knob_40px.png"
  "1002=resources/img/korvane/knobs/KV_Disto_Knob_40px.png"
  "1003=resources/img/korvane/knobs/KV_Osc_Pitch_Tune_Knob_30px.png"
  "1004=resources/img/korvane/knobs/KV_Osc_Pitch_Tune_Knob_30px.png"
  "1005=resources/img/korvane/knobs/KV_Filter_Knob_40px.png"
  "1006=resources/img/korvane/knobs/KV_Resonance_Knob_40px.png"
  "1007=resources/img/korvane/knobs/KV_Osc_Pan_Knob_30px.png"
  "1008=resources/img/korvane/knobs/KV_Osc_Saturation_Knob_30px.png"
  "1009=resources/img/korvane/knobs/KV_Osc_Volume_Knob_30px.png"
  "1010=resources/img/korvane/knobs/KV_LFO_Knob_30px.png"
  "1011=resources/img/korvane/knobs/KV_ADSR_Volume_Knob_30px.png"
  "1012=resources/img/korvane/knobs/KV_ADSR_Filter_Knob_30px.png"
  "1013=resources/img/korvane/knobs/KV_Unison_Knob_40px.png"
  "1014=resources/img/korvane/knobs/KV_Unison_Knob_2_states_40px.png"
  "1017=resources/img/korvane/knobs/KV_Fm_Modulation_Knob_40px.png"
  "1019=resources/img/korvane/knobs/KV_ModFx_Knob_30px.png"
  "1020=resources/img/korvane/knobs/KV_ModFx_Amt_Knob_30px.png"
  "1021=resources/img/korvane/knobs/KV_Disto_BitCrash_30px.png"
  "1022=resources/img/korvane/knobs/KV_Disto_SmpRate_30px.png"
  "1023=resources/img/korvane/knobs/KV_Disto_Gate_30px.png"
  "1033=resources/img/korvane/knobs/KV_EQ_High_Knob_35px.png"
  "1034=resources/img/korvane/knobs/KV_EQ_Mid_Knob_35px.png"
  "1035=resources/img/korvane/knobs/KV_EQ_Low_Knob_35px.png"
  "1036=resources/img/korvane/knobs/KV_DumpExp_Knob_35px.png"
  "1037=resources/img/korvane/knobs/KV_Volume_Knob_50px.png"
  "1038=resources/img/korvane/knobs/KV_Dry_Wet_Knob_35px.png"
  "1039=resources/img/korvane/knobs/KV_Pan_Knob_35px.png"
  "1040=resources/img/korvane/knobs/KV_Saturation_Knob_35px.png"
  "1041=resources/img/korvane/knobs/KV_Global_Tune_Knob_50px.png"
  "1042=resources/img/korvane/knobs/KV_Bass-Layer_Knob_35px.png"
  "1043=resources/img/korvane/knobs/KV_Click_Knob_35px.png"
  "1044=resources/img/korvane/knobs/KV_ModFx_Waveform_Knob_30px.png"
  "1046=resources/img/korvane/knobs/KV_Filter_InputDrive_Knob_30px.png"
  "1047=resources/img/korvane/knobs/KV_Filter_Transition_Knob_30px.png"
  "1048=resources/img/korvane/knobs/KV_DynShaper_Width_35px.png"
  "1050=resources/img/korvane/knobs/KV_DynShaper_Type_3_states_40px.png"
  "1051=resources/img/korvane/knobs/KV_LFO_Sync_Knob_30px.png"
  "1052=resources/img/korvane/knobs/KV_TempoDelay_Knob_35px.png"
  "1053=resources/img/korvane/knobs/KV_Pitch_Bend_Range_Knob_7_states_35px.png"
  "1101=resources/img/korvane/displays/waveform_display_osc1.png"
  "1102=resources/img/korvane/displays/waveform_display_osc2.png"
  "1103=resources/img/korvane/displays/waveform_display_osc3.png"
  "1104=resources/img/korvane/displays/pitch_env_display_220x80.png"
  "1105=resources/img/korvane/displays/volume_env_120x45.png"
  "1106=resources/img/korvane/displays/filter_env_120x45.png"
  "1107=resources/img/korvane/displays/preset_display_185x20.png"
  "1108=resources/img/korvane/displays/disto_display_120x36.png"
  "1109=resources/img/korvane/displays/disto_curve_display_128x128.png"
  "1110=resources/img/korvane/displays/disto_name_display_135x20.png"
  "1111=resources/img/korvane/displays/Dump-Expand_Display_31x20.png"
  "1112=resources/img/korvane/displays/info_display.png"
  "1113=resources/img/korvane/displays/eq_frequency_display.png"
  "1114=resources/img/korvane/displays/waveform_name_display.png"
  "1115=resources/img/korvane/displays/filter_type_display.png"
  "1203=resources/img/korvane/switches/mode_on_off_48px_40px.png"
  "1206=resources/img/korvane/switches/Prev_left_20px.png"
  "1207=resources/img/korvane/switches/Next_right_20px.png"
  "1209=resources/img/korvane/buttons/disto_mode_button_3_states.png"
  "1212=resources/img/korvane/switches/minus_25px.png"
  "1213=resources/img/korvane/switches/plus_25px.png"
  "1300=resources/img/korvane/buttons/mode_button.png"
  "1301=resources/img/korvane/buttons/interp_mode_button.png"
  "1302=resources/img/korvane/buttons/filter_button_48x40.png"
  "1303=resources/img/korvane/buttons/solo_button_48x40.png"
  "1304=resources/img/korvane/buttons/fm_button_48x40.png"
  "1305=resources/img/korvane/buttons/sync_button_48x40.png"
  "1308=resources/img/korvane/buttons/invert_button_48x40.png"
  "1309=resources/img/korvane/buttons/load_on_off_48x40.png"
  "1310=resources/img/korvane/buttons/save_on_off_48x40.png"
  "1311=resources/img/korvane/buttons/limit_on_off_60x60.png"
  "1312=resources/img/korvane/buttons/reset_on_off_48x40.png"
  "1313=resources/img/korvane/buttons/bypass_fx_button_84x60.png"
  "1314=resources/img/korvane/buttons/freeze_scope_button.png"
  "1315=resources/img/korvane/buttons/lfo1_on_off.png"
  "1316=resources/img/korvane/buttons/lfo2_on_off.png"
  "1317=resources/img/korvane/buttons/lfo3_on_off.png"
  "1318=resources/img/korvane/buttons/volume_env_on_off.png"
  "1319=resources/img/korvane/buttons/filter_env_on_off.png"
  "1320=resources/img/korvane/buttons/output_on_off.png"
  "1321=resources/img/korvane/buttons/hollow_half_filled_scope_button.png"
  "1322=resources/img/korvane/buttons/signal_pos_neg_both_48x60.png"
  "1323=resources/img/korvane/buttons/restore_on_off_48x40.png"
  "1324=resources/img/korvane/buttons/tab_about_85x50.png"
  "1325=resources/img/korvane/buttons/tab_scope_85x50.png"
  "1326=resources/img/korvane/buttons/tab_synth_85x50.png"
  "1328=resources/img/korvane/buttons/play_on_off_48x40.png"
  "1329=resources/img/korvane/buttons/arrow_left_48x40.png"
  "1330=resources/img/korvane/buttons/arrow_right_48x40.png"
  "1333=resources/img/korvane/buttons/lfo_link_button.png"
  "1335=resources/img/korvane/buttons/pre_on_off.png"
  "1336=resources/img/korvane/buttons/post_on_off.png"
  "1401=resources/img/korvane/slider_handle_14px_14px.png"
  "1402=resources/img/korvane/slider_background_82px_14px.png"
  "1403=resources/img/korvane/slider_background_104px_14px.png"
  "1405=resources/img/korvane/bass_kick_design_tool_FREE.png"
  "2001=resources/img/korvane/Korvane_logo_txt_740x450.png"
  "2002=resources/img/korvane/free_version_info_txt.png"
  "2003=resources/img/korvane/KV_Team_Text.png"
  "2004=resources/img/korvane/x64.png"
  "2005=resources/img/korvane/VST_Logo.png"
  "2008=resources/img/korvane/displays/wave_display.png"
  "2009=resources/img/korvane/displays/zoom_display.png"
  "2010=resources/img/korvane/KV_URL_icon.png"
  "2011=resources/img/korvane/FB_URL_icon.png"
)

# Adds the generated Linux table (plugin/platform/posix/PngResourceTable.h) to target.
function(tg_png_resource_table target)
  set(_out ${CMAKE_BINARY_DIR}/generated/PngResourceTable.cpp)
  set(_data "")
  set(_entries "")
  set(_pairs ${TG_PNG_RESOURCES})
  # Ascending numbers: the lookup is a binary search.
  list(SORT _pairs COMPARE NATURAL)
  set(_previous -1)
  foreach(_pair IN LISTS _pairs)
    string(REPLACE "=" ";" _kv "${_pair}")
    list(GET _kv 0 _number)
    list(GET _kv 1 _file)
    if(_number LESS_EQUAL _previous)
      message(FATAL_ERROR "PNG resource number ${_number} appears twice")
    endif()
    set(_previous ${_number})
    file(READ ${PROJECT_SOURCE_DIR}/${_file} _hex HEX)
    string(LENGTH "${_hex}" _len)
    math(EXPR _size "${_len} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
    string(APPEND _data "const unsigned char kPng${_number}[] = {${_bytes}};\n")
    string(APPEND _entries "  {${_number}, kPng${_number}, ${_size}},\n")
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${PROJECT_SOURCE_DIR}/${_file})
  endforeach()
  if(_entries STREQUAL "")
    set(_table "const PngResourceEntry* PngResourceTable(std::size_t& count)\n{\n  count = 0;\n  return nullptr;\n}\n")
  else()
    set(_table "const PngResourceEntry kTable[] = {\n${_entries}};\n} // namespace\n\nconst PngResourceEntry* PngResourceTable(std::size_t& count)\n{\n  count = sizeof(kTable) / sizeof(kTable[0]);\n  return kTable;\n}\n")
    set(_table "namespace\n{\n${_data}${_table}")
  endif()
  file(CONFIGURE OUTPUT ${_out} CONTENT
       "// Generated by the build from cmake/PngResources.cmake; do not edit.\n#include \"plugin/platform/posix/PngResourceTable.h\"\n\n${_table}" @ONLY)
  target_sources(${target} PRIVATE ${_out})
endfunction()

# Adds the generated resource script (version information and the "PNG" resources) to
# the Windows module target.
function(tg_png_resource_script target)
  set(_out ${CMAKE_BINARY_DIR}/generated/Thumpgeist.rc)
  set(_lines "")
  foreach(_pair IN LISTS TG_PNG_RESOURCES)
    string(REPLACE "=" ";" _kv "${_pair}")
    list(GET _kv 0 _number)
    list(GET _kv 1 _file)
    string(APPEND _lines "${_number} PNG \"${PROJECT_SOURCE_DIR}/${_file}\"\n")
  endforeach()
  set(_v ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0)
  file(CONFIGURE OUTPUT ${_out} CONTENT [=[// Generated by the build from cmake/PngResources.cmake; do not edit.
#include <winver.h>

1 VERSIONINFO
FILEVERSION @_v@
PRODUCTVERSION @_v@
FILEOS VOS_NT_WINDOWS32
FILETYPE VFT_DLL
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904B0"
    BEGIN
      VALUE "CompanyName", "Korvane"
      VALUE "FileDescription", "Thumpgeist VST 2.4 instrument"
      VALUE "FileVersion", "@PROJECT_VERSION@"
      VALUE "InternalName", "Thumpgeist"
      VALUE "OriginalFilename", "Thumpgeist.dll"
      VALUE "ProductName", "Thump::Geist 1.8 FREE VST"
      VALUE "ProductVersion", "@PROJECT_VERSION@"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1200
  END
END

@_lines@]=] @ONLY)
  target_sources(${target} PRIVATE ${_out})
endfunction()
