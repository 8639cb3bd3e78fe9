#include "app/toolwindows.h"

#include <exception>

#include "util/inifile.h"

namespace qz {

namespace {

bool Same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A window just made carries its help row from then on.
void MarkHelpRow(const TToolWindowEntry& e) {
  if (e.helpRow.isEmpty() || !e.window) return;
  if (QObject* w = e.window()) w->setProperty(kHelpRowProperty, e.helpRow);
}

// Runs one window's part of a setup; an exception costs only that window's section.
template <typename F>
void Guarded(const QString& section, const TSectionFailure& failure, F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    if (failure) failure(section, QString::fromLocal8Bit(e.what()));
  } catch (...) {
    if (failure) failure(section, QStringLiteral("unknown error"));
  }
}

}  // namespace

const QStringList& TToolWindows::CreateOrder() {
  static const QStringList order = {
      QStringLiteral("DebugWindow"),  QStringLiteral("RhoChart"),     QStringLiteral("PowCalDlg"),
      QStringLiteral("LogForm"),      QStringLiteral("TracePropDlg"), QStringLiteral("ScaleDlg"),
      QStringLiteral("AboutBox"),     QStringLiteral("QzSmallFrm"),   QStringLiteral("QzResForm"),
      QStringLiteral("TrgForm"),      QStringLiteral("Model"),        QStringLiteral("MakeSce"),
      QStringLiteral("TxTimingForm"), QStringLiteral("MstpForm")};
  return order;
}

const QStringList& TToolWindows::UnitStartOrder() {
  static const QStringList order = {QStringLiteral("TuStpFrm"), QStringLiteral("QzSamplForm"),
                                    QStringLiteral("TunPic"), QStringLiteral("TuScenarioForm")};
  return order;
}

const QStringList& TToolWindows::OnDemandOrder() {
  static const QStringList order = {QStringLiteral("HelpViewer")};
  return order;
}

const QStringList& TToolWindows::WriteOrder() {
  static const QStringList order = {
      QStringLiteral("QzResForm"),      QStringLiteral("QzSmallFrm"),   QStringLiteral("LogForm"),
      QStringLiteral("TuStpFrm"),       QStringLiteral("TrgForm"),      QStringLiteral("MstpForm"),
      QStringLiteral("QzSamplForm"),    QStringLiteral("TxTimingForm"), QStringLiteral("TunPic"),
      QStringLiteral("TuScenarioForm"), QStringLiteral("Model"),        QStringLiteral("RhoChart"),
      QStringLiteral("MakeSce")};
  return order;
}

const QStringList& TToolWindows::LoadOrder() {
  static const QStringList order = {
      QStringLiteral("QzResForm"),   QStringLiteral("QzSmallFrm"),    QStringLiteral("LogForm"),
      QStringLiteral("QzSamplForm"), QStringLiteral("TxTimingForm"),  QStringLiteral("TuStpFrm"),
      QStringLiteral("Model"),       QStringLiteral("RhoChart"),      QStringLiteral("MakeSce"),
      QStringLiteral("TunPic"),      QStringLiteral("TuScenarioForm")};
  return order;
}

const QStringList& TToolWindows::ViewOrder() {
  static const QStringList order = {QStringLiteral("QzSmallFrm"), QStringLiteral("QzResForm"),
                                    QStringLiteral("TuStpFrm"), QStringLiteral("LogForm"),
                                    QStringLiteral("TrgForm")};
  return order;
}

QStringList TToolWindows::DestroyOrder() {
  QStringList order = OnDemandOrder();
  for (auto it = UnitStartOrder().crbegin(); it != UnitStartOrder().crend(); ++it) order << *it;
  for (auto it = CreateOrder().crbegin(); it != CreateOrder().crend(); ++it) order << *it;
  return order;
}

TCreatePoint TToolWindows::CreatePointOf(const QString& section) {
  if (UnitStartOrder().contains(section, Qt::CaseInsensitive)) return TCreatePoint::UnitStart;
  if (OnDemandOrder().contains(section, Qt::CaseInsensitive)) return TCreatePoint::OnDemand;
  return TCreatePoint::FrameStart;
}

