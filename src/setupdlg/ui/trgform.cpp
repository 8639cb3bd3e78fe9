#include "setupdlg/ui/trgform.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

#include "setupdlg/ui/setupui.h"
#include "util/colors.h"
#include "util/inifile.h"
#include "util/ui/panels.h"
#include "util/ui/qcolor.h"
#include "util/ui/screen.h"
#include "util/ui/windowplace.h"

namespace qz {

namespace {

QPushButton* Button(const QString& name, const QString& caption, const QString& hint) {
  auto* b = new QPushButton(caption);
  b->setObjectName(name);
  b->setAutoDefault(false);
  SetHint(b, hint);
  return b;
}

QLabel* ValueLabel(const QString& name, int chars) {
  auto* l = new QLabel;
  l->setObjectName(name);
  l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  SizeForChars(l, chars);
  return l;
}

// A thin strip between the groups in the window's face colour.
QFrame* Strip() {
  auto* f = new QFrame;
  f->setFrameShape(QFrame::NoFrame);
  f->setFixedHeight(3);
  f->setAutoFillBackground(true);
  QPalette p = f->palette();
  p.setColor(QPalette::Window, p.color(QPalette::Button));
  f->setPalette(p);
  return f;
}

void SetCheck(QCheckBox* c, bool on) {
  const QSignalBlocker block(c);
  c->setChecked(on);
}

}  // namespace

TTrgForm::TTrgForm(TQzCmd& cmd, const TTunerModel& tuner, const IniFile* autoSetup, QWidget* parent,
                   const TScreenService* screen)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), cmds_(cmd, tuner) {
  setObjectName(QString::fromLatin1(kTrgSection));
  setWindowTitle(QString::fromLatin1(kTrgCaption));
  Build();
  cmds_.Indic = kIndicSteps;
  if (autoSetup) {
    cmds_.ReadIndic(*autoSetup);
    ReadWindowPlace(*autoSetup, QString::fromLatin1(kTrgSection), *this, kToolPlaceRule,
                    screen ? *screen : Screen());
  }
}

