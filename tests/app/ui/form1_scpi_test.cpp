// The window program's instrument socket (--scpi): a port another program holds is told in the
// start-up warning box and the window runs on without the socket; a free port answers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <csignal>

#include "app/cmdline.h"
#include "app/control.h"
#include "app/scpiserver.h"
#include "app/simcore.h"
#include "app/ui/form1.h"
#include "app/ui/startupbox.h"
#include "app/ui/windowstart.h"
#include "common/form1rig.h"
#include "common/privatebus.h"
#include "util/ui/dialogdriver.h"
#include "util/ui/qtasker.h"

namespace qz {
namespace {

using testing::WaitFor;
using testing::WhenModal;

class Form1Scpi : public qz::testing::StartedForm1Test {
 protected:
  // The socket the command line "--scpi <arg>" asks for, as the window program starts it;
  // `why` is the start-up line of a socket that cannot listen.
  bool Start(const QString& arg, QString& why) {
    const CommandLine cl = ParseCommandLine({"QzSim", "--scpi", arg});
    EXPECT_TRUE(cl.error.isEmpty()) << cl.error.toStdString();
    scpi = std::make_unique<TWindowScpi>(*form);
    return scpi->Listen(cl.scpiAddress, cl.scpiPort, why);
  }
  // The start-up box as the operator sees it (empty when none came within `ms`).
  struct Box {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
  };
  Box StartupBox(const QStringList& more, int ms) {
    Box box;
    bool seen = false;
    WhenModal<QMessageBox>([&](QMessageBox* b) {
      box.text = b->text();
      box.icon = b->icon();
      seen = true;
      b->accept();
    });
    TQtAsker qt;
    TScopedAsker useQt(&qt);
    ShowStartupLinesOnceUp(*form, more);
    WaitFor([&] { return seen; }, ms);
    return box;
  }
  void TearDown() override {
    scpi.reset();
    StartedForm1Test::TearDown();
  }

  std::unique_ptr<TWindowScpi> scpi;
};

TEST_F(Form1Scpi, ATakenPortIsToldInTheStartUpBoxAndTheWindowRunsOn) {
  QTcpServer other;
  ASSERT_TRUE(other.listen(QHostAddress::LocalHost, 0));
  const int port = other.serverPort();
  QString why;
  EXPECT_FALSE(Start(QString::number(port), why));
  const Box box = StartupBox({why}, 10000);
  const QString head =
      QStringLiteral("The instrument socket cannot listen on 127.0.0.1:%1: ").arg(port);
  EXPECT_TRUE(box.text.startsWith(head)) << box.text.toStdString();
  EXPECT_GT(box.text.size(), head.size()) << "the reason is missing";
  EXPECT_TRUE(box.text.contains(QStringLiteral("in use"))) << box.text.toStdString();
  EXPECT_EQ(box.icon, QMessageBox::Warning);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  // The window runs on: a run asked for measures and is paused. The window's run loop runs
  // inside the event handling that starts it, so the pause comes from inside the run (at 20
  // frames, or after 15 s so that a run that measures nothing ends too).
  QElapsedTimer inRun;
  QTimer pause;
  pause.setInterval(10);
  QObject::connect(&pause, &QTimer::timeout, [&] {
    if (!form->IsSweeping()) return;
    if (!inRun.isValid()) inRun.start();
    if (form->Core().Cycle.AcceptedFrames() < 20 && inRun.elapsed() < 15000) return;
    pause.stop();
    EXPECT_TRUE(form->Control().Pause().ok());
  });
  pause.start();
  ASSERT_TRUE(form->Control().Run().ok());
  EXPECT_TRUE(WaitFor([&] { return !form->Control().Running(); }, 30000));
  EXPECT_FALSE(pause.isActive()) << "the run never began";
  EXPECT_GE(form->Core().Cycle.AcceptedFrames(), 20);
  EXPECT_FALSE(form->IsSweeping());
  EXPECT_TRUE(other.isListening());
  EXPECT_FALSE(other.hasPendingConnections());
}

TEST_F(Form1Scpi, AFreePortAnswersAndNoBoxIsShown) {
  QString why;
  ASSERT_TRUE(Start(QStringLiteral("0"), why)) << why.toStdString();
  EXPECT_TRUE(why.isEmpty());
  const Box box = StartupBox({}, 300);
  EXPECT_TRUE(box.text.isEmpty()) << box.text.toStdString();
  const QString address = scpi->Server().Address();
  ASSERT_TRUE(address.startsWith(QStringLiteral("127.0.0.1:"))) << address.toStdString();
  QTcpSocket client;
  client.connectToHost(QHostAddress::LocalHost, quint16(address.section(':', 1).toInt()));
  ASSERT_TRUE(WaitFor([&] { return client.state() == QAbstractSocket::ConnectedState; }, 10000));
  client.write("*IDN?\n");
  QByteArray answer;
  WaitFor(
      [&] {
        answer += client.readAll();
        return answer.endsWith('\n');
      },
      10000);
  EXPECT_TRUE(answer.startsWith("Vostrel,QzSim,0,")) << answer.toStdString();
}

// The program itself, started as the operator starts it: the line is on stderr, the program
// runs on with its window, and a terminating signal ends it as Exit does.
TEST(Form1ScpiProgram, AWindowOnATakenPortRunsOnAndSaysSo) {
  const QString exe = QCoreApplication::applicationDirPath() + "/../bin/QzSim";
  ASSERT_TRUE(QFileInfo(exe).isExecutable()) << exe.toStdString();
  QTemporaryDir profile;
  ASSERT_TRUE(profile.isValid());
  QTcpServer other;
  ASSERT_TRUE(other.listen(QHostAddress::LocalHost, 0));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QZSIM_PROFILE", profile.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(exe, {"--scpi", QString::number(other.serverPort())});
  ASSERT_TRUE(p.waitForStarted(10000));
  QString err;
  const QString line =
      QStringLiteral("QzSim: The instrument socket cannot listen on 127.0.0.1:%1: ")
          .arg(other.serverPort());
  WaitFor(
      [&] {
        err += QString::fromLocal8Bit(p.readAllStandardError());
        return err.contains(line) || p.state() != QProcess::Running;
      },
      30000);
  EXPECT_TRUE(err.contains(line)) << err.toStdString();
  // Still running a while after it told it (the box waits for the operator).
  EXPECT_FALSE(p.waitForFinished(1500));
  EXPECT_EQ(p.state(), QProcess::Running);
  EXPECT_FALSE(QString::fromLocal8Bit(p.readAllStandardOutput()).contains("SCPI "));
  ::kill(pid_t(p.processId()), SIGTERM);
  EXPECT_TRUE(p.waitForFinished(30000));
  if (p.state() != QProcess::NotRunning) p.kill();
}

}  // namespace
}  // namespace qz