bool TToolWindows::Register(TToolWindowEntry entry) {
  const bool known = CreateOrder().contains(entry.section, Qt::CaseInsensitive) ||
                     UnitStartOrder().contains(entry.section, Qt::CaseInsensitive) ||
                     OnDemandOrder().contains(entry.section, Qt::CaseInsensitive);
  if (!known || !entry.create) return false;
  // A section that is not in the write order would never be written: such a window keeps
  // nothing in the setup.
  if (!WriteOrder().contains(entry.section, Qt::CaseInsensitive) && entry.writeStp) return false;
  if (TToolWindowEntry* e = FindMutable(entry.section)) {
    *e = std::move(entry);
    return true;
  }
  entries_.push_back(std::move(entry));
  return true;
}

TToolWindowEntry* TToolWindows::FindMutable(const QString& section) {
  for (TToolWindowEntry& e : entries_)
    if (Same(e.section, section)) return &e;
  return nullptr;
}

const TToolWindowEntry* TToolWindows::Find(const QString& section) const {
  for (const TToolWindowEntry& e : entries_)
    if (Same(e.section, section)) return &e;
  return nullptr;
}

bool TToolWindows::Has(const QString& section) const { return Find(section) != nullptr; }

QStringList TToolWindows::CreateAll(TCreatePoint point, const IniFile* autoSetup, bool abortPgm) {
  const QStringList& order = point == TCreatePoint::FrameStart  ? CreateOrder()
                             : point == TCreatePoint::UnitStart ? UnitStartOrder()
                                                                : OnDemandOrder();
  QStringList made;
  for (const QString& name : order) {
    const TToolWindowEntry* e = Find(name);
    if (!e) continue;
    e->create(abortPgm ? nullptr : autoSetup);
    MarkHelpRow(*e);
    made << e->section;
    if (!created_.contains(e->section, Qt::CaseInsensitive)) created_ << e->section;
  }
  return made;
}

bool TToolWindows::CreateOne(const QString& section, const IniFile* autoSetup) {
  const TToolWindowEntry* e = Find(section);
  if (!e) return false;
  if (!Created(section)) {
    e->create(autoSetup);
    MarkHelpRow(*e);
    created_ << e->section;
  }
  return true;
}

bool TToolWindows::Created(const QString& section) const {
  return created_.contains(section, Qt::CaseInsensitive);
}

void TToolWindows::WriteAll(IniFile& ini, const TSectionFailure& failure) const {
  for (const QString& s : WriteOrder()) {
    const TToolWindowEntry* e = Find(s);
    if (!e || !e->writeStp) continue;
    Guarded(e->section, failure, [&] { e->writeStp(ini); });
  }
}

void TToolWindows::ReadAll(const IniFile& ini, const TSectionFailure& failure) const {
  for (const QString& s : LoadOrder()) {
    const TToolWindowEntry* e = Find(s);
    if (!e || !e->readStp || !ini.SectionExists(e->section)) continue;
    Guarded(e->section, failure, [&] { e->readStp(ini); });
  }
}

std::vector<const TToolWindowEntry*> TToolWindows::ViewEntries() const {
  std::vector<const TToolWindowEntry*> out;
  for (const QString& s : ViewOrder()) {
    const TToolWindowEntry* e = Find(s);
    if (e && !e->viewCaption.isEmpty()) out.push_back(e);
  }
  return out;
}

void TToolWindows::EnableForRun(bool enabled) {
  for (const TToolWindowEntry& e : entries_) {
    if (!e.staysEnabledInRun && e.enable) e.enable(enabled);
    if (e.runHook) e.runHook(!enabled);
  }
}

QStringList TToolWindows::DestroyAll() {
  QStringList gone;
  for (const QString& s : DestroyOrder()) {
    if (!created_.contains(s, Qt::CaseInsensitive)) continue;
    const TToolWindowEntry* e = Find(s);
    if (!e) continue;
    created_.removeAll(e->section);
    if (e->destroy) e->destroy();
    gone << e->section;
  }
  return gone;
}

}  // namespace qz
