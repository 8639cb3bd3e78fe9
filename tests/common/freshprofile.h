#pragma once
// A test with a profile folder of its own (the per-user folder made in it, nothing copied) and a
// quiet scripted asker answering the program's questions.

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
    qputenv("QZSIM_PROFILE", dir.path().toLocal8Bit());
    ResetFolders();
    MakeUserFolder(QString::fromLatin1(kUserSubfolder), true);
    asker.quiet = true;
  }
  void TearDown() override { ResetFolders(); }
  // The automatic setup of the profile.
  static QString Auto() { return InUserFolder(QStringLiteral("QzSim0.ini")); }

  QTemporaryDir dir;
  TScriptedAsker asker;
  TScopedAsker scoped{&asker};
};

}  // namespace qz::testing