void TTrgForm::Build() {
  // QUZAR
  auto* quzar = new QGroupBox(QStringLiteral("QUZAR"));
  quzar->setObjectName(QStringLiteral("gbQuzar"));
  auto* qg = new QGridLayout(quzar);
  auto* btMeasure = Button(QStringLiteral("btMeasure"), QStringLiteral("&Measure"),
                           QStringLiteral("One measurement|"));
  auto* btFetch = Button(QStringLiteral("btFetch"), QStringLiteral("&Fetch"),
                         QStringLiteral("Get the latest results|"));
  auto* btClrFifo = Button(QStringLiteral("btClrFifo"), QStringLiteral("Clr Fif&o"),
                           QStringLiteral("Clear Quzar FIFO commands buffer|"));
  auto* btRunStop = Button(QStringLiteral("btRunStop"), QStringLiteral("R&un/Stop"),
                           QStringLiteral("Start/Stop Quzar|"));
  auto* btRunSendSet = Button(QStringLiteral("btRunSendSet"), QStringLiteral("Set"),
                              QStringLiteral("Set Run & Send states|"));
  auto* btRunSendQuery = Button(QStringLiteral("btRunSendQuery"), QStringLiteral("Query"),
                                QStringLiteral("Query Run/Send status|"));
  cbRunning_ = MakeCheck(quzar, QStringLiteral("cb"), QStringLiteral("Running"),
                         QStringLiteral("Internal Quzar measurement running|"));
  cbSending_ = MakeCheck(quzar, QStringLiteral("cb"), QStringLiteral("Sending"),
                         QStringLiteral("Quzar sends measurement data|"));
  qg->addWidget(btMeasure, 0, 0);
  qg->addWidget(btFetch, 0, 1);
  qg->addWidget(btClrFifo, 0, 2);
  qg->addWidget(btRunStop, 1, 0);
  qg->addWidget(cbRunning_, 1, 1);
  qg->addWidget(cbSending_, 1, 2);
  qg->addWidget(btRunSendSet, 2, 1);
  qg->addWidget(btRunSendQuery, 2, 2);
  connect(btMeasure, &QPushButton::clicked, this, [this] { Run([this] { cmds_.Measure(); }); });
  connect(btFetch, &QPushButton::clicked, this, [this] { Run([this] { cmds_.Fetch(); }); });
  connect(btClrFifo, &QPushButton::clicked, this, [this] { Run([this] { cmds_.ClrFifo(); }); });
  // Start/stop and setting the run and send states do nothing in this program.
  connect(btRunSendQuery, &QPushButton::clicked, this,
          [this] { Run([this] { cmds_.QueryRunSend(); }); });

  // TUNER
  auto* tuner = new QGroupBox(QStringLiteral("TUNER"));
  tuner->setObjectName(QStringLiteral("gbTuner"));
  auto* tg = new QGridLayout(tuner);
  cbAutotune_ = MakeCheck(tuner, QStringLiteral("cb"), QStringLiteral("Autotune"));
  auto* btAtSet = Button(QStringLiteral("btAutotuneSet"), QStringLiteral("Set"),
                         QStringLiteral("Set Autotune status|"));
  auto* btAtQuery = Button(QStringLiteral("btAutotuneQuery"), QStringLiteral("Query"),
                           QStringLiteral("Query Autotune status|"));
  auto* btCompute = Button(QStringLiteral("btCompute"), QStringLiteral("&Compute"),
                           QStringLiteral("Compute Tune Positions|"));
  auto* btMeaComp = Button(QStringLiteral("btMeaComp"), QStringLiteral("Me&aComp"),
                           QStringLiteral("Measure & compute Tune Positions|"));
  btMeaTun_ = Button(QStringLiteral("btMeaTun"), QStringLiteral("Mea&Tun"),
                     QStringLiteral("Measure & move stubs to Tune Positions|"));
  btMeaTun_->setDefault(true);
  auto* btMeaTunMea = Button(QStringLiteral("btMeaTunMea"), QStringLiteral("M&eaTunMea"),
                             QStringLiteral("Measure, tune, measure, send data|"));
  auto* btReadStubs = Button(QStringLiteral("btReadStubs"), QStringLiteral("&Read Stubs"),
                             QStringLiteral("Read stub positions|"));
  auto* btMoveStubs = Button(QStringLiteral("btMoveStubs"), QStringLiteral("Move Stu&bs"),
                             QStringLiteral("Move stub to Tune Positions|"));
  auto* btRefresh = Button(QStringLiteral("btRefresh"), QStringLiteral("Refres&h"),
                           QStringLiteral("Refresh numeric displays|"));
  cbSendTune_ = MakeCheck(tuner, QStringLiteral("cb"), QStringLiteral("Send Tune Positions"),
                          QStringLiteral("Sends Tune Positions with measurement data|"));
  tg->addWidget(cbAutotune_, 0, 0);
  tg->addWidget(btAtSet, 0, 1);
  tg->addWidget(btAtQuery, 0, 2);
  tg->addWidget(btCompute, 1, 0);
  tg->addWidget(btMeaComp, 1, 1);
  tg->addWidget(btMeaTun_, 1, 2);
  tg->addWidget(btMeaTunMea, 1, 3);
  tg->addWidget(btReadStubs, 2, 0);
  tg->addWidget(btMoveStubs, 2, 1);
  tg->addWidget(btRefresh, 2, 2);
  tg->addWidget(cbSendTune_, 3, 0, 1, 3);
  // After either autotune command the box shows the flag the unit has.
  connect(btAtSet, &QPushButton::clicked, this, [this] {
    Run([this] { cmds_.AutotuneSet(cbAutotune_->isChecked()); });
    SetCheck(cbAutotune_, cmds_.AtOn());
  });
  connect(btAtQuery, &QPushButton::clicked, this, [this] {
    Run([this] { cmds_.AutotuneQuery(); });
    SetCheck(cbAutotune_, cmds_.AtOn());
  });
  connect(btCompute, &QPushButton::clicked, this, [this] { Run([this] { cmds_.Compute(); }); });
  connect(btMeaComp, &QPushButton::clicked, this, [this] { Run([this] { cmds_.MeaComp(); }); });
  connect(btMeaTun_, &QPushButton::clicked, this, [this] { Run([this] { cmds_.MeaTun(); }); });
  connect(btMeaTunMea, &QPushButton::clicked, this, [this] { Run([this] { cmds_.MeaTunMea(); }); });
  connect(btReadStubs, &QPushButton::clicked, this, [this] { Run([this] { cmds_.ReadStubs(); }); });
  connect(btMoveStubs, &QPushButton::clicked, this, [this] { Run([this] { cmds_.MoveStubs(); }); });
  connect(btRefresh, &QPushButton::clicked, this, [this] { Run([this] { cmds_.Refresh(); }); });
  connect(cbSendTune_, &QCheckBox::clicked, this,
          [this](bool on) { Run([this, on] { cmds_.SendTunePositions(on); }); });

  // The positions: the unit label, the stub headings, actual and tune rows, the status bytes.
  auto* pos = new QGridLayout;
  lbIndic_ = new QLabel;
  lbIndic_->setObjectName(QStringLiteral("lbIndic"));
  lbIndic_->setAlignment(Qt::AlignCenter);
  lbIndic_->setAutoFillBackground(true);
  QPalette yp = lbIndic_->palette();
  yp.setColor(QPalette::Window, ToQColor(clYellow, yp));
  yp.setColor(QPalette::WindowText, Qt::black);
  lbIndic_->setPalette(yp);
  lbIndic_->setCursor(Qt::PointingHandCursor);
  SetHint(lbIndic_, QStringLiteral("Click to change unit|"));
  lbIndic_->installEventFilter(this);
  pos->addWidget(lbIndic_, 0, 0);
  for (int i = 0; i < 3; ++i) {
    const QString n = QString::number(i + 1);
    auto* head = new QLabel(QStringLiteral("Stub ") + n);
    head->setAlignment(Qt::AlignCenter);
    pos->addWidget(head, 0, i + 1);
    lbAct_[size_t(i)] = ValueLabel(QStringLiteral("lbAct") + n, 7);
    lbTune_[size_t(i)] = ValueLabel(QStringLiteral("lbTune") + n, 7);
    pos->addWidget(lbAct_[size_t(i)], 1, i + 1);
    pos->addWidget(lbTune_[size_t(i)], 2, i + 1);
  }
  pos->addWidget(new QLabel(QStringLiteral("Actual:")), 1, 0);
  pos->addWidget(new QLabel(QStringLiteral("Tune:")), 2, 0);
  lbStat1_ = ValueLabel(QStringLiteral("lbStat1"), 10);
  lbStat2_ = ValueLabel(QStringLiteral("lbStat2"), 10);
  pos->addWidget(new QLabel(QStringLiteral("Stat 1:")), 3, 0);
  pos->addWidget(lbStat1_, 3, 1, 1, 2);
  pos->addWidget(new QLabel(QStringLiteral("Stat 2:")), 4, 0);
  pos->addWidget(lbStat2_, 4, 1, 1, 2);
  tg->addLayout(pos, 4, 0, 1, 4);

  // TIMEOUTS (ms)
  auto* tout = new QGroupBox(QStringLiteral("TIMEOUTS (ms)"));
  tout->setObjectName(QStringLiteral("gbTimeouts"));
  auto* og = new QHBoxLayout(tout);
  lbQuzarTout_ = ValueLabel(QStringLiteral("lbQuzarTout"), 6);
  lbMotorsTout_ = ValueLabel(QStringLiteral("lbMotorsTout"), 6);
  auto* btToutQuery = Button(QStringLiteral("btToutQuery"), QStringLiteral("Query"),
                             QStringLiteral("Query timeouts|"));
  og->addWidget(new QLabel(QStringLiteral("Quzar:")));
  og->addWidget(lbQuzarTout_);
  og->addWidget(new QLabel(QStringLiteral("Motors:")));
  og->addWidget(lbMotorsTout_);
  og->addWidget(btToutQuery);
  connect(btToutQuery, &QPushButton::clicked, this,
          [this] { Run([this] { cmds_.QueryTimeouts(); }); });

  // The status bar: caption, command count and the last command's outcome.
  auto* sb = new QStatusBar;
  sb->setObjectName(QStringLiteral("StatusBar"));
  sb->setSizeGripEnabled(false);
  pnCaption_ = new QLabel(QStringLiteral("Command #/Status:"));
  pnCaption_->setObjectName(QStringLiteral("pnCaption"));
  pnCount_ = ValueLabel(QStringLiteral("pnCount"), 4);
  pnCount_->setAlignment(Qt::AlignCenter);
  pnStatus_ = new QLabel;
  pnStatus_->setObjectName(QStringLiteral("pnStatus"));
  pnStatus_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  sb->addWidget(pnCaption_);
  sb->addWidget(pnCount_);
  sb->addWidget(pnStatus_, 1);

  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(4, 4, 4, 2);
  top->addWidget(Strip());
  top->addWidget(quzar);
  top->addWidget(Strip());
  top->addWidget(tuner);
  top->addWidget(Strip());
  top->addWidget(tout);
  top->addWidget(Strip());
  top->addWidget(sb);
  top->setSizeConstraint(QLayout::SetFixedSize);

  // Enter presses the default button (F1 is the program's help key).
  for (const QKeySequence& k : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
    auto* s = new QShortcut(k, this);
    connect(s, &QShortcut::activated, btMeaTun_, &QPushButton::click);
  }
}

