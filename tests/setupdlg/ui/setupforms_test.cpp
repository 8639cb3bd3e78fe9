// The setup windows on the offscreen platform: what they show, what their buttons give to the
// analyzer state and the command layer, and their setup sections.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <cstring>

#include "common/fakeqzcmd.h"
#include "common/widgets.h"
#include "core/qvwin.h"
#include "setupdlg/ui/mstpform.h"
#include "setupdlg/ui/qzsamplform.h"
#include "setupdlg/ui/txtimingform.h"
#include "util/asker.h"
#include "util/inifile.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using testing::TFakeQzCmd;

using qz::testing::Child;

// Raw bytes of a record, to prove it was not touched.
template <class T>
std::vector<unsigned char> Bytes(const T& r) {
  std::vector<unsigned char> b(sizeof(T));
  std::memcpy(b.data(), &r, sizeof(T));
  return b;
}

// The analyzer state, a recording command layer and a scripted asker.
struct Rig {
  TMotState mot;
  TQvWin qv{mot};
  TSimState sim;
  NiceMock<TFakeQzCmd> cmd{qv, sim};
  TScriptedAsker asker;
  int32_t pretrg = 0;
  bool oneShot = false;
  Rig() {
    asker.quiet = true;
    SetAsker(&asker);
  }
  ~Rig() { SetAsker(nullptr); }
  void Bind(TQzSamplForm& f) {
    f.AssignPointers(
        &qv.FixPar, &qv.VarPar, &qv.TrgMethod, [this] { return oneShot; },
        [this](bool on) { oneShot = on; }, &pretrg, &qv.Pulsed, &qv.Rectif);
  }
  std::vector<TAskRecord> Messages() const { return asker.Records(TAskRecord::Message); }
};

TEST(QzSamplForm, FreshShowingIsCwWithTwentyMilliseconds) {
  Rig r;
  TQzSamplForm f;
  r.Bind(f);
  f.show();
  EXPECT_EQ(f.windowTitle(), "Quzar Sampling Setup (Ctrl+Q)");
  EXPECT_EQ(f.ActivePage(), 0);
  EXPECT_EQ(Child<QLabel>(f, "cwSamplingTime")->text(), "20");
  EXPECT_EQ(Child<QLabel>(f, "cwSamplingTimeUnit")->text(), "ms");
  EXPECT_FALSE(Child<QLabel>(f, "cwWarning")->isVisible());
  // Triggering is for the block waveforms only.
  EXPECT_FALSE(Child<QLineEdit>(f, "TrigLevel")->isEnabled());
  f.Pages()->setCurrentIndex(1);
  QLineEdit* trg = Child<QLineEdit>(f, "TrigLevel");
  EXPECT_TRUE(trg->isEnabled());
  EXPECT_EQ(trg->palette().color(QPalette::Base), QColor(Qt::yellow));
}

TEST(QzSamplForm, ShowsPageOfPresentWaveformAndLongWarning) {
  Rig r;
  r.qv.VarPar.Vrpt = 4095;
  r.qv.VarPar.FsamplCw = 10;
  r.qv.VarPar.Waveform = wfPulsed;
  TQzSamplForm f;
  r.Bind(f);
  f.show();
  EXPECT_EQ(f.ActivePage(), 2);
  EXPECT_EQ(Child<QLabel>(f, "cwSamplingTime")->text(), "409.4");
  EXPECT_EQ(Child<QLabel>(f, "cwSamplingTimeUnit")->text(), "s");
  f.Pages()->setCurrentIndex(0);
  EXPECT_TRUE(Child<QLabel>(f, "cwWarning")->isVisible());
}

TEST(QzSamplForm, FreshPreTriggerGivesNoErrorBox) {
  Rig r;
  r.pretrg = 20000;
  TQzSamplForm f;
  r.Bind(f);
  f.show();
  f.RefreshClick();
  EXPECT_TRUE(r.Messages().empty());
  EXPECT_EQ(Child<QLineEdit>(f, "PreTrig")->text(), "4095");
}

