#include "results/ui/qzresform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "core/qvwin.h"
#include "results/ui/resui.h"
#include "util/inifile.h"
#include "util/ui/coalesce.h"
#include "util/ui/windowplace.h"

namespace qz {

namespace {

QFont PixelFont(const QFont& base, int px, bool bold) {
  QFont f = base;
  f.setPixelSize(px);
  f.setBold(bold);
  return f;
}

}  // namespace

TQzResForm::TQzResForm(const TQvWin& qv, const IniFile* autoSetup, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), qv_(qv) {
  setObjectName(QString::fromLatin1(kResFormSection));
  refresh_ = new TCoalescedRefresh(this, [this] { ShowAll(); });
  setWindowTitle(QStringLiteral("Quzar Measurement Results"));
  Build();
  if (autoSetup) ReadStp(*autoSetup);
  v_.Runit = ruMag;
  v_.Tunit = 0;
  lbFmt_->setText(v_.FormatName());
  RflCaption();
  SetExtCaption();
  Napln(nullptr);
  FlushRefresh();
}

void TQzResForm::Build() {
  setFixedSize(320, 281);
  const QFont base = font();

  gbRfl_ = new QGroupBox(this);
  gbRfl_->setGeometry(4, 2, 312, 96);
  lbMag_ = MakePanel(gbRfl_, 8, 18, 132, 44);
  lbMag_->setAutoFillBackground(true);
  lbMag_->setStyleSheet(QStringLiteral("background-color: black; color: #00ff00;"));
  lbMag_->setFont(PixelFont(base, 28, true));
  lbFmt_ = MakePanel(gbRfl_, 144, 18, 44, 22, Qt::AlignCenter);
  lbPha_ = MakePanel(gbRfl_, 144, 42, 64, 20);
  auto* deg = new QLabel(QStringLiteral("Deg"), gbRfl_);
  deg->setGeometry(212, 42, 28, 20);
  for (QLabel* l : {lbMag_, lbFmt_}) {
    l->setProperty(kRflProp, true);
    l->installEventFilter(this);
  }
  cbLoad_ = new QCheckBox(QStringLiteral("Show Load"), gbRfl_);
  cbLoad_->setGeometry(8, 68, 96, 22);
  SetHint(cbLoad_, QStringLiteral("Show load reflection as if tuner were not present|"));
  connect(cbLoad_, &QCheckBox::toggled, this, [this](bool on) {
    v_.ShowLoad = on;
    RflCaption();
  });
  auto* gbExt = new QGroupBox(QStringLiteral("Plane Ext"), gbRfl_);
  gbExt->setGeometry(112, 62, 192, 30);
  lbExt_ = new QLabel(gbExt);
  lbExt_->setGeometry(8, 13, 178, 15);

  auto* gbFre = new QGroupBox(QStringLiteral("Frequency"), this);
  gbFre->setGeometry(4, 100, 154, 60);
  lbFre_ = MakePanel(gbFre, 8, 17, 74, 20);
  auto* mhz = new QLabel(QStringLiteral("MHz"), gbFre);
  mhz->setGeometry(86, 17, 30, 20);
  ledFre_ = MakeLamp(gbFre, 10, 41);
  lbFreSt_ = new QLabel(gbFre);
  lbFreSt_->setGeometry(28, 39, 120, 17);

  auto* gbTemp = new QGroupBox(QStringLiteral("Temper"), this);
  gbTemp->setGeometry(162, 100, 154, 60);
  lbTemp_ = MakePanel(gbTemp, 8, 17, 60, 20);
  SetHint(lbTemp_, QStringLiteral("Click to toggle unit|"));
  lbTemp_->installEventFilter(this);
  lbTUnit_ = new QLabel(gbTemp);
  lbTUnit_->setGeometry(72, 17, 20, 20);
  ledTemp_ = MakeLamp(gbTemp, 10, 41);
  lbTempSt_ = new QLabel(gbTemp);
  lbTempSt_->setGeometry(28, 39, 120, 17);

  auto* gbPow = new QGroupBox(QStringLiteral("Power"), this);
  gbPow->setGeometry(4, 162, 226, 115);
  lbPow_[Postup] = MakePanel(gbPow, 8, 18, 118, 34);
  lbPow_[Postup]->setFont(PixelFont(base, 24, true));
  lbPowU_[Postup] = new QLabel(gbPow);
  lbPowU_[Postup]->setGeometry(130, 18, 50, 34);
  lbPowU_[Postup]->setFont(PixelFont(base, 20, true));
  lbPowU_[Postup]->setFrameStyle(QFrame::Panel | QFrame::Raised);
  lbPowCap_[Postup] = nullptr;
  const char* caps[] = {nullptr, "Reflected", "Absorbed"};
  for (int r = Odraz; r <= Absorb; ++r) {
    const int y = r == Odraz ? 58 : 84;
    lbPowCap_[r] = new QLabel(QString::fromLatin1(caps[r]), gbPow);
    lbPowCap_[r]->setGeometry(8, y, 58, 20);
    lbPow_[r] = MakePanel(gbPow, 66, y, 56, 20);
    lbPowU_[r] = new QLabel(gbPow);
    lbPowU_[r]->setGeometry(125, y, 30, 20);
  }
  ledPow_ = MakeLamp(gbPow, 156, 62);
  lbPowSt_ = new QLabel(gbPow);
  lbPowSt_->setGeometry(171, 58, 54, 20);
  for (int r = Postup; r <= Absorb; ++r) {
    // The incident row answers on its unit only: its value panel is for reading at a glance.
    QList<QWidget*> ws{lbPowU_[r]};
    if (r != Postup) ws << lbPow_[r] << lbPowCap_[r];
    for (QWidget* w : ws) {
      w->setProperty(kRowProp, r);
      w->installEventFilter(this);
    }
  }

  lbErr_ = new QLabel(this);
  lbErr_->setGeometry(229, 168, 90, 22);  // "000=00000000" in full
  lbErr_->setFont(PixelFont(base, 11, false));
  SetHint(lbErr_, QStringLiteral("Quzar Error Byte (QER)"));
  btHelp_ = new QPushButton(QStringLiteral("&Help"), this);
  btHelp_->setGeometry(238, 196, 76, 24);
  btClose_ = new QPushButton(QStringLiteral("Close"), this);
  btClose_->setGeometry(238, 224, 76, 24);
  btRun_ = new QPushButton(QStringLiteral("Start/Stop"), this);
  btRun_->setGeometry(238, 252, 76, 24);
  connect(btHelp_, &QPushButton::clicked, this, [this] {
    if (OnHelp) OnHelp(QString::fromLatin1(kResHelpTopic));
  });
  connect(btClose_, &QPushButton::clicked, this, &QWidget::hide);
  connect(btRun_, &QPushButton::clicked, this, [this] {
    if (OnStartStop) OnStartStop();
  });

  mPow_ = new TTagMenu(kPowUnitCaptions, this);
  connect(mPow_, &QMenu::aboutToShow, this, &TQzResForm::PreparePowMenu);
  connect(mPow_, &QMenu::triggered, this, [this](QAction* a) {
    v_.SetRowUnit(a->data().toInt());
    ShowPower();
  });
  mRfl_ = new TTagMenu(kRflFormatCaptions, this);
  connect(mRfl_, &QMenu::aboutToShow, this, &TQzResForm::PrepareRflMenu);
  connect(mRfl_, &QMenu::triggered, this, [this](QAction* a) {
    v_.SetRunit(a->data().toInt());
    lbFmt_->setText(v_.FormatName());
    ShowReflection();
  });
}

void TQzResForm::PreparePowMenu() { qz::PreparePowMenu(mPow_, v_); }

void TQzResForm::PrepareRflMenu() { mRfl_->CheckTag(v_.Runit); }

bool TQzResForm::eventFilter(QObject* obj, QEvent* e) {
  if (RowAndPopupEvent(obj, e, v_, mPow_, mRfl_)) return true;
  // A click on the temperature switches its unit.
  if (obj == lbTemp_ && e->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
    v_.ToggleTunit();
    ShowTemperature();
    return true;
  }
  return QWidget::eventFilter(obj, e);
}

void TQzResForm::closeEvent(QCloseEvent* e) {
  e->ignore();
  hide();
}

void TQzResForm::Napln(const THresults* res) {
  v_.Napln(res);
  if (isVisible())
    refresh_->Request();
  else
    ShowAll();
}

bool TQzResForm::RefreshPending() const { return refresh_->Pending(); }

void TQzResForm::FlushRefresh() { refresh_->Flush(); }

void TQzResForm::ShowAll() {
  ShowReflection();
  ShowFrequency();
  ShowPower();
  ShowTemperature();
  ShowErrByte();
}

void TQzResForm::ShowReflection() {
  const TRflView r = v_.Reflection();
  SetText(lbMag_, r.mag);
  SetText(lbPha_, r.phase);
}

void TQzResForm::ShowFrequency() {
  const TFreqView f = v_.Frequency(qv_.VarPar.IsCntOn == 1);
  if (f.value) SetText(lbFre_, *f.value);
  SetLamp(ledFre_, lbFreSt_, f.lamp);
}

void TQzResForm::ShowPower() {
  const TPowerView p = v_.Power();
  for (int r = 0; r < kPowerRows; ++r) {
    SetText(lbPow_[r], p.rows[r].value);
    SetText(lbPowU_[r], p.rows[r].unit);
  }
  SetLamp(ledPow_, lbPowSt_, p.lamp);
}

void TQzResForm::ShowTemperature() {
  const TTempView t = v_.Temperature();
  if (t.value) SetText(lbTemp_, *t.value);
  SetText(lbTUnit_, t.unit);
  SetLamp(ledTemp_, lbTempSt_, t.lamp);
}

void TQzResForm::ShowErrByte() { SetText(lbErr_, v_.ErrorByte()); }

void TQzResForm::RflCaption() {
  gbRfl_->setTitle(RflCaptionText(v_.ShowLoad, qv_.BiTr.GetActive(), true));
}

void TQzResForm::SetExtCaption() { lbExt_->setText(qv_.PlaneExt.MsgStr); }

void TQzResForm::FreLedCounterOnOff(bool on) { SetLamp(ledFre_, lbFreSt_, CounterLamp(on)); }

void TQzResForm::WriteStp(IniFile& ini) const {
  WriteWindowPlace(ini, QString::fromLatin1(kResFormSection), *this, kResultsPlaceRule);
}

void TQzResForm::ReadStp(const IniFile& ini) {
  ReadWindowPlace(ini, QString::fromLatin1(kResFormSection), *this, kResultsPlaceRule);
}

}  // namespace qz
