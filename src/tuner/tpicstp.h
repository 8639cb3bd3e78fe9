#pragma once
// What the tuner picture keeps in its setup section "TunPic": its place ("Visible", "Top",
// "Left", kept by the window-place rules of tool windows), the position unit "Indic" (0..2) and
// the picture's background colour "Bcolor" (0x00BBGGRR).

#include <QString>

#include "util/colors.h"
#include "util/stpkeys.h"
#include "util/winpos.h"

namespace qz {

inline constexpr char kTpicSection[] = "TunPic";

struct TTpicStp {
  int Indic = 0;
  TColor Bcolor = clBtnFace;
  bool operator==(const TTpicStp&) const = default;
};

// "Indic" and "Bcolor"; a missing key keeps the present value, "Indic" is limited to 0..2.
const TStpKeys<TTpicStp>& TpicKeys();

// The whole section without a window: the place first (as the window-place helper writes it),
// then the keys of the table. Reading keeps what the section lacks and limits the place to a
// screen of the given size.
void WriteTpicStp(IniFile& ini, const TWindowPlace& place, const TTpicStp& stp);
void ReadTpicStp(const IniFile& ini, TWindowPlace& place, TTpicStp& stp, int screenWidth,
                 int screenHeight);

}  // namespace qz
