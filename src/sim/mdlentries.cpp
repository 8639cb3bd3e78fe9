#include "sim/mdlentries.h"

#include "util/format.h"
#include "util/inifile.h"
#include "util/stpkeys.h"

namespace qz {

namespace {

QString IntStr(int n) { return Format(QStringLiteral("%d"), {n}); }

}  // namespace

const QStringList& MagStepItems() {
  static const QStringList items{"0.1", "0.2", "0.5", "1", "2", "5"};
  return items;
}

const QStringList& PhaStepItems() {
  static const QStringList items{"0.1", "0.2", "0.5", "1", "2", "5", "10", "20", "45", "90", "180"};
  return items;
}

const std::array<TAnimEntry, 6>& AnimEntries() {
  static const std::array<TAnimEntry, 6> entries{{
      {&TMdlEntries::AniMagC, &TAnimControls::UdMagC, kAnimMagUdMin, kAnimMagUdMax, "AniMagC"},
      {&TMdlEntries::AniPhaC, &TAnimControls::UdPhaC, kAnimPhaUdMin, kAnimPhaUdMax, "AniPhaC"},
      {&TMdlEntries::AniMag1, &TAnimControls::UdMag1, kAnimMagUdMin, kAnimMagUdMax, "AniMag1"},
      {&TMdlEntries::AniMag2, &TAnimControls::UdMag2, kAnimMagUdMin, kAnimMagUdMax, "AniMag2"},
      {&TMdlEntries::AniPha1, &TAnimControls::UdPha1, kAnimPhaUdMin, kAnimPhaUdMax, "AniPha1"},
      {&TMdlEntries::AniPha2, &TAnimControls::UdPha2, kAnimPhaUdMin, kAnimPhaUdMax, "AniPha2"},
  }};
  return entries;
}

namespace {

using TMdlKeys = TStpKeys<TMdlStp>;

// An entry field of the record.
template <class T>
auto EntField(T TMdlEntries::*f) {
  return [f](TMdlStp& r) -> T& { return r.Ent.*f; };
}
template <class T>
auto AnimField(T TAnimControls::*f) {
  return [f](TMdlStp& r) -> T& { return r.Ent.Anim.*f; };
}
template <class T>
auto FlagField(T TAnimFlags::*f) {
  return [f](TMdlStp& r) -> T& { return r.Ent.Flags.*f; };
}

// The text of an editable step list: its own text when one was kept, else its chosen item.
TMdlKeys::Reader StepText(const char* key, QString TAnimControls::*text, int TMdlEntries::*idx,
                          const QStringList& (*items)()) {
  const QString k = QString::fromLatin1(key);
  return [=](TMdlStp& r, const IniFile& ini, const QString& s) {
    const QString t = ini.ReadString(s, k, QString()).trimmed();
    r.Ent.Anim.*text = t.isEmpty() ? items()[r.Ent.*idx] : t;
  };
}

TMdlKeys::Writer TextWriter(const char* key, QString TAnimControls::*text) {
  const QString k = QString::fromLatin1(key);
  return [=](const TMdlStp& r, IniFile& ini, const QString& s) {
    ini.WriteString(s, k, r.Ent.Anim.*text);
  };
}

// Section "Model" in the order it is written. The window place is read unlimited here; the
// window keeps it on its screen.
const TMdlKeys& MdlKeys() {
  static const TMdlKeys keys = [] {
    TMdlKeys k;
    k.Int("Top", EntField(&TMdlEntries::Top), INT32_MIN, INT32_MAX)
        .Int("Left", EntField(&TMdlEntries::Left), INT32_MIN, INT32_MAX)
        .Int("DutType", EntField(&TMdlEntries::DutType), kDutDefined, kDutChart)
        .Text("RhoMag", EntField(&TMdlEntries::Mag), QStringLiteral("0.2"))
        .Int("RFormat", EntField(&TMdlEntries::RFormat), kRflMag, kRflVswr)
        .Text("RhoPha", EntField(&TMdlEntries::Pha), QStringLiteral("45"))
        .Int("UpDnPha", EntField(&TMdlEntries::UdPha), kPhaUdMin, kPhaUdMax)
        .Text("RUncert", EntField(&TMdlEntries::RhoUncert), QStringLiteral("0"));
    for (const TAnimEntry& a : AnimEntries()) k.Int(a.key, AnimField(a.ud), a.lo, a.hi);
    k.Int("AniPause", EntField(&TMdlEntries::UdPause), kPauseMin, kPauseMax)
        .Int("AniDwell", AnimField(&TAnimControls::UdDwell), kDwellMin, kDwellMax)
        .Int("AniMagS", EntField(&TMdlEntries::MagStepIdx), 0, int(MagStepItems().size()) - 1)
        .Int("AniPhaS", EntField(&TMdlEntries::PhaStepIdx), 0, int(PhaStepItems().size()) - 1)
        .Custom("AniMagTxt", TextWriter("AniMagTxt", &TAnimControls::MagStepTxt),
                StepText("AniMagTxt", &TAnimControls::MagStepTxt, &TMdlEntries::MagStepIdx,
                         &MagStepItems))
        .Custom("AniPhaTxt", TextWriter("AniPhaTxt", &TAnimControls::PhaStepTxt),
                StepText("AniPhaTxt", &TAnimControls::PhaStepTxt, &TMdlEntries::PhaStepIdx,
                         &PhaStepItems))
        .Text("Pinc", EntField(&TMdlEntries::Pow), QStringLiteral("6"))
        .Text("PUncert", EntField(&TMdlEntries::Puncert), QStringLiteral("0"))
        .Int("ErrByte", &TMdlStp::ErrByte, 0, 255)
        .Text("Freq", EntField(&TMdlEntries::Fre))
        .Text("FUncert", EntField(&TMdlEntries::Funcert), QStringLiteral("0"))
        .Text("Temp", EntField(&TMdlEntries::Temp), QStringLiteral("25"))
        .Text("TUncert", EntField(&TMdlEntries::Tuncert), QStringLiteral("0"))
        .Text("MdlResPath", &TMdlStp::MdlResPath, QString())
        .Bool("cbReverseMag", FlagField(&TAnimFlags::ReverseMag))
        .Bool("cbReversePha", FlagField(&TAnimFlags::ReversePha))
        .Bool("cbNoSpiral", FlagField(&TAnimFlags::NoSpiral))
        .Bool("Visible", EntField(&TMdlEntries::Visible));
    return k;
  }();
  return keys;
}

}  // namespace

void TMdlStp::WriteStp(IniFile& ini, const QString& section) const {
  MdlKeys().Write(*this, ini, section);
}

std::optional<QString> TMdlStp::TextOf(const QString& key) const {
  return MdlKeys().TextOf(*this, key);
}

QStringList TMdlStp::KeyNames() { return MdlKeys().Names(); }

void TMdlStp::ReadStp(const IniFile& ini, const QString& section) {
  MdlKeys().Read(*this, ini, section);
  // The entries beside the up-downs show the up-downs' values.
  for (const TAnimEntry& a : AnimEntries()) Ent.*a.text = IntStr(Ent.Anim.*a.ud);
  Ent.Pause = IntStr(Ent.UdPause);
  Ent.Anim.MeasPerPositTxt = IntStr(Ent.Anim.UdDwell);
  Ent.MdlResPath = MdlResPath;
}

}  // namespace qz
