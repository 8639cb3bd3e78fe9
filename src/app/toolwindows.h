#pragma once
// The tool windows of the frame window, one record each: the window's setup section, how it is
// created and when, how it writes and reads its section, its View-menu item, how it follows a
// run and how it is destroyed at exit. The frame window, the setup writer and loader and the
// start-up iterate over the records; a new window adds its own files and one registration.
//
// Each record carries its places in the orders (creation, writing, loading, the View menu) as
// ranks: the registry orders by rank, so registrations may come in any order. A registration
// that could never take its place (no factory, no section, a writer, reader or menu item
// without its rank, a rank another window holds) is refused with its reason.

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/cycleports.h"

namespace qz {

class IniFile;

// When a window is created.
enum class TCreatePoint {
  FrameStart,  // after the frame window, in the fixed order of the program start
  UnitStart,   // once the unit has been started (its settings are known)
  OnDemand,    // at its first use (the help viewer)
};

// The property that marks a window with the origin of its help row (app/ui/helprequests.h).
inline constexpr const char* kHelpRowProperty = "qzHelpRow";

struct TToolWindowEntry {
  QString section;  // the setup section, or the class name of a window without one
  // The window's help row (its origin in the help requests); the window is marked with it
  // when it is made (through `object`).
  QString helpRow;
  // Builds the window; gets the automatic setup to read its section from, or nullptr when the
  // program is being terminated (the window then keeps its defaults).
  std::function<void(const IniFile* autoSetup)> create;
  // When it is created and its place in that creation order (ranks count from 1; 0: the
  // window is in no order).
  TCreatePoint createPoint = TCreatePoint::FrameStart;
  int32_t createRank = 0;

  // The window's own section (both may be empty: the window keeps nothing in the setup; an
  // empty reader: the section is only written), with their places in the setup's write order
  // and load order.
  std::function<void(IniFile&)> writeStp;
  int32_t writeRank = 0;
  std::function<void(const IniFile&)> readStp;
  int32_t loadRank = 0;

  // The View-menu item (none when the caption is empty): shown is the window's state when the
  // menu opens, show(true/false) shows or hides it.
  QString viewCaption;
  QString viewHint;
  int32_t viewRank = 0;
  std::function<bool()> shown;
  std::function<void(bool)> show;

  // A window that does not stay enabled during a run is disabled as a whole through `enable`;
  // runHook is told at the start (true) and the end (false) of every run.
  bool staysEnabledInRun = true;
  std::function<void(bool)> enable;
  std::function<void(bool running)> runHook;

  // True while the window owns the unit (a measured scenario play): Run/Pause does nothing and
  // the remote control refuses its commands.
  std::function<bool()> holdsUnit;
  // Asked before the program closes: true when the window has work under way that it ends
  // first; it then calls `closeAgain` once the work has ended.
  std::function<bool(std::function<void()> closeAgain)> endBeforeClose;

  // Destroys the window at exit without its operator close actions (closing a window by hand
  // may change the model; the end of the program must not). Windows therefore keep such actions
  // in their close handling, which destroying never runs.
  std::function<void()> destroy;
  // The window itself (none before it is created or after it is gone).
  std::function<QObject*()> object;

  // A part of the program without a window (the model, the data logging): a window of the same
  // section replaces it and takes its ranks where it gives none of its own.
  bool replaceable = false;
};

// The failure of one window's section: the section and the reason.
using TSectionFailure = std::function<void(const QString& section, const QString& reason)>;

class TToolWindows : public TRunEnable {
 public:
  // False, with the reason, for a registration that could never take its place; the refusal
  // is also written to stderr and stops a debug build (unless assertOnRefusal is off).
  [[nodiscard]] bool Register(TToolWindowEntry entry, QString* reason = nullptr);
  // Every refusal so far ("section: reason"): a window program with one is incomplete.
  const QStringList& Refusals() const { return refusals_; }
  bool assertOnRefusal = true;

  bool Has(const QString& section) const;
  const TToolWindowEntry* Find(const QString& section) const;
  // The window of a section as its class (nullptr when there is none or it is of another class).
  template <class T>
  T* Window(const QString& section) const {
    const TToolWindowEntry* e = Find(section);
    return e && e->object ? dynamic_cast<T*>(e->object()) : nullptr;
  }

  // The registered windows of one creation point in their order.
  QStringList CreateOrder(TCreatePoint point) const;
  // The writers and readers of the setup in their orders.
  QStringList WriteOrder() const;
  QStringList LoadOrder() const;
  // At exit: windows created on demand first, then the later windows before the earlier ones.
  QStringList DestroyOrder() const;
  // Where a window is created (FrameStart for an unknown section).
  TCreatePoint CreatePointOf(const QString& section) const;

  // Creates the registered windows of one creation point in order; returns their names.
  QStringList CreateAll(TCreatePoint point, const IniFile* autoSetup, bool abortPgm);
  // Creates one registered window that does not exist yet (a window created on demand); true
  // when it exists afterwards.
  bool CreateOne(const QString& section, const IniFile* autoSetup);
  bool Created(const QString& section) const;

  // Every registered section in its order; a failing window is reported and the next one is
  // asked.
  void WriteAll(IniFile& ini, const TSectionFailure& failure = {}) const;
  // Only the sections the file holds are read: a section the file lacks leaves its window as
  // it is.
  void ReadAll(const IniFile& ini, const TSectionFailure& failure = {}) const;

  // The registered windows with a View-menu item, in menu order.
  std::vector<const TToolWindowEntry*> ViewEntries() const;

  // A window owns the unit (Run/Pause waits for it).
  bool HoldsUnit() const;
  // Asks the windows with work under way to end it before the close; true when one does (it
  // calls closeAgain once it has ended).
  bool EndBeforeClose(const std::function<void()>& closeAgain) const;

  // Start (false) and end (true) of a run.
  void EnableForRun(bool enabled) override;

  // Destroys the created windows in the destruction order; returns their names. Each window is
  // destroyed once.
  QStringList DestroyAll();

 private:
  QString Refusal(const TToolWindowEntry& entry, const TToolWindowEntry* replaced) const;
  TToolWindowEntry* FindMutable(const QString& section);
  // The entries with a rank by `rank`, in rank order.
  template <class Rank>
  std::vector<const TToolWindowEntry*> Ranked(Rank rank) const;
  std::vector<TToolWindowEntry> entries_;
  QStringList created_;
  QStringList refusals_;
};

}  // namespace qz
