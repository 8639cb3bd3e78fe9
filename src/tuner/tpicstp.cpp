#include "tuner/tpicstp.h"

namespace qz {

const TStpKeys<TTpicStp>& TpicKeys() {
  static const TStpKeys<TTpicStp> keys =
      TStpKeys<TTpicStp>().Int("Indic", &TTpicStp::Indic, 0, 2).Colour("Bcolor", &TTpicStp::Bcolor);
  return keys;
}

void WriteTpicStp(IniFile& ini, const TWindowPlace& place, const TTpicStp& stp) {
  const QString s = QString::fromLatin1(kTpicSection);
  WritePlace(ini, s, place, kToolPlaceRule);
  TpicKeys().Write(stp, ini, s);
}

void ReadTpicStp(const IniFile& ini, TWindowPlace& place, TTpicStp& stp, int screenWidth,
                 int screenHeight) {
  const QString s = QString::fromLatin1(kTpicSection);
  place = ReadPlace(ini, s, place, kToolPlaceRule, screenWidth, screenHeight);
  TpicKeys().Read(stp, ini, s);
}

}  // namespace qz
