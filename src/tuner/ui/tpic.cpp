#include "tuner/ui/tpic.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "comm/qzcmd.h"
#include "core/planeext.h"
#include "util/asker.h"
#include "util/format.h"
#include "util/hints.h"
#include "util/inifile.h"
#include "util/ui/panels.h"
#include "util/ui/qcolor.h"
#include "util/ui/windowplace.h"

namespace qz {

namespace {

constexpr int kRepeatMs = 100;
constexpr char kStepHint[] = "Step size=Medium;  Ctrl=1;  Shift/RightClick=Max";
// The program's decimal point in the texts shown.
const QChar kDecSep('.');

QColor StubColour(TStubLook look) {
  return look == TStubLook::Red ? ToQColor(clRed) : ToQColor(clYellow);
}

}  // namespace

TTpic::TTpic(TTunerModel& model, TAutoTune& autoTune, TQzCmd& cmd, const TPlaneExt& planeExt,
             const IniFile* autoSetup, QWidget* parent, TAsker* asker)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      model_(model),
      at_(autoTune),
      cmd_(cmd),
      ext_(planeExt),
      asker_(asker),
      motion_(model, cmd) {
  setObjectName(QStringLiteral("Tpic"));
  setWindowTitle(QStringLiteral("Tuner View"));
  MouseHeld = [] { return QGuiApplication::mouseButtons() != Qt::NoButton; };
  motion_.OnShowMotPosit = [this](int mo) { ShowMotPosit(mo); };
  Build();
  if (autoSetup) ReadStp(*autoSetup);
  ShowIndicName();
  motion_.SetStepSize(kDefaultStepSize[0], kDefaultStepSize[1], kDefaultStepSize[2]);
  GetStubDrawParams();
  ReadShow();
  Mot().TargPos = Mot().ActPos;
  ShowMotPositAll();
  SetAtButton(Mot().AtOn);
  pbTunPaint();
  model_.AddObserver(this);
  at_.AddObserver(this);
}

TTpic::~TTpic() {
  model_.RemoveObserver(this);
  at_.RemoveObserver(this);
}

TAsker& TTpic::Ask() const { return asker_ ? *asker_ : Asker(); }

QToolButton* TTpic::StepButton(const QRect& r, const QString& text, const QString& hint) {
  auto* b = new QToolButton(pbTun_);
  b->setText(text);
  b->setGeometry(r);
  b->setAutoRaise(false);
  b->setFocusPolicy(Qt::NoFocus);
  SetHint(b, hint);
  return b;
}

void TTpic::Build() {
  QFont f = font();
  f.setPixelSize(11);
  setFont(f);
  lay_ = BuildTpicLayout(QFontMetrics(f).height());

  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  box->setSizeConstraint(QLayout::SetFixedSize);

  tb_ = new QToolBar(this);
  tb_->setObjectName(QStringLiteral("ToolBar"));
  tb_->setIconSize(QSize(16, 16));
  auto action = [this](const char* name, const QString& text, const char* hint) {
    QAction* a = tb_->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    const HintParts h = SplitHint(QString::fromLatin1(hint));
    a->setToolTip(h.tooltip);
    a->setStatusTip(h.statusTip);
    return a;
  };
  sbAllHome_ = action("sbAllHome", QStringLiteral("Home"), "All stubs home|");
  connect(sbAllHome_, &QAction::triggered, this, [this] { AllHomeClick(); });
  sbTune1_ = action("sbTune1", QStringLiteral("Tune"), "One autotuning step|");
  connect(sbTune1_, &QAction::triggered, this, [this] { Tune1Click(); });
  sbAuto_ = action("sbAuto", QStringLiteral("AT"), "Autotuning ON/OFF|");
  sbAuto_->setCheckable(true);
  connect(sbAuto_, &QAction::triggered, this, [this](bool on) { AutoClick(on); });
  sbReadPos_ = action("sbReadPos", QStringLiteral("Read"), "Stub position reading|");
  connect(sbReadPos_, &QAction::triggered, this, [this] { ReadPosClick(); });
  sbScenar_ = action("sbScenar", QStringLiteral("Scen"), "Show scenario dialog|");
  sbScenar_->setCheckable(true);
  sbScenar_->setEnabled(false);
  connect(sbScenar_, &QAction::triggered, this, [this](bool on) { ScenarClick(on); });
  sbHelp_ = action("sbHelp", QStringLiteral("?"), "Help on Tuner View window|");
  connect(sbHelp_, &QAction::triggered, this, [this] {
    if (OnHelp) OnHelp(kTpicHelpTopic);
  });
  box->addWidget(tb_);

  pbTun_ = new QWidget(this);
  pbTun_->setObjectName(QStringLiteral("pbTun"));
  pbTun_->setFixedSize(lay_.client);
  pbTun_->setMouseTracking(false);
  pbTun_->installEventFilter(this);
  box->addWidget(pbTun_);

  pTuneTime_ = MakePanel(pbTun_, lay_.tuneTime.x(), lay_.tuneTime.y(), lay_.tuneTime.width(),
                         lay_.tuneTime.height(), Qt::AlignCenter);
  pTuneTime_->setObjectName(QStringLiteral("pTuneTime"));
  SetHint(pTuneTime_, QStringLiteral("Click: Single tune step + show time|"));
  pTuneTime_->installEventFilter(this);

  for (int k = 0; k < 3; ++k) {
    const size_t i = size_t(k);
    const QString n = Format(QStringLiteral("%d"), {int64_t(k + 1)});
    auto* no = new QLabel(n, pbTun_);
    no->setGeometry(lay_.motNo[i]);
    no->setAlignment(Qt::AlignCenter);
    no->setAttribute(Qt::WA_TransparentForMouseEvents);
    lbMotor_[i] = new QLabel(pbTun_);
    lbMotor_[i]->setObjectName(QStringLiteral("lbMotor") + n);
    lbMotor_[i]->setGeometry(lay_.lbMotor[i]);
    lbMotor_[i]->setAlignment(Qt::AlignCenter);
    SetHint(lbMotor_[i], QStringLiteral("Click to set|"));
    lbMotor_[i]->installEventFilter(this);

    const QString hint = QString::fromLatin1(kStepHint);
    sbUp_[i] = StepButton(lay_.sbUp[i], QStringLiteral("\u25B2"), hint);
    sbDn_[i] = StepButton(lay_.sbDn[i], QStringLiteral("\u25BC"), hint);
    sbTop_[i] =
        StepButton(lay_.sbTop[i], QStringLiteral("\u2912"), QStringLiteral("Zero extension|"));
    sbBott_[i] =
        StepButton(lay_.sbBott[i], QStringLiteral("\u2913"), QStringLiteral("Max extension|"));
    sbUp_[i]->setObjectName(QStringLiteral("sbUp") + n);
    sbDn_[i]->setObjectName(QStringLiteral("sbDn") + n);
    sbTop_[i]->setObjectName(QStringLiteral("sbTop") + n);
    sbBott_[i]->setObjectName(QStringLiteral("sbBott") + n);
    sbUp_[i]->installEventFilter(this);
    sbDn_[i]->installEventFilter(this);
    connect(sbTop_[i], &QToolButton::clicked, this, [this, k] { EndStopClick(k + 1, false); });
    connect(sbBott_[i], &QToolButton::clicked, this, [this, k] { EndStopClick(k + 1, true); });

    tmMo_[i] = new QTimer(this);
    tmMo_[i]->setObjectName(QStringLiteral("tmMo") + n);
    tmMo_[i]->setInterval(kRepeatMs);
    connect(tmMo_[i], &QTimer::timeout, this, [this, k] { TimerTick(k + 1); });
  }

  lbIndic_ = MakePanel(pbTun_, lay_.indic.x(), lay_.indic.y(), lay_.indic.width(),
                       lay_.indic.height(), Qt::AlignCenter);
  lbIndic_->setObjectName(QStringLiteral("lbIndic"));
  SetHint(lbIndic_, QStringLiteral("Click to change unit|"));
  lbIndic_->installEventFilter(this);

  lbMotErr_ = new QLabel(pbTun_);
  lbMotErr_->setObjectName(QStringLiteral("lbMotErr"));
  lbMotErr_->setGeometry(lay_.motErr);
  lbMotErr_->setAlignment(Qt::AlignCenter);
  QFont bold = f;
  bold.setBold(true);
  lbMotErr_->setFont(bold);
  SetTextColor(lbMotErr_, clRed);
  lbMotErr_->hide();

  lbExt_ = new QLabel(pbTun_);
  lbExt_->setObjectName(QStringLiteral("lbExt"));
  lbExt_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lbExt_->hide();
  ApplyBackground();
}

// ---- positions and errors -------------------------------------------------------------------

QString TTpic::MotorText(int mo) const { return lbMotor_[size_t(mo - 1)]->text(); }
QString TTpic::TuneTimeText() const { return pTuneTime_->text(); }
QString TTpic::MotErrText() const { return lbMotErr_->text(); }
bool TTpic::MotErrShown() const { return !lbMotErr_->isHidden(); }

void TTpic::ShowMotPositAll(bool forceJe) {
  (void)forceJe;  // every refresh is complete
  for (int mo = 1; mo <= 3; ++mo) {
    const int p = Mot().ActPos[mo];
    SetText(lbMotor_[size_t(mo - 1)], ShowIndic(p, stp_.Indic, motion_.StepMm(), kDecSep));
    height_[size_t(mo - 1)] = StubHeight(scale_, p);
  }
  ShowMotErr(Mot().ErrFlags);
}

void TTpic::ShowMotPosit(int mo) {
  if (mo < 1 || mo > 3) return;
  const int p = Mot().ActPos[mo];
  SetText(lbMotor_[size_t(mo - 1)], ShowIndic(p, stp_.Indic, motion_.StepMm(), kDecSep));
  height_[size_t(mo - 1)] = StubHeight(scale_, p);
  ShowMotErr(Mot().ErrFlags);
}

void TTpic::ShowMotErr(uint8_t flags) {
  err_ = qz::ShowMotErr(flags);
  // A motor error wins over the outcome of a tune.
  const bool outcome = !err_.visible && !tuneText_.isEmpty();
  SetText(lbMotErr_, outcome ? tuneText_ : err_.label);
  // The outcome is longer than a motor error: it takes the picture's width and two lines.
  const QRect place = outcome ? QRect(2, lay_.motErr.y(), pbTun_->width() - 4,
                                      lay_.client.height() - lay_.motErr.y() - 1)
                              : lay_.motErr;
  if (lbMotErr_->geometry() != place) lbMotErr_->setGeometry(place);
  lbMotErr_->setWordWrap(outcome);
  lbMotErr_->setToolTip(outcome ? tuneText_ : QString());
  lbMotErr_->setVisible(err_.visible || outcome);
  pbTun_->update();
}

bool TTpic::ReadShow() {
  ShowRead(cmd_.ReadMotStatus());
  return lastReadCode_ == kCmdOk;
}

void TTpic::ShowRead(int32_t code) {
  lastReadCode_ = code;
  if (lastReadCode_ != kCmdOk) {
    // The reading failed: the positions shown are no longer known to be true.
    ShowMotErr(uint8_t(Mot().ErrFlags | kMotErrReadFail));
    return;
  }
  ShowMotPositAll();
}

void TTpic::GetStubDrawParams() {
  scale_ = qz::GetStubDrawParams(motion_.MaxSteps());
  for (int mo = 1; mo <= 3; ++mo) height_[size_t(mo - 1)] = StubHeight(scale_, Mot().ActPos[mo]);
  pbTun_->update();
}

void TTpic::SetStepSize(int st1, int st2, int st3) { motion_.SetStepSize(st1, st2, st3); }

void TTpic::ZastavTimery() {
  for (QTimer* t : tmMo_) t->stop();
  held_.fill(false);
}

void TTpic::EnableControls(bool ena) { controlsEnabled_ = ena; }

bool TTpic::TimerActive(int mo) const { return tmMo_[size_t(mo - 1)]->isActive(); }

void TTpic::pbTunPaint() {
  const QString text = ext_.MsgStr;
  const int textW = std::max(lay_.extTextW, lbExt_->fontMetrics().horizontalAdvance(text) + 2);
  marker_ = PlaceExtMarker(ext_.Extension, lay_.load_x0, lay_.symbolW, textW);
  lbExt_->setGeometry(marker_.textX, lay_.markerY, textW, lay_.markerH);
  SetText(lbExt_, marker_.visible ? text : QString());
  lbExt_->setVisible(marker_.visible);
  pbTun_->update();
}

void TTpic::SetAtButton(bool on) { sbAuto_->setChecked(on); }

void TTpic::ShowIndicName() { SetText(lbIndic_, IndicName(stp_.Indic)); }

void TTpic::ApplyBackground() {
  pbTun_->setAutoFillBackground(true);
  QPalette p = pbTun_->palette();
  p.setColor(QPalette::Window, ToQColor(stp_.Bcolor, palette()));
  pbTun_->setPalette(p);
}

void TTpic::ClearTuneTime() {
  SetText(pTuneTime_, QString());
  if (!tuneText_.isEmpty()) {
    tuneText_.clear();
    ShowMotErr(Mot().ErrFlags);
  }
}

// ---- the operator's commands ----------------------------------------------------------------

void TTpic::StepPress(int mo, TSmer dir, Qt::KeyboardModifiers mods, bool rightButton) {
  const TStep index = StepIndexFor(mods.testFlag(Qt::ControlModifier),
                                   mods.testFlag(Qt::ShiftModifier), rightButton);
  if (!motion_.Press(mo, dir, index)) return;
  held_[size_t(mo - 1)] = true;
  tmMo_[size_t(mo - 1)]->start();
}

void TTpic::StepRelease() { ZastavTimery(); }

void TTpic::TimerTick(int mo) {
  // A release that went to a box opened meanwhile never reached the button: without a held
  // button the repeat ends here, before the stub runs on to its end stop.
  if (!held_[size_t(mo - 1)] || !(MouseHeld && MouseHeld())) {
    ZastavTimery();
    return;
  }
  if (!motion_.Tick(mo)) tmMo_[size_t(mo - 1)]->stop();
}

void TTpic::EndStopClick(int mo, bool maxExtension) {
  tmMo_[size_t(mo - 1)]->stop();
  held_[size_t(mo - 1)] = false;
  motion_.EndStop(mo, maxExtension);
}

void TTpic::MotorTextClick(int mo) {
  const int present = Mot().ActPos[mo];
  const int steps =
      AskStubPosition(mo, stp_.Indic, present, motion_.MaxSteps(), motion_.StepMm(), Ask());
  motion_.MoveTo(mo, steps);
}

void TTpic::IndicClick() {
  stp_.Indic = NextIndic(stp_.Indic);
  ShowIndicName();
  ShowMotPositAll();
}

void TTpic::AllHomeClick() {
  ClearTuneTime();
  ZastavTimery();
  if (Running()) EnableControls(false);
  (void)cmd_.ResetStubs();
  ReadShow();
}

void TTpic::Tune1Click() {
  ClearTuneTime();
  if (!Running()) {
    Ask().MessageBox(QStringLiteral("Start measurement first"), TMsgType::Information, mbOK);
    return;
  }
  ZastavTimery();
  EnableControls(false);
  const int32_t r = cmd_.SingleTune();
  if (r != kCmdOk) cmd_.ShowCmdResult(QStringLiteral("Single Tune"), r);
  EnableControls(true);
}

void TTpic::AutoClick(bool on) {
  ClearTuneTime();
  // The frame window and the simulated tuner act on the flag; no command goes to the unit.
  Mot().AtOn = on;
}

void TTpic::ReadPosClick() {
  ClearTuneTime();
  if (!ReadShow()) cmd_.ShowCmdResult(QStringLiteral("Read Stub Position"), lastReadCode_);
}

void TTpic::SetScenarioButton(bool shown) {
  const QSignalBlocker b(sbScenar_);
  sbScenar_->setEnabled(bool(OnShowScenario));
  sbScenar_->setChecked(shown);
}

void TTpic::ScenarClick(bool on) {
  ClearTuneTime();
  if (OnShowScenario) OnShowScenario(on);
}

void TTpic::PickBackground() {
  TColor c = stp_.Bcolor;
  if (!Ask().AskColor(c)) return;
  stp_.Bcolor = c;
  ApplyBackground();
}

// ---- observers --------------------------------------------------------------------------------

void TTpic::OnTunerDescriptionChanged(const TTunerModel& m) {
  GetStubDrawParams();
  const std::array<int, 3> s = StubStepSizes(std::max(1, m.Derived().MaxSteps));
  SetStepSize(s[0], s[1], s[2]);
  ShowMotPositAll();
}

void TTpic::OnAtParamsChanged(const TTunerModel& m) { SetAtButton(m.Mot().AtOn); }

void TTpic::OnStubsTuned(const TAutoTune&) { ShowMotPositAll(); }

void TTpic::OnTuneOutcome(const TAutoTune&, const TTuneOutcome& o) {
  const QString text = o.Text();
  if (text == tuneText_) return;
  tuneText_ = text;
  ShowMotErr(Mot().ErrFlags);
}

void TTpic::OnTuneTime(const TAutoTune&, double seconds) {
  SetText(pTuneTime_, Format(QStringLiteral("%d"), {int64_t(TuneTimeMs(seconds))}));
}

// ---- setup -----------------------------------------------------------------------------------

void TTpic::WriteStp(IniFile& ini) const {
  const QString s = QString::fromLatin1(kTpicSection);
  WriteWindowPlace(ini, s, *this, kToolPlaceRule);
  TpicKeys().Write(stp_, ini, s);
}

void TTpic::ReadStp(const IniFile& ini) {
  const QString s = QString::fromLatin1(kTpicSection);
  ReadWindowPlace(ini, s, *this, kToolPlaceRule);
  TpicKeys().Read(stp_, ini, s);
  ShowIndicName();
  ApplyBackground();
  ShowMotPositAll();
}

// ---- events ----------------------------------------------------------------------------------

void TTpic::EndMouseWork() {
  ZastavTimery();
  if (motion_.MouseActive()) PicMouseRelease();
}

bool TTpic::event(QEvent* e) {
  // A modal box took the mouse: its release will not come here.
  if (e->type() == QEvent::WindowBlocked) EndMouseWork();
  return QWidget::event(e);
}

void TTpic::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  GetStubDrawParams();
  ShowMotPositAll();
  SetAtButton(Mot().AtOn);
  sbScenar_->setEnabled(bool(OnShowScenario));
  if (ScenarioShown) sbScenar_->setChecked(ScenarioShown());
  pbTunPaint();
}

