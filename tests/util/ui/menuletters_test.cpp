// A tool window's own button letters while it is active, against the letters of the menu bar of
// the window it belongs to.
#include "util/ui/menuletters.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <array>
#include <memory>

namespace qz {
namespace {

// A main window whose menu bar carries M ("Co&mmun") and a tool window of its own with buttons.
struct Rig {
  std::unique_ptr<QMainWindow> frame = std::make_unique<QMainWindow>();
  QMenu* commun = nullptr;
  QWidget* tool = nullptr;
  std::vector<QPushButton*> buttons;
  std::array<int, 2> clicks{};

  explicit Rig(const QStringList& texts, bool owned = true) {
    commun = frame->menuBar()->addMenu(QStringLiteral("Co&mmun"));
    commun->addAction(QStringLiteral("&COM Port..."));
    frame->menuBar()->addMenu(QStringLiteral("&Tuner"))->addAction(QStringLiteral("&Reset"));
    frame->resize(400, 300);
    frame->show();
    tool = new QWidget(owned ? frame.get() : nullptr, Qt::Tool);
    auto* l = new QVBoxLayout(tool);
    for (size_t i = 0; i < size_t(texts.size()) && i < clicks.size(); ++i) {
      auto* b = new QPushButton(texts[qsizetype(i)], tool);
      l->addWidget(b);
      QObject::connect(b, &QPushButton::clicked, [this, i] { ++clicks[i]; });
      buttons.push_back(b);
    }
    tool->show();
    tool->activateWindow();
  }
  ~Rig() {
    if (QWidget* p = QApplication::activePopupWidget()) p->close();
    if (!tool->parentWidget()) delete tool;
  }
  // The key in the tool window, then time for a button's animated click to end.
  void Press(Qt::Key key, Qt::KeyboardModifiers mods) {
    QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : tool;
    QTest::keyClick(to, key, mods);
    QTest::qWait(250);
  }
};

TEST(ToolWindowLetters, TheActiveToolWindowsOneButtonOfALetterIsPressed) {
  QObject owner;
  ToolWindowLettersFirst(&owner);
  struct Case {
    const char* what;
    const char* first;
    const char* second;  // nullptr: one button
    bool firstEnabled;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    std::array<int, 2> clicks;
  };
  const Case cases[] = {
      {"letter shared with the menu bar",
       "Load &Mem",
       "&Close",
       true,
       Qt::Key_M,
       Qt::AltModifier,
       {1, 0}},
      {"letter of the tool window only",
       "Load &Mem",
       "&Close",
       true,
       Qt::Key_C,
       Qt::AltModifier,
       {0, 1}},
      {"button disabled", "Load &Mem", nullptr, false, Qt::Key_M, Qt::AltModifier, {0, 0}},
      {"two buttons of the letter", "Load &Mem", "&Move", true, Qt::Key_M, Qt::AltModifier, {0, 0}},
      {"other modifiers",
       "Load &Mem",
       nullptr,
       true,
       Qt::Key_M,
       Qt::AltModifier | Qt::ShiftModifier,
       {0, 0}},
      {"no modifier", "Load &Mem", nullptr, true, Qt::Key_M, Qt::NoModifier, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QStringList texts{QString::fromLatin1(c.first)};
    if (c.second) texts << QString::fromLatin1(c.second);
    Rig rig(texts);
    rig.buttons[0]->setEnabled(c.firstEnabled);
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.tool));
    rig.Press(c.key, c.mods);
    EXPECT_EQ(rig.clicks, c.clicks);
    // A pressed button leaves the menu bar alone.
    if (c.clicks[0] + c.clicks[1] > 0) {
      EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
  }
}

// Where the tool window is not the active window, its letters are not its own: the key goes
// to the active window.
TEST(ToolWindowLetters, AnInactiveToolWindowKeepsNoLetter) {
  QObject owner;
  ToolWindowLettersFirst(&owner);
  Rig rig(QStringList{QStringLiteral("Load &Mem")});
  rig.frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(rig.frame.get()));
  QTest::keyClick(rig.frame.get(), Qt::Key_M, Qt::AltModifier);
  QTest::qWait(250);
  EXPECT_EQ(rig.clicks[0], 0);
  EXPECT_EQ(QApplication::activePopupWidget(), rig.commun);
}

TEST(ToolWindowLetters, TheSoleButtonIsTheShownEnabledOneOfTheWindowItself) {
  Rig rig(QStringList{QStringLiteral("Load &Mem"), QStringLiteral("&Move")});
  auto* go = new QPushButton(QStringLiteral("&Go"), rig.tool);
  go->show();
  const QKeySequence m(Qt::ALT | Qt::Key_M);
  EXPECT_EQ(SoleEnabledButtonOfLetter(rig.tool, m), nullptr);
  rig.buttons[1]->hide();
  EXPECT_EQ(SoleEnabledButtonOfLetter(rig.tool, m), rig.buttons[0]);
  rig.buttons[1]->show();
  rig.buttons[1]->setEnabled(false);
  EXPECT_EQ(SoleEnabledButtonOfLetter(rig.tool, m), rig.buttons[0]);
  // A window it owns keeps its buttons to itself.
  auto* inner = new QWidget(rig.tool, Qt::Tool);
  auto* other = new QPushButton(QStringLiteral("&Go on"), inner);
  inner->show();
  EXPECT_EQ(SoleEnabledButtonOfLetter(rig.tool, QKeySequence(Qt::ALT | Qt::Key_G)), go);
  EXPECT_EQ(SoleEnabledButtonOfLetter(inner, QKeySequence(Qt::ALT | Qt::Key_G)), other);
  EXPECT_EQ(SoleEnabledButtonOfLetter(rig.tool, QKeySequence(Qt::ALT | Qt::Key_X)), nullptr);
}

}  // namespace
}  // namespace qz