TEST(QzSamplForm, TwoErrorsInOneBox) {
  Rig r;
  TQzSamplForm f;
  r.Bind(f);
  f.show();
  f.Pages()->setCurrentIndex(1);
  Child<QLineEdit>(f, "rcSampleCount")->setText("abc");
  Child<QLineEdit>(f, "rcAcceptLevel")->setText("150");
  f.RefreshClick();
  const auto m = r.Messages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].text,
            "Some inputs were incorrect or out of bounds:\r\n - Sample Count (abc)\n\r - Accept "
            "Level (150)\r\nSet to defaults or trimmed.");
  // The corrected values are shown; Refresh writes nothing back.
  EXPECT_EQ(Child<QLineEdit>(f, "rcSampleCount")->text(), "201");
  EXPECT_EQ(Child<QLineEdit>(f, "rcAcceptLevel")->text(), "100");
  EXPECT_EQ(r.qv.VarPar.Waveform, wfCW);
  // The next showing starts without the old errors.
  f.hide();
  f.show();
  f.RefreshClick();
  EXPECT_EQ(r.Messages().size(), 1u);
}

TEST(QzSamplForm, CancelLeavesRecordsUntouched) {
  Rig r;
  TQzSamplForm f;
  r.Bind(f);
  const auto var = Bytes(r.qv.VarPar), rect = Bytes(r.qv.Rectif), puls = Bytes(r.qv.Pulsed);
  const TTrgMethod trg = r.qv.TrgMethod;
  f.show();
  f.Pages()->setCurrentIndex(2);
  Child<QLineEdit>(f, "puSampleCount")->setText("999");
  Child<QCheckBox>(f, "FreeRun")->setChecked(false);
  f.RefreshClick();
  r.asker.QueueButton(mbYes);
  f.DefaultsClick(1);
  Child<QPushButton>(f, "btCancel")->click();
  EXPECT_EQ(f.result(), QDialog::Rejected);
  EXPECT_EQ(Bytes(r.qv.VarPar), var);
  EXPECT_EQ(Bytes(r.qv.Rectif), rect);
  EXPECT_EQ(Bytes(r.qv.Pulsed), puls);
  EXPECT_EQ(r.qv.TrgMethod, trg);
  EXPECT_EQ(r.pretrg, 0);
  EXPECT_FALSE(r.oneShot);
}

TEST(QzSamplForm, ApplyOnPulsedPageWritesEverything) {
  Rig r;
  TQzSamplForm f;
  r.Bind(f);
  f.show();
  f.Pages()->setCurrentIndex(2);
  Child<QLineEdit>(f, "puSamplingTime")->setText("2");
  Child<QComboBox>(f, "puSamplingTimeUnit")->setCurrentIndex(1);
  Child<QCheckBox>(f, "FreeRun")->setChecked(false);
  Child<QCheckBox>(f, "SingleShot")->setChecked(true);
  Child<QLineEdit>(f, "PreTrig")->setText("10");
  Child<QPushButton>(f, "btApply")->click();
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_TRUE(r.Messages().empty());
  EXPECT_EQ(r.qv.VarPar.Waveform, wfPulsed);
  EXPECT_EQ(r.qv.Pulsed.TsamplUs, 2000);
  EXPECT_EQ(r.qv.Pulsed.Fvzork, 100000);
  EXPECT_EQ(r.qv.TrgMethod, 1);
  EXPECT_EQ(TrgMethodOf(r.qv.VarPar.TrgMeth_AccLvl), 1);
  EXPECT_EQ(r.pretrg, 10);
  EXPECT_TRUE(r.oneShot);
}

TEST(QzSamplForm, DefaultsAskFirst) {
  Rig r;
  r.qv.VarPar.Vrpt = 77;
  TQzSamplForm f;
  r.Bind(f);
  f.show();
  r.asker.QueueButton(mbNo);
  f.DefaultsClick(0);
  EXPECT_EQ(Child<QLineEdit>(f, "cwSampleCount")->text(), "77");
  r.asker.QueueButton(mbYes);
  f.DefaultsClick(0);
  EXPECT_EQ(Child<QLineEdit>(f, "cwSampleCount")->text(), "201");
  const auto m = r.Messages();
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].text, "Set CW sampling to defaults?");
}

TEST(QzSamplForm, SetupSectionReplacesEveryLetterCase) {
  Rig r;
  TQzSamplForm f;
  IniFile ini;
  ini.SetText("[qzsamplform]\nJunk=1\n[Other]\nA=1\n[QZSAMPLFORM]\nMore=2\n");
  f.move(30, 40);
  f.WriteStp(ini);
  const QStringList sections = ini.ReadSections();
  EXPECT_EQ(sections.filter("qzsamplform", Qt::CaseInsensitive).size(), 1);
  EXPECT_EQ(ini.ReadSection("QzSamplForm"), QStringList({"Top", "Left"}));
  ini.SetText("[QzSamplForm]\nTop=5000\nLeft=-3\n");
  f.ReadStp(ini, TFixedScreen(QSize(1000, 800)));
  EXPECT_EQ(f.pos(), QPoint(0, 750));
}