void TTpic::hideEvent(QHideEvent* e) {
  EndMouseWork();
  QWidget::hideEvent(e);
}

void TTpic::closeEvent(QCloseEvent* e) {
  // The window lives from start-up to exit; closing hides it.
  e->ignore();
  hide();
}

bool TTpic::eventFilter(QObject* obj, QEvent* e) {
  const QEvent::Type t = e->type();
  if (obj == pbTun_) {
    if (t == QEvent::Paint) {
      PaintPicture();
      return true;
    }
    if (t == QEvent::MouseButtonPress) PicMousePress(static_cast<QMouseEvent*>(e));
    if (t == QEvent::MouseMove) PicMouseMove(static_cast<QMouseEvent*>(e));
    if (t == QEvent::MouseButtonRelease) PicMouseRelease();
    return false;
  }
  for (int k = 0; k < 3; ++k) {
    const size_t i = size_t(k);
    if (obj == sbUp_[i] || obj == sbDn_[i]) {
      if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease) return false;
      auto* me = static_cast<QMouseEvent*>(e);
      const bool right = me->button() == Qt::RightButton;
      if (t == QEvent::MouseButtonPress && (right || me->button() == Qt::LeftButton))
        StepPress(k + 1, obj == sbDn_[i] ? TSmer::Dolu : TSmer::Hore, me->modifiers(), right);
      if (t == QEvent::MouseButtonRelease) StepRelease();
      // The button itself answers only the left button; the right one must not reach the
      // picture behind it (where it would choose the background colour).
      return right;
    }
    if (obj == lbMotor_[i] && t == QEvent::MouseButtonRelease) {
      MotorTextClick(k + 1);
      return true;
    }
  }
  if (obj == lbIndic_ && t == QEvent::MouseButtonRelease) {
    IndicClick();
    return true;
  }
  if (obj == pTuneTime_ && t == QEvent::MouseButtonRelease) {
    Tune1Click();
    return true;
  }
  return QWidget::eventFilter(obj, e);
}

