#pragma once

#include <array>

#include "core/RuntimeParams.h"

namespace quenderlink {

// A terminal colour scheme: text on background, as the settings keep colours.
struct TelnetColorScheme {
  const char* name;
  ColorRef text;
  ColorRef back;
};

namespace telnet_colors {
inline constexpr ColorRef kYellow = 0x00FFFF;
inline constexpr ColorRef kWhite = 0xFFFFFF;
inline constexpr ColorRef kBlack = 0x000000;
inline constexpr ColorRef kDarkBlue = 0x8B0000;
inline constexpr ColorRef kDarkGreen = 0x006400;
inline constexpr ColorRef kPurple = 0x800080;
inline constexpr ColorRef kMaroon = 0x000080;
inline constexpr ColorRef kBrown = 0x004080;
}  // namespace telnet_colors

// The "Colors" button's schemes, in the order of its pop-up.
inline constexpr std::array<TelnetColorScheme, 9> kTelnetColorSchemes{{
    {"Yellow on Dark-Blue", telnet_colors::kYellow, telnet_colors::kDarkBlue},
    {"White  on Dark-Blue", telnet_colors::kWhite, telnet_colors::kDarkBlue},
    {"White on Black", telnet_colors::kWhite, telnet_colors::kBlack},
    {"Black on White", telnet_colors::kBlack, telnet_colors::kWhite},
    {"Yellow on Dark-Green", telnet_colors::kYellow, telnet_colors::kDarkGreen},
    {"White  on Dark-Green", telnet_colors::kWhite, telnet_colors::kDarkGreen},
    {"Yellow on Purple", telnet_colors::kYellow, telnet_colors::kPurple},
    {"White  on Maroon", telnet_colors::kWhite, telnet_colors::kMaroon},
    {"White  on Brown", telnet_colors::kWhite, telnet_colors::kBrown},
}};

// The view menu's "Colors" items: each names one of the schemes above by its place.
struct TelnetColorMenuItem {
  const char* text;
  int scheme;
};

inline constexpr std::array<TelnetColorMenuItem, 6> kTelnetColorMenuItems{{
    {"&1 - Yellow on Dark Blue", 0},
    {"&2 - White on Dark Blue", 1},
    {"&3 - White on Dark Green", 5},
    {"&4 - White on Maroon", 7},
    {"&5 - White on Black", 2},
    {"&6 - Black on White", 3},
}};

}  // namespace quenderlink
