#include "app/toolwindows.h"

#include <QDebug>
#include <algorithm>
#include <cassert>
#include <exception>

#include "util/inifile.h"

namespace qz {

namespace {

bool Same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A window just made carries its help row from then on.
void MarkHelpRow(const TToolWindowEntry& e) {
  if (e.helpRow.isEmpty() || !e.object) return;
  if (QObject* w = e.object()) w->setProperty(kHelpRowProperty, e.helpRow);
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

// A rank of the replacement left at 0 is the replaced entry's.
void TakeRanks(TToolWindowEntry& e, const TToolWindowEntry& old) {
  if (e.createRank == 0) {
    e.createPoint = old.createPoint;
    e.createRank = old.createRank;
  }
  if (e.writeRank == 0) e.writeRank = old.writeRank;
  if (e.loadRank == 0) e.loadRank = old.loadRank;
  if (e.viewRank == 0) e.viewRank = old.viewRank;
}

}  // namespace

QString TToolWindows::Refusal(const TToolWindowEntry& e, const TToolWindowEntry* replaced) const {
  if (e.section.trimmed().isEmpty()) return QStringLiteral("no section");
  if (!e.create) return QStringLiteral("no factory");
  if (replaced && !replaced->replaceable) return QStringLiteral("registered twice");
  if (e.createRank <= 0) return QStringLiteral("no creation rank");
  if (e.writeStp && e.writeRank <= 0) return QStringLiteral("a writer without its write rank");
  if (e.readStp && e.loadRank <= 0) return QStringLiteral("a reader without its load rank");
  if (!e.viewCaption.isEmpty() && e.viewRank <= 0)
    return QStringLiteral("a View item without its view rank");
  for (const TToolWindowEntry& o : entries_) {
    if (&o == replaced) continue;
    auto shared = [&](const char* what) {
      return QStringLiteral("%1 rank shared with \"%2\"").arg(QLatin1String(what), o.section);
    };
    if (o.createPoint == e.createPoint && o.createRank == e.createRank) return shared("creation");
    if (e.writeRank > 0 && o.writeRank == e.writeRank) return shared("write");
    if (e.loadRank > 0 && o.loadRank == e.loadRank) return shared("load");
    if (e.viewRank > 0 && o.viewRank == e.viewRank) return shared("view");
  }
  return {};
}

bool TToolWindows::Register(TToolWindowEntry entry, QString* reason) {
  TToolWindowEntry* old = entry.section.isEmpty() ? nullptr : FindMutable(entry.section);
  if (old && old->replaceable) TakeRanks(entry, *old);
  const QString why = Refusal(entry, old);
  if (reason) *reason = why;
  if (!why.isEmpty()) {
    const QString line = QStringLiteral("%1: %2").arg(entry.section, why);
    refusals_ << line;
    qWarning().noquote() << "Tool window refused:" << line;
    assert(!assertOnRefusal && "a tool window was refused");
    return false;
  }
  if (old) {
    *old = std::move(entry);
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

template <class Rank>
std::vector<const TToolWindowEntry*> TToolWindows::Ranked(Rank rank) const {
  std::vector<const TToolWindowEntry*> out;
  for (const TToolWindowEntry& e : entries_)
    if (rank(e) > 0) out.push_back(&e);
  std::stable_sort(out.begin(), out.end(),
                   [&rank](const TToolWindowEntry* a, const TToolWindowEntry* b) {
                     return rank(*a) < rank(*b);
                   });
  return out;
}

QStringList TToolWindows::CreateOrder(TCreatePoint point) const {
  QStringList out;
  for (const TToolWindowEntry* e : Ranked([point](const TToolWindowEntry& x) {
         return x.createPoint == point ? x.createRank : 0;
       }))
    out << e->section;
  return out;
}

QStringList TToolWindows::WriteOrder() const {
  QStringList out;
  for (const TToolWindowEntry* e :
       Ranked([](const TToolWindowEntry& x) { return x.writeStp ? x.writeRank : 0; }))
    out << e->section;
  return out;
}

QStringList TToolWindows::LoadOrder() const {
  QStringList out;
  for (const TToolWindowEntry* e :
       Ranked([](const TToolWindowEntry& x) { return x.readStp ? x.loadRank : 0; }))
    out << e->section;
  return out;
}

QStringList TToolWindows::DestroyOrder() const {
  QStringList order = CreateOrder(TCreatePoint::OnDemand);
  const QStringList unit = CreateOrder(TCreatePoint::UnitStart);
  for (auto it = unit.crbegin(); it != unit.crend(); ++it) order << *it;
  const QStringList frame = CreateOrder(TCreatePoint::FrameStart);
  for (auto it = frame.crbegin(); it != frame.crend(); ++it) order << *it;
  return order;
}

TCreatePoint TToolWindows::CreatePointOf(const QString& section) const {
  const TToolWindowEntry* e = Find(section);
  return e ? e->createPoint : TCreatePoint::FrameStart;
}

QStringList TToolWindows::CreateAll(TCreatePoint point, const IniFile* autoSetup, bool abortPgm) {
  QStringList made;
  for (const QString& name : CreateOrder(point)) {
    const TToolWindowEntry* e = Find(name);
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
  for (const TToolWindowEntry* e :
       Ranked([](const TToolWindowEntry& x) { return x.writeStp ? x.writeRank : 0; }))
    Guarded(e->section, failure, [&] { e->writeStp(ini); });
}

void TToolWindows::ReadAll(const IniFile& ini, const TSectionFailure& failure) const {
  for (const TToolWindowEntry* e :
       Ranked([](const TToolWindowEntry& x) { return x.readStp ? x.loadRank : 0; })) {
    if (!ini.SectionExists(e->section)) continue;
    Guarded(e->section, failure, [&] { e->readStp(ini); });
  }
}

std::vector<const TToolWindowEntry*> TToolWindows::ViewEntries() const {
  return Ranked([](const TToolWindowEntry& x) { return x.viewCaption.isEmpty() ? 0 : x.viewRank; });
}

bool TToolWindows::HoldsUnit() const {
  for (const TToolWindowEntry& e : entries_)
    if (e.holdsUnit && e.holdsUnit()) return true;
  return false;
}

bool TToolWindows::EndBeforeClose(const std::function<void()>& closeAgain) const {
  for (const TToolWindowEntry& e : entries_)
    if (e.endBeforeClose && e.endBeforeClose(closeAgain)) return true;
  return false;
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
    created_.removeAll(e->section);
    if (e->destroy) e->destroy();
    gone << e->section;
  }
  return gone;
}

}  // namespace qz
