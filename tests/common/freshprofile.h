#pragma once
// A test with a profile folder of its own (the per-user folder made in it, nothing copied) and a
// quiet scripted asker answering the program's questions. A test may move to another profile
// folder with UseProfile().

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include "util/asker.h"
#include "util/folders.h"

namespace qz::testing {

class FreshProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    UseProfile(dir.path());
    asker.quiet = true;
  }
  void TearDown() override { ResetFolders(); }
  // The profile becomes `path` (the per-user folder made in it); a frame window made before
  // must be gone first.
  static void UseProfile(const QString& path) {
    qputenv("QZSIM_PROFILE", path.toLocal8Bit());
    ResetFolders();
    MakeUserFolder(QString::fromLatin1(kUserSubfolder), true);
  }
  // The automatic setup of the profile.
  static QString Auto() { return InUserFolder(QStringLiteral("QzSim0.ini")); }

  QTemporaryDir dir;
  TScriptedAsker asker;
  TScopedAsker scoped{&asker};
};

}  // namespace qz::testing
