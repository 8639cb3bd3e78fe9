#include "util/folders.h"

#include <gtest/gtest.h>

#include "common/testfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "util/firststart.h"
#include "util/inifile.h"
#include "util/versioninfo.h"
#include "version.h"

namespace qz {
namespace {

using testing::ReadAll;
using testing::WriteAll;

// Points QZSIM_PROFILE at `profile` while alive and restores the previous value and folders.
class ProfileScope {
 public:
  explicit ProfileScope(const QString& profile) : old_(qgetenv("QZSIM_PROFILE")) {
    qputenv("QZSIM_PROFILE", profile.toLocal8Bit());
    ResetFolders();
  }
  ~ProfileScope() {
    qputenv("QZSIM_PROFILE", old_);
    ResetFolders();
  }

 private:
  QByteArray old_;
};

TEST(Folders, KnownFolderPath) {
  QTemporaryDir profile;
  ProfileScope scope(profile.path());
  const KnownFolder byId = KnownFolderPath(kFolderIdProfile, 0);
  EXPECT_EQ(byId.code, 0);
  EXPECT_EQ(byId.path, QDir::cleanPath(profile.path()));
  const KnownFolder byNumber = KnownFolderPath("", kFolderNumberProfile);
  EXPECT_EQ(byNumber.code, 0);
  EXPECT_EQ(byNumber.path, byId.path);
  // Ids match without regard to letter case.
  EXPECT_EQ(KnownFolderPath(QString(kFolderIdSystem).toLower(), 0).path, "/etc");
  EXPECT_EQ(KnownFolderPath("", kFolderNumberSystem).code, 0);
  EXPECT_EQ(KnownFolderPath("{00000000-0000-0000-0000-000000000000}", 40).code, 2);
  EXPECT_EQ(KnownFolderPath("", 12345).code, 2);
  EXPECT_EQ(SystemFolder(), "/etc");
  // Before the per-user folder is made, UserFolder is the profile folder with '/'.
  EXPECT_EQ(UserFolder(), QDir::cleanPath(profile.path()) + "/");
}

TEST(Folders, MakeUserFolderCreatesAllLevelsOnce) {
  QTemporaryDir profile;
  ProfileScope scope(profile.path());
  const QString expected = QDir::cleanPath(profile.path()) + "/Vostrel/QzSim/";
  EXPECT_EQ(MakeUserFolder("Vostrel\\QzSim", true), 1);
  EXPECT_EQ(UserFolder(), expected);
  EXPECT_TRUE(QFileInfo(expected).isDir());
  EXPECT_EQ(MakeUserFolder("Vostrel/QzSim", true), 0);
  EXPECT_EQ(UserFolder(), expected);
  EXPECT_EQ(MakeUserFolder("", false), 0);
  EXPECT_EQ(UserFolder(), QDir::cleanPath(profile.path()) + "/");
}

TEST(Folders, MakeUserFolderFallsBackToTheProfileWhenItCannotCreate) {
  QTemporaryDir profile;
  ProfileScope scope(profile.path());
  WriteAll(profile.filePath("Vostrel"), "a file where a folder should be");
  EXPECT_EQ(MakeUserFolder("Vostrel/QzSim", true), 3);
  EXPECT_EQ(UserFolder(), QDir::cleanPath(profile.path()) + "/");
}

TEST(Folders, MakeUserFolderWithoutAProfileFolder) {
  QTemporaryDir dir;
  WriteAll(dir.filePath("plainfile"), "x");
  for (const QString& bad : {QString("relative/profile"), dir.filePath("plainfile")}) {
    ProfileScope scope(bad);
    EXPECT_EQ(KnownFolderPath(kFolderIdProfile, kFolderNumberProfile).code, 1);
    EXPECT_EQ(MakeUserFolder("Vostrel/QzSim", true), 3) << bad.toStdString();
    EXPECT_EQ(UserFolder(), "");
    EXPECT_EQ(MakeUserFolder("Vostrel/QzSim", false), 2);
    EXPECT_EQ(UserFolder(), "");
  }
  EXPECT_FALSE(QFileInfo::exists("relative"));
}

TEST(Folders, InFolderAndFolderOrDefault) {
  EXPECT_EQ(InFolder("C:\\old\\place\\RS232.CFG", "/home/op/QzSim/"), "/home/op/QzSim/RS232.CFG");
  EXPECT_EQ(InFolder("/a/b.txt", "/x"), "/x/b.txt");
  EXPECT_EQ(InFolder("b.txt", ""), "b.txt");

  EXPECT_EQ(FolderOrDefault("x.txt", "/def"), "/def");
  EXPECT_EQ(FolderOrDefault("C:\\x.txt", "/def"), "C:/");
  EXPECT_EQ(FolderOrDefault("C:/x.txt", "/def"), "C:/");
  EXPECT_EQ(FolderOrDefault("/x.txt", "/def"), "/");
  EXPECT_EQ(FolderOrDefault("/home/op/1.stp", "/def"), "/home/op");
  EXPECT_EQ(FolderOrDefault("", "/def"), "/def");

  QTemporaryDir profile;
  ProfileScope scope(profile.path());
  ASSERT_EQ(MakeUserFolder("Vostrel/QzSim", true), 1);
  EXPECT_EQ(InUserFolder("D:\\x\\1.stp"), UserFolder() + "1.stp");
  EXPECT_EQ(InProgramFolder("QzSim0.ini"), ProgramDataFolder() + "QzSim0.ini");
}

TEST(Folders, ProgramParts) {
  const ProgramPartsInfo p = ProgramParts();
  EXPECT_EQ(p.fullPath, QCoreApplication::applicationFilePath());
  EXPECT_EQ(p.folder, QCoreApplication::applicationDirPath() + "/");
  EXPECT_EQ(p.name + p.ext, QFileInfo(p.fullPath).fileName());
  EXPECT_EQ(ProgramFolder(), p.folder);
  EXPECT_EQ(ProgramDataFolder(),
            QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/qzsim") + "/");
}

TEST(Folders, VersionInfoLine) {
  QTemporaryDir dir;
  const QString exe = dir.filePath("QzSim");
  WriteAll(exe, QByteArray(1234, 'x'));
  const VersionInfoRec v = VersionInfoOf(exe);
  EXPECT_TRUE(v.infoLine.startsWith("QzSim,  1234  ")) << v.infoLine.toStdString();
  EXPECT_GT(v.infoLine.size(), QString("QzSim,  1234  ").size());
  EXPECT_EQ(v.fileVersion, QZ_VERSION);
  EXPECT_EQ(v.fileDescription, QZ_FILE_DESCRIPTION);
  EXPECT_EQ(v.legalNotice, QZ_LEGAL_NOTICE);
  EXPECT_TRUE(
      VersionInfo().infoLine.startsWith(QFileInfo(ProgramParts().fullPath).fileName() + ",  "));
}

// The first start fills the new per-user folder from the program's data folder; a later start
// finds the folder and copies nothing, so the user's own changes stay.
TEST(FirstStart, FreshProfileGetsTheDefaultFilesOnce) {
  QTemporaryDir data;
  WriteAll(data.filePath("QzSim0.ini"), "[QuzarForm]\r\nPreTrig=20000\r\n");
  WriteAll(data.filePath("QzSim1.ini"), "[A]\r\n");
  WriteAll(data.filePath("Other.ini"), "not copied");
  WriteAll(data.filePath("TuA.mem"), "memory A");
  WriteAll(data.filePath("Qz.mem"), "not copied");
  ASSERT_TRUE(QFile::setPermissions(data.filePath("QzSim1.ini"), QFile::ReadOwner));

  QTemporaryDir profile;
  ProfileScope scope(profile.path());
  const QString user = QDir::cleanPath(profile.path()) + "/Vostrel/QzSim/";
  EXPECT_EQ(SetUpUserFolder(data.path()), 1);
  EXPECT_EQ(UserFolder(), user);
  QDir userDir(user);
  EXPECT_EQ(userDir.entryList(QDir::Files, QDir::Name), (QStringList{"QzSim0.ini", "QzSim1.ini"}));
  EXPECT_EQ(QDir(user + "TunMem").entryList(QDir::Files), QStringList{"TuA.mem"});
  EXPECT_EQ(ReadAll(user + "QzSim0.ini"), "[QuzarForm]\r\nPreTrig=20000\r\n");
  EXPECT_TRUE(QFile::permissions(user + "QzSim1.ini") & QFile::WriteOwner);

  // The operator changes the setup; the next start leaves it alone.
  WriteAll(user + "QzSim0.ini", "[QuzarForm]\r\nPreTrig=7\r\n");
  QFile::remove(user + "QzSim1.ini");
  EXPECT_EQ(SetUpUserFolder(data.path()), 0);
  EXPECT_EQ(ReadAll(user + "QzSim0.ini"), "[QuzarForm]\r\nPreTrig=7\r\n");
  EXPECT_FALSE(QFile::exists(user + "QzSim1.ini"));
}

TEST(FirstStart, CopyNeverOverwrites) {
  QTemporaryDir data;
  QTemporaryDir user;
  WriteAll(data.filePath("QzSim0.ini"), "shipped");
  WriteAll(data.filePath("TuB.mem"), "shipped mem");
  WriteAll(user.filePath("QzSim0.ini"), "mine");
  ASSERT_TRUE(QDir(user.path()).mkpath("TunMem"));
  WriteAll(user.filePath("TunMem/TuB.mem"), "my mem");
  EXPECT_EQ(CopyDefaultFiles(data.path(), user.path() + "/"), 0);
  EXPECT_EQ(ReadAll(user.filePath("QzSim0.ini")), "mine");
  EXPECT_EQ(ReadAll(user.filePath("TunMem/TuB.mem")), "my mem");
}

// The default automatic setup shipped with the program is readable by the setup reader.
TEST(FirstStart, ShippedDefaultSetupReads) {
  IniFile ini(QStringLiteral(QZ_TEST_DATA_DIR "/../../share/qzsim/QzSim0.ini"));
  EXPECT_TRUE(ini.SectionExists("QuzarForm"));
  EXPECT_EQ(ini.ReadInteger("QuzarForm", "PreTrig", 0), 20000);
  EXPECT_EQ(ini.ReadInteger("QuzarForm", "DdeWait_ms", 0), 10000);
}

}  // namespace
}  // namespace qz
