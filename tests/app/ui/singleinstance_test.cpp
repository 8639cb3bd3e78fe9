#include "app/ui/singleinstance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/testfiles.h"

namespace qz {
namespace {

// Whatever a lock file holds (nothing, garbage, the number of a process long gone) never keeps
// a start out: only a running holder of the lock does. A folder of the lock's name makes the
// lock unavailable, and the window starts anyway with the message.
TEST(SingleInstance, ContentNeverMattersOnlyAHolderDoes) {
  QTemporaryDir user, run;
  ASSERT_TRUE(user.isValid() && run.isValid());
  const struct {
    const char* label;
    const char* content;  // nullptr: a folder of the lock's name
    TInstanceLock want;
  } cases[] = {{"empty", "", TInstanceLock::Taken},
               {"garbage", "\xff\xfe garbage\n", TInstanceLock::Taken},
               {"dead pid", "999999999\nQzSim\nhost\n", TInstanceLock::Taken},
               {"folder", nullptr, TInstanceLock::Unavailable}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TSingleInstance first(user.path() + QStringLiteral("/"), run.path());
    EXPECT_TRUE(first.LockPath().startsWith(run.path() + QStringLiteral("/QzSim-")));
    EXPECT_TRUE(first.LockPath().endsWith(QStringLiteral(".lock")));
    QDir(first.LockPath()).removeRecursively();
    QFile::remove(first.LockPath());
    if (c.content)
      testing::WriteAll(first.LockPath(), QByteArray(c.content));
    else
      ASSERT_TRUE(QDir().mkdir(first.LockPath()));
    ASSERT_EQ(first.Acquire(), c.want);
    if (c.want == TInstanceLock::Unavailable) {
      EXPECT_FALSE(first.Reason().isEmpty());
      EXPECT_EQ(LockUnavailableText(first.LockPath(), first.Reason()),
                QStringLiteral("The single-instance lock \"%1\" cannot be taken (%2); a second "
                               "window is not kept out.")
                    .arg(first.LockPath(), first.Reason()));
      QDir(first.LockPath()).removeRecursively();
      continue;
    }
    // A second program of the same per-user folder finds it held, one of another folder not.
    TSingleInstance second(user.path(), run.path());
    EXPECT_EQ(second.Acquire(), TInstanceLock::Held);
    QTemporaryDir other;
    TSingleInstance elsewhere(other.path(), run.path());
    EXPECT_EQ(elsewhere.Acquire(), TInstanceLock::Taken);
    first.Release();
    EXPECT_EQ(second.Acquire(), TInstanceLock::Taken);
  }
}

}  // namespace
}  // namespace qz
