#include "app/toolwindows.h"

namespace qz {

const QStringList& TToolWindows::Order() {
  static const QStringList order = {
      QStringLiteral("DebugWindow"),  QStringLiteral("RhoChart"),     QStringLiteral("PowCalDlg"),
      QStringLiteral("LogForm"),      QStringLiteral("TracePropDlg"), QStringLiteral("ScaleDlg"),
      QStringLiteral("AboutBox"),     QStringLiteral("QzSmallFrm"),   QStringLiteral("QzResForm"),
      QStringLiteral("TrgForm"),      QStringLiteral("Model"),        QStringLiteral("MakeSce"),
      QStringLiteral("TxTimingForm"), QStringLiteral("MstpForm")};
  return order;
}

bool TToolWindows::Register(const QString& name, Factory factory) {
  if (!Order().contains(name, Qt::CaseInsensitive) || !factory) return false;
  for (auto& f : factories_) {
    if (f.first.compare(name, Qt::CaseInsensitive) == 0) {
      f.second = std::move(factory);
      return true;
    }
  }
  factories_.emplace_back(name, std::move(factory));
  return true;
}

QStringList TToolWindows::CreateAll(const IniFile* autoSetup, bool abortPgm) {
  QStringList created;
  for (const QString& name : Order()) {
    for (auto& f : factories_) {
      if (f.first.compare(name, Qt::CaseInsensitive) != 0) continue;
      f.second(abortPgm ? nullptr : autoSetup);
      created << name;
    }
  }
  return created;
}

}  // namespace qz
