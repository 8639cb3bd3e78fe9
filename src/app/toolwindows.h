#pragma once
// The tool windows of the frame window, one record each: the window's setup section, how it is
// created and when, how it writes and reads its section, its View-menu item, how it follows a
// run and how it is destroyed at exit. The frame window, the setup writer and loader and the
// start-up iterate over the records; a new window adds its own files and one registration.
//
// The places of the windows in the fixed orders (creation, writing, loading, the View menu,
// destruction) are held here, by the name of each window's setup section, so a registration
// cannot put a window out of its place. A window that is not registered is simply skipped.

#include <QObject>
#include <QString>
#include <QStringList>
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
  // when it is made. `window` gives the window once it exists (nullptr before).
  QString helpRow;
  std::function<QObject*()> window;
  // Builds the window; gets the automatic setup to read its section from, or nullptr when the
  // program is being terminated (the window then keeps its defaults).
  std::function<void(const IniFile* autoSetup)> create;
  // The window's own section (both may be empty: the window keeps nothing in the setup; an
  // empty reader: the section is only written).
  std::function<void(IniFile&)> writeStp;
  std::function<void(const IniFile&)> readStp;

  // The View-menu item (none when the caption is empty): shown is the window's state when the
  // menu opens, show(true/false) shows or hides it.
  QString viewCaption;
  QString viewHint;
  std::function<bool()> shown;
  std::function<void(bool)> show;

  // A window that does not stay enabled during a run is disabled as a whole through `enable`;
  // runHook is told at the start (true) and the end (false) of every run.
  bool staysEnabledInRun = true;
  std::function<void(bool)> enable;
  std::function<void(bool running)> runHook;

  // Destroys the window at exit without its operator close actions (closing a window by hand
  // may change the model; the end of the program must not). Windows therefore keep such actions
  // in their close handling, which destroying never runs.
  std::function<void()> destroy;
};

// The failure of one window's section: the section and the reason.
using TSectionFailure = std::function<void(const QString& section, const QString& reason)>;

class TToolWindows : public TRunEnable {
 public:
  // The creation orders: at the program start, and at the start of the unit.
  static const QStringList& CreateOrder();
  static const QStringList& UnitStartOrder();
  // Windows created at their first use.
  static const QStringList& OnDemandOrder();
  // The order of the sections in a setup after the frame window's and the analyzer's, and the
  // order in which a loaded setup is read.
  static const QStringList& WriteOrder();
  static const QStringList& LoadOrder();
  // The windows of the View menu, in menu order.
  static const QStringList& ViewOrder();
  // At exit: windows created on demand first, then the later windows before the earlier ones.
  static QStringList DestroyOrder();
  // Where a window is created, by its section name.
  static TCreatePoint CreatePointOf(const QString& section);

  // False for a name in no creation order (the window would never be created) or without a
  // factory. A second registration under the same name replaces the first.
  bool Register(TToolWindowEntry entry);
  bool Has(const QString& section) const;
  const TToolWindowEntry* Find(const QString& section) const;

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

  // Start (false) and end (true) of a run.
  void EnableForRun(bool enabled) override;

  // Destroys the created windows in the destruction order; returns their names. Each window is
  // destroyed once.
  QStringList DestroyAll();

 private:
  TToolWindowEntry* FindMutable(const QString& section);
  std::vector<TToolWindowEntry> entries_;
  QStringList created_;
};

}  // namespace qz