void TTpic::PicMousePress(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  int hit = 0;
  for (int k = 0; k < 3 && !hit; ++k) {
    const QRect stub(lay_.stubX[size_t(k)], lay_.guide.y(), kStubWidth, height_[size_t(k)]);
    if (stub.adjusted(-1, -1, 1, 1).contains(pt)) hit = k + 1;
  }
  if (e->button() == Qt::LeftButton && hit) {
    ZastavTimery();
    motion_.BeginDrag(hit, pt.y(), height_[size_t(hit - 1)]);
    pbTun_->update();
  } else if (e->button() == Qt::RightButton && !hit) {
    // The picture's background, not a stub.
    PickBackground();
  }
}

void TTpic::PicMouseMove(QMouseEvent* e) {
  if (!motion_.MouseActive()) return;
  if (!(e->buttons() & Qt::LeftButton)) {
    // The button came up where this window did not see it.
    PicMouseRelease();
    return;
  }
  const int mo = motion_.DragMotor();
  const TStubDragPos p = motion_.DragMove(e->position().toPoint().y(), scale_);
  height_[size_t(mo - 1)] = p.height;
  SetText(lbMotor_[size_t(mo - 1)], ShowIndic(p.steps, stp_.Indic, motion_.StepMm(), kDecSep));
  pbTun_->update();
}