TEST(TxTimingForm, ApplyGivesThreeCommandsAndClearsSpareBits) {
  Rig r;
  r.qv.MstpCW.TxMask = 0xF3;
  TTxTimingForm f(r.cmd);
  f.show();
  EXPECT_EQ(f.windowTitle(), "TX Timing");
  EXPECT_EQ(Child<QGroupBox>(f, "gbMask")->title(), "SEND EVENT MASK:  3 = 0000 0011");
  Child<QCheckBox>(f, "cbMotorsRefresh")->click();
  EXPECT_EQ(Child<QGroupBox>(f, "gbMask")->title(), "SEND EVENT MASK:  7 = 0000 0111");
  Child<QLineEdit>(f, "edMeasurement")->setText("");
  Child<QLineEdit>(f, "edResultsRefresh")->setText("70000");
  {
    InSequence seq;
    EXPECT_CALL(r.cmd, SetMeaStp(_));
    EXPECT_CALL(r.cmd, ReadMeaStp());
    EXPECT_CALL(r.cmd, SetMotRefresh(_));
  }
  Child<QPushButton>(f, "btApply")->click();
  EXPECT_EQ(f.result(), QDialog::Accepted);
  EXPECT_EQ(r.qv.MstpCW.TxMask, 7);
  EXPECT_EQ(r.qv.MstpCW.OnPeriod_ms, 0);
  EXPECT_EQ(r.qv.MstpCW.TxPeriod_ms, 65535);
  EXPECT_EQ(Child<QLineEdit>(f, "edResultsRefresh")->text(), "65535");
}

TEST(TxTimingForm, SectionWritesVisibleButReadsOnlyThePlace) {
  Rig r;
  TTxTimingForm f(r.cmd);
  IniFile ini;
  f.WriteStp(ini);
  EXPECT_EQ(ini.ReadSection("TxTimingForm"), QStringList({"Visible", "Top", "Left"}));
  ini.SetText("[TxTimingForm]\nVisible=1\nTop=10\nLeft=20\n");
  f.ReadStp(ini, TFixedScreen(QSize(1000, 800)));
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.pos(), QPoint(20, 10));
}

TEST(MstpForm, FirstShowingBuildsRangesAndFills) {
  Rig r;
  TMstpForm f(r.cmd);
  EXPECT_CALL(r.cmd, ReadCardDescr()).Times(1);
  f.show();
  f.hide();
  f.show();
  EXPECT_EQ(f.windowTitle(), "CW Measurement Setup");
  EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(f.findChildren<QRadioButton*>().size(), 10);
  EXPECT_EQ(Child<QRadioButton>(f, "rbOffset4")->text(), "5 V");
  EXPECT_TRUE(Child<QRadioButton>(f, "rbOffset4")->isChecked());  // the default range 3
  EXPECT_TRUE(Child<QRadioButton>(f, "rbSignal0")->isChecked());
  EXPECT_FALSE(Child<QGroupBox>(f, "rgOffsetRange")->isEnabled());
  EXPECT_FALSE(Child<QLabel>(f, "lbMethod")->isVisible());
  EXPECT_FALSE(Child<QLabel>(f, "lbMethodName")->isVisible());
  EXPECT_EQ(Child<QGroupBox>(f, "gbMask")->title(), "SEND EVENT MASK: 7=00000111");
  EXPECT_FALSE(Child<QCheckBox>(f, "cbMask3")->isEnabled());
  EXPECT_EQ(Child<QLabel>(f, "lbSamplingStep")->text(), "100 us");
}

