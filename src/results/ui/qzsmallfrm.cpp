#include "results/ui/qzsmallfrm.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

#include "core/qvwin.h"
#include "results/ui/resui.h"
#include "util/inifile.h"
#include "util/ui/coalesce.h"
#include "util/ui/windowplace.h"

namespace qz {

TQzSmallFrm::TQzSmallFrm(const TQvWin& qv, const IniFile* autoSetup, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), qv_(qv) {
  setObjectName(QString::fromLatin1(kSmallFrmSection));
  refresh_ = new TCoalescedRefresh(this, [this] { ShowAll(); });
  Build();
  if (autoSetup) ReadStp(*autoSetup);
  v_.Runit = ruMag;
  v_.Tunit = 0;
  lbFmt_->setText(v_.FormatName());
  RflCaption();
  Napln(nullptr);
  FlushRefresh();
}

void TQzSmallFrm::Build() {
  setFixedSize(187, 53);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  setPalette(pal);
  QFont f = font();
  f.setPixelSize(11);
  setFont(f);

  auto panel = [this](int x, int y, int w) {
    QLabel* l = MakePanel(this, x, y, w, 16);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::white);
    l->setPalette(p);
    return l;
  };
  lbMag_ = panel(2, 1, 52);
  lbFmt_ = new QLabel(this);
  lbFmt_->setGeometry(57, 1, 30, 16);
  lbPha_ = panel(2, 18, 52);
  auto* deg = new QLabel(QStringLiteral("Deg"), this);
  deg->setGeometry(57, 18, 30, 16);
  lbFre_ = panel(2, 35, 52);
  lbMHz_ = new QLabel(QStringLiteral("MHz"), this);
  lbMHz_->setGeometry(57, 35, 30, 16);
  for (QLabel* l : {lbMag_, lbFmt_}) {
    l->setProperty(kRflProp, true);
    l->installEventFilter(this);
  }
  const char* caps[] = {"I", "R", "A"};
  for (int r = 0; r < kPowerRows; ++r) {
    const int y = 1 + 17 * r;
    lbPowCap_[r] = new QLabel(QString::fromLatin1(caps[r]), this);
    lbPowCap_[r]->setGeometry(90, y, 10, 16);
    lbPow_[r] = panel(101, y, 52);
    lbPowU_[r] = new QLabel(this);
    lbPowU_[r]->setGeometry(156, y, 30, 16);
    for (QLabel* l : {lbPowCap_[r], lbPow_[r], lbPowU_[r]}) {
      l->setProperty(kRowProp, r);
      l->installEventFilter(this);
    }
  }

  mPow_ = new TTagMenu(kPowUnitCaptions, this);
  connect(mPow_, &QMenu::aboutToShow, this, &TQzSmallFrm::PreparePowMenu);
  connect(mPow_, &QMenu::triggered, this, [this](QAction* a) {
    v_.SetRowUnit(a->data().toInt());
    ShowPower();
  });
  mRfl_ = new TTagMenu(kRflFormatCaptions, this);
  connect(mRfl_, &QMenu::aboutToShow, this, &TQzSmallFrm::PrepareRflMenu);
  connect(mRfl_, &QMenu::triggered, this, [this](QAction* a) {
    v_.SetRunit(a->data().toInt());
    lbFmt_->setText(v_.FormatName());
    ShowReflection();
  });
  mMain_ = new QMenu(this);
  aLoad_ = mMain_->addAction(QStringLiteral("&Show Load"));
  aLoad_->setCheckable(true);
  aLoad_->setStatusTip(QStringLiteral("Show load reflection as if tuner were not present"));
  aLoad_->setToolTip(aLoad_->statusTip());
  connect(aLoad_, &QAction::toggled, this, [this](bool on) {
    v_.ShowLoad = on;
    RflCaption();
  });
}

void TQzSmallFrm::PreparePowMenu() { qz::PreparePowMenu(mPow_, v_); }

void TQzSmallFrm::PrepareRflMenu() { mRfl_->CheckTag(v_.Runit); }

bool TQzSmallFrm::eventFilter(QObject* obj, QEvent* e) {
  if (RowAndPopupEvent(obj, e, v_, mPow_, mRfl_)) return true;
  return QWidget::eventFilter(obj, e);
}

void TQzSmallFrm::contextMenuEvent(QContextMenuEvent* e) { mMain_->popup(e->globalPos()); }

void TQzSmallFrm::closeEvent(QCloseEvent* e) {
  e->ignore();
  hide();
}

void TQzSmallFrm::Napln(const THresults* res) {
  v_.Napln(res);
  if (isVisible())
    refresh_->Request();
  else
    ShowAll();
}

bool TQzSmallFrm::RefreshPending() const { return refresh_->Pending(); }

void TQzSmallFrm::FlushRefresh() { refresh_->Flush(); }

void TQzSmallFrm::ShowAll() {
  ShowReflection();
  ShowFrequency();
  ShowPower();
}

void TQzSmallFrm::ShowReflection() {
  const TRflView r = v_.Reflection();
  SetText(lbMag_, r.mag);
  SetText(lbPha_, r.phase);
}

void TQzSmallFrm::ShowFrequency() {
  const TFreqView f = v_.Frequency(qv_.VarPar.IsCntOn == 1);
  if (f.value) SetText(lbFre_, *f.value);
  if (f.color) {
    SetTextColor(lbFre_, *f.color);
    SetTextColor(lbMHz_, *f.color);
  }
}

void TQzSmallFrm::ShowPower() {
  const TPowerView p = v_.Power();
  for (int r = 0; r < kPowerRows; ++r) {
    SetText(lbPow_[r], p.rows[r].value);
    SetText(lbPowU_[r], p.rows[r].unit);
    SetTextColor(lbPow_[r], p.color);
    SetTextColor(lbPowU_[r], p.color);
  }
}

void TQzSmallFrm::RflCaption() {
  setWindowTitle(RflCaptionText(v_.ShowLoad, qv_.BiTr.GetActive(), false));
}

void TQzSmallFrm::WriteStp(IniFile& ini) const {
  WriteWindowPlace(ini, QString::fromLatin1(kSmallFrmSection), *this, kResultsPlaceRule);
}

void TQzSmallFrm::ReadStp(const IniFile& ini) {
  ReadWindowPlace(ini, QString::fromLatin1(kSmallFrmSection), *this, kResultsPlaceRule);
}

}  // namespace qz