void TTpic::PicMouseRelease() {
  if (!motion_.MouseActive()) return;
  motion_.EndDrag();  // moves the stubs and shows the motor again (solid)
  pbTun_->update();
}

// ---- drawing ---------------------------------------------------------------------------------

void TTpic::PaintPicture() {
  QPainter p(pbTun_);
  const QColor line(Qt::black);
  const QPen pen2(line, 2);
  p.setPen(pen2);
  p.setBrush(QColor(0xC8, 0xC8, 0xC8));
  p.drawRect(lay_.gen);
  p.drawRect(lay_.load);
  p.drawText(lay_.gen, Qt::AlignCenter, QStringLiteral("GEN"));
  p.drawText(lay_.load, Qt::AlignCenter, QStringLiteral("LOAD"));
  p.setBrush(QColor(0xA0, 0xA0, 0xA0));
  p.drawRect(lay_.flng1);
  p.drawRect(lay_.flng2);
  p.setBrush(QColor(0xE8, 0xE8, 0xF0));
  p.drawRect(lay_.guide);
  p.setBrush(QColor(0xD8, 0xD8, 0xD8));
  for (const QRect& m : lay_.mot) p.drawRect(m);

  // The stubs hang from the guide's top; a dragged stub is drawn hollow.
  p.setPen(QPen(line, 1));
  for (int k = 0; k < 3; ++k) {
    const QRect r(lay_.stubX[size_t(k)], lay_.guide.y(), kStubWidth, height_[size_t(k)]);
    const TStubLook look = err_.stubs[size_t(k)];
    if (motion_.MouseActive() && motion_.DragMotor() == k + 1)
      p.setBrush(Qt::NoBrush);
    else if (look == TStubLook::Hatched)
      p.setBrush(QBrush(line, Qt::DiagCrossPattern));
    else
      p.setBrush(StubColour(look));
    p.drawRect(r);
  }

  // Plane markers below the guide: the input plane on stub 1's centre line with its reflection
  // symbol, the load reference plane, and the extended plane with the load's symbol.
  const int y0 = lay_.markerY, y1 = lay_.markerY + lay_.markerH;
  QPen dash(QColor(0, 0, 0xC0), 2, Qt::DashLine);
  auto marker = [&](int x) {
    p.setPen(dash);
    p.drawLine(x, y0, x, y1);
  };
  auto symbol = [&](int x, const QString& sub) {
    p.setPen(QPen(QColor(0, 0, 0xC0), 1));
    p.drawText(QRect(x, y0, lay_.symbolW, lay_.markerH), Qt::AlignCenter,
               QStringLiteral("\u0393") + sub);
  };
  marker(lay_.pla1X);
  symbol(lay_.pla1X - lay_.symbolW, QStringLiteral("i"));
  marker(lay_.load_x0);
  symbol(marker_.symbolX, QStringLiteral("L"));
  if (marker_.visible) marker(marker_.markerX);
}

}  // namespace qz
