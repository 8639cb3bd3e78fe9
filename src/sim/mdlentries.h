#pragma once
// Section "Model" of the setup as a record: the model window's controls (sim/mdlcontrols.h),
// the error byte and the results path the model holds itself. The operations on the controls'
// record are the presenter's (sim/mdlpresenter.h).

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

#include "sim/mdlcontrols.h"

namespace qz {

class IniFile;

// What section "Model" keeps of the model: the entries, and the error byte and the results
// path the model holds itself. The tuner description's keys go into the same section but
// belong to the tuner model.
struct TMdlStp {
  TMdlEntries Ent;
  uint8_t ErrByte = 0;
  QString MdlResPath;

  friend bool operator==(const TMdlStp&, const TMdlStp&) = default;
  void WriteStp(IniFile& ini, const QString& section) const;
  // Every key limited to its control's range; the texts shown beside the up-downs follow them.
  // "Top" and "Left" are read as they stand: the window keeps them on its screen.
  void ReadStp(const IniFile& ini, const QString& section);
  // The text WriteStp writes for the key `key` (the name as written); none for a name that is
  // not one of the section's keys.
  std::optional<QString> TextOf(const QString& key) const;
  // The section's key names in writing order.
  static QStringList KeyNames();
};

// The six entries of the animation page (MagC, PhaC, Mag1, Mag2, Pha1, Pha2) with the up-downs
// they feed, their limits and their keys.
struct TAnimEntry {
  QString TMdlEntries::*text;
  int TAnimControls::*ud;
  int lo, hi;
  const char* key;
};
const std::array<TAnimEntry, 6>& AnimEntries();

}  // namespace qz