TEST(MstpForm, SamplingPromptsUntilClickAndOffsetPeriodChecked) {
  Rig r;
  TMstpForm f(r.cmd);
  f.show();
  QLineEdit* n = Child<QLineEdit>(f, "edNsampl");
  QLabel* time = Child<QLabel>(f, "lbSamplingTime");
  QLabel* step = Child<QLabel>(f, "lbSamplingStep");
  n->setText("1024");
  emit n->textEdited(n->text());
  EXPECT_EQ(time->text(), "Click here...");
  EXPECT_EQ(step->text(), "...to refresh");
  Child<QLineEdit>(f, "edFsampl")->setText("200000");
  QMouseEvent click(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(step, &click);
  EXPECT_EQ(time->text(), "5.115 ms");
  EXPECT_EQ(step->text(), "5 us");
  // A fill from code is no operator change.
  f.PrevezmiNapln();
  EXPECT_EQ(step->text(), "100 us");

  QLineEdit* ofs = Child<QLineEdit>(f, "edOffsetPeriod");
  ofs->setText("5000");
  emit ofs->textEdited(ofs->text());
  EXPECT_EQ(ofs->text(), "3600");
  ofs->setText("");
  emit ofs->textEdited(ofs->text());
  EXPECT_EQ(ofs->text(), "3600");
  Child<QCheckBox>(f, "cbRangeasSignal")->click();
  EXPECT_TRUE(Child<QGroupBox>(f, "rgOffsetRange")->isEnabled());
}

TEST(MstpForm, ApplyGivesSixCommandsAndHelpIsCancelled) {
  Rig r;
  TMstpForm f(r.cmd);
  f.show();
  Child<QRadioButton>(f, "rbSignal2")->setChecked(true);
  {
    InSequence seq;
    EXPECT_CALL(r.cmd, SetMeaStp(_));
    EXPECT_CALL(r.cmd, ReadMeaStp());
    EXPECT_CALL(r.cmd, SetAveraging(_, _));
    EXPECT_CALL(r.cmd, SetFreqParam(kFreqSamplCw, _));
    EXPECT_CALL(r.cmd, SetCounter(_, _));
    EXPECT_CALL(r.cmd, SetMotRefresh(_));
  }
  Child<QPushButton>(f, "btApply")->click();
  EXPECT_EQ(r.qv.MstpCW.OnRnge, 1);
  EXPECT_TRUE(f.isVisible());
  Child<QPushButton>(f, "btHelp")->click();
  ASSERT_EQ(r.Messages().size(), 1u);
  EXPECT_EQ(r.Messages()[0].text, "Info: Help cancelled");
  Child<QPushButton>(f, "btClose")->click();
  EXPECT_FALSE(f.isVisible());
}

TEST(MstpForm, SectionShowsWindowWhenVisible) {
  Rig r;
  TMstpForm f(r.cmd);
  IniFile ini;
  ini.SetText("[MstpForm]\nVisible=1\nTop=10\nLeft=20\n");
  f.ReadStp(ini, TFixedScreen(QSize(1000, 800)));
  EXPECT_TRUE(f.isVisible());
  IniFile out;
  f.WriteStp(out);
  EXPECT_EQ(out.ReadSection("MstpForm"), QStringList({"Visible", "Top", "Left"}));
  EXPECT_EQ(out.ReadInteger("MstpForm", "Visible", 0), 1);
}

TEST(TimingForms, DefaultsAskAndSendNothing) {
  Rig r;
  EXPECT_CALL(r.cmd, SetMeaStp(_)).Times(0);
  EXPECT_CALL(r.cmd, SetMotRefresh(_)).Times(0);
  TTxTimingForm tx(r.cmd);
  tx.show();
  r.asker.QueueButton(mbYes);
  Child<QPushButton>(tx, "btDefaults")->click();
  EXPECT_EQ(Child<QLineEdit>(tx, "edResultsRefresh")->text(), "0");
  EXPECT_EQ(Child<QLineEdit>(tx, "edMotorsRefresh")->text(), "1000");
  TMstpForm m(r.cmd);
  m.show();
  Child<QRadioButton>(m, "rbOffset1")->setChecked(true);
  r.asker.QueueButton(mbYes);
  Child<QPushButton>(m, "btDefaults")->click();
  // Ranges 0..3 offered: the offset takes range 2, the signal "Auto".
  EXPECT_TRUE(Child<QRadioButton>(m, "rbOffset3")->isChecked());
  EXPECT_TRUE(Child<QRadioButton>(m, "rbSignal0")->isChecked());
  EXPECT_EQ(Child<QLineEdit>(m, "edNsampl")->text(), "1024");
  EXPECT_EQ(Child<QLabel>(m, "lbSamplingStep")->text(), "5 us");
  const auto q = r.Messages();
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(q[0].text, "Set all to recommended defaults?");
  EXPECT_EQ(q[1].text, "Set all to recommended defaults?");
  EXPECT_EQ(r.qv.MstpCW, TMeaStp());
}

}  // namespace
}  // namespace qz