void TTrgForm::Run(const std::function<void()>& op) {
  op();
  Fill();
}

void TTrgForm::Fill() {
  SetText(lbIndic_, cmds_.IndicText());
  const TTrgPositions p = cmds_.Positions();
  for (size_t i = 0; i < 3; ++i) {
    SetText(lbAct_[i], p.act[i]);
    SetText(lbTune_[i], p.tune[i]);
  }
  SetText(lbStat1_, p.stat1);
  SetText(lbStat2_, p.stat2);
  SetText(lbQuzarTout_, cmds_.QuzarTout());
  SetText(lbMotorsTout_, cmds_.MotorsTout());
  SetText(pnCount_, cmds_.CountText());
  SetText(pnStatus_, cmds_.StatusText());
  SetCheck(cbSendTune_, cmds_.SendTunePosFlag());
}

void TTrgForm::IndicClick() {
  cmds_.IndicClick();
  Fill();
}

QString TTrgForm::CountPanel() const { return pnCount_->text(); }
QString TTrgForm::StatusPanel() const { return pnStatus_->text(); }

void TTrgForm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (e->spontaneous()) return;
  // Each showing asks the unit for its run/send states and time-outs; the autotune box starts
  // from the flag in force.
  SetCheck(cbAutotune_, cmds_.AtOn());
  cmds_.Showing();
  Fill();
}

bool TTrgForm::eventFilter(QObject* obj, QEvent* e) {
  if (obj == lbIndic_ && e->type() == QEvent::MouseButtonRelease) {
    IndicClick();
    return true;
  }
  return QWidget::eventFilter(obj, e);
}

void TTrgForm::WriteStp(IniFile& ini) const {
  WriteWindowPlace(ini, QString::fromLatin1(kTrgSection), *this, kToolPlaceRule);
  cmds_.WriteIndic(ini);
}

}  // namespace qz
