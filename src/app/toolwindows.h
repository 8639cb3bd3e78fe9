#pragma once
// The tool windows of the frame window, created once at start-up in one fixed order. A window
// is created only when a factory is registered for its name, so the windows that exist plug in
// by registering and the others are simply skipped.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace qz {

class IniFile;

class TToolWindows {
 public:
  // The creation order, by the name of each window's setup section (or class, for the windows
  // without a section).
  static const QStringList& Order();

  // A factory gets the automatic setup to read its section from, or nullptr when the program is
  // being terminated (the window then keeps its defaults). False for a name not in the order.
  using Factory = std::function<void(const IniFile* autoSetup)>;
  bool Register(const QString& name, Factory factory);

  // Creates the registered windows in order; returns their names.
  QStringList CreateAll(const IniFile* autoSetup, bool abortPgm);

 private:
  std::vector<std::pair<QString, Factory>> factories_;
};

}  // namespace qz
