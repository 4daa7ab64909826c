#pragma once
// Where the sections of the synthesizer page sit on the editor's 1220 x 835 background.
// The background image has a panel with an engraved title at each of these rectangles
// (left, top, right, bottom; right and bottom exclusive) and an engraved caption over
// each group; the section builders place their controls inside them. A title takes
// the top 20 pixels at the left; panels lower than 80 pixels have no groove after the
// title, so their controls may share its row (the program panel's load and save
// buttons sit at (916, 551) and (964, 551)). The header plate
// (image 112) covers 18..1202 x 18..58, the bottom bar with the tabs 786..835.

struct SectionPanel
{
  const char* title; // "" for a panel whose header row holds an image instead
  int left;
  int top;
  int right;
  int bottom;
};

inline constexpr SectionPanel kSectionPanels[] = {
    {"OSC 1", 14, 64, 408, 290},
    {"OSC 2", 414, 64, 808, 290},
    {"OSC 3", 814, 64, 1206, 290},
    {"PITCH ENVELOPE", 14, 296, 262, 540},
    {"VOLUME ENVELOPE", 268, 296, 634, 416},
    {"FILTER ENVELOPE", 268, 420, 634, 540},
    {"DISTORTION / DYNAMIC SHAPER", 640, 296, 980, 540},
    {"MOD FX", 986, 296, 1206, 416},
    {"MAIN FILTER", 986, 420, 1206, 540},
    {"OUTPUT LEVEL", 14, 546, 634, 612},
    {"PROGRAM", 640, 546, 1206, 612},
    // The tagline image (80, 627) is this panel's header.
    {"", 14, 618, 434, 780},
    {"SUB-OSC", 440, 618, 634, 780},
    {"EQUALIZER", 640, 618, 830, 780},
    {"TEMPO DELAY", 836, 618, 1000, 780},
    {"OUTPUT", 1006, 618, 1206, 780},
};

// Groups inside a panel: a caption engraved at the group's top, grooves between groups.
inline constexpr SectionPanel kSectionGroups[] = {
    {"UNISON", 20, 652, 130, 776},
    {"FM", 136, 652, 196, 776},
    {"BEND", 202, 652, 262, 776},
    {"TRANSPOSE", 268, 652, 428, 776},
};
