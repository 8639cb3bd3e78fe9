#include "comm/ui/dlgcomport.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "comm/portlist.h"
#include "util/ui/animation.h"
#include "util/ui/panels.h"

namespace qz {

namespace {

// The search animation: a magnifier searching over a computer.
constexpr int kSearchAnimation = 3;
// Distance of the message from the top of its group; a red message (two lines) sits higher.
constexpr int kMsgTop = 7;
constexpr int kMsgTopRed = 0;

QPushButton* Button(const QString& caption, const char* hint, const QString& name) {
  auto* b = new QPushButton(caption);
  b->setObjectName(name);
  b->setAutoDefault(false);
  if (hint) SetHint(b, QString::fromLatin1(hint));
  return b;
}

QComboBox* EditableBox(const QString& name) {
  auto* cb = new QComboBox;
  cb->setObjectName(name);
  cb->setEditable(true);
  // Typed texts are values, not new entries of the drop-down.
  cb->setInsertPolicy(QComboBox::NoInsert);
  return cb;
}

}  // namespace

TDlgComPort::TDlgComPort(T232& port, const PortLists& lists, QWidget* parent,
                         TDlgComPortModel::WaitFn wait)
    : QDialog(parent), m_(port, lists, [this](int ms) { Wait(ms); }), testWait_(std::move(wait)) {
  setObjectName(QStringLiteral("DlgComPort"));
  setWindowTitle(QString::fromLatin1(kComPortCaption));
  setModal(true);

  // " &Port " with the port list.
  auto* gbPort = new QGroupBox(QStringLiteral(" &Port "));
  gbPort->setObjectName(QStringLiteral("gbPort"));
  lbCommPorts_ = new QListWidget;
  lbCommPorts_->setObjectName(QStringLiteral("lbCommPorts"));
  lbCommPorts_->addItems(m_.Form().rows);
  lbCommPorts_->setMinimumWidth(lbCommPorts_->fontMetrics().averageCharWidth() * 34);
  auto* pl = new QVBoxLayout(gbPort);
  pl->addWidget(lbCommPorts_);

  // "P&arity": shown, never changed here (the line's parity comes from its settings). Disabled,
  // so that its mnemonic leaves Alt+A to "&AutoFind".
  rgParity_ = new QGroupBox(QStringLiteral("P&arity"));
  rgParity_->setObjectName(QStringLiteral("rgParity"));
  parityButtons_ = new QButtonGroup(this);
  auto* parl = new QVBoxLayout(rgParity_);
  for (int i = 0; i < 5; ++i) {
    auto* rb = new QRadioButton(QString::fromLatin1(kComParityItems[i]));
    rb->setObjectName(QStringLiteral("rbParity%1").arg(i));
    parityButtons_->addButton(rb, i);
    parl->addWidget(rb);
  }
  rgParity_->setEnabled(false);

  // "Baud Rate:" and "Timeout".
  cbBaudRate_ = EditableBox(QStringLiteral("cbBaudRate"));
  cbBaudRate_->addItems(m_.Form().baudItems);
  SetHint(cbBaudRate_, QString::fromLatin1(kComHintBaud));
  auto* lbBaud = new QLabel(QStringLiteral("Baud Rate:"));
  lbBaud->setBuddy(cbBaudRate_);
  cbTmout_ = EditableBox(QStringLiteral("cbTmout"));
  for (const char* t : kComTimeoutItems) cbTmout_->addItem(QString::fromLatin1(t));
  SizeForChars(cbTmout_, 5);
  auto* lbTmout = new QLabel(QStringLiteral("Timeout"));
  lbTmout->setBuddy(cbTmout_);

  bDefaults_ = Button(QStringLiteral("&Defaults"), kComHintDefaults, QStringLiteral("bDefaults"));
  bConnect_ = Button(QStringLiteral("&Connect"), kComHintConnect, QStringLiteral("bConnect"));
  bAutoFind_ = Button(QStringLiteral("&AutoFind"), kComHintAutoFind, QStringLiteral("bAutoFind"));
  bStop_ = Button(QStringLiteral("&Stop"), kComHintStop, QStringLiteral("bStop"));

  auto* settings = new QGridLayout;
  settings->addWidget(lbBaud, 0, 0);
  settings->addWidget(cbBaudRate_, 0, 1, 1, 2);
  settings->addWidget(lbTmout, 1, 0);
  settings->addWidget(cbTmout_, 1, 1);
  settings->addWidget(new QLabel(QStringLiteral("s")), 1, 2);
  auto* tests = new QGridLayout;
  tests->addWidget(bDefaults_, 0, 0);
  tests->addWidget(bConnect_, 0, 1);
  tests->addWidget(bAutoFind_, 1, 0);
  tests->addWidget(bStop_, 1, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(rgParity_);
  right->addLayout(settings);
  right->addLayout(tests);
  right->addStretch();

  // "Message" with the bold message and the search animation.
  auto* gbMsg = new QGroupBox(QStringLiteral("Message"));
  gbMsg->setObjectName(QStringLiteral("gbMessage"));
  lbMsg_ = new QLabel;
  lbMsg_->setObjectName(QStringLiteral("lbMsg"));
  QFont bold = lbMsg_->font();
  bold.setBold(true);
  lbMsg_->setFont(bold);
  lbMsg_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Room for two lines whatever the message, so the dialog never changes size.
  lbMsg_->setMinimumHeight(lbMsg_->fontMetrics().lineSpacing() * 2 + kMsgTop);
  lbMsg_->setMinimumWidth(lbMsg_->fontMetrics().horizontalAdvance(
      QStringLiteral("COMMUNICATION FAIL: Configuration file not found")));
  anim_ = new TAnimation;
  anim_->setObjectName(QStringLiteral("aniSearch"));
  anim_->SetAnimation(kSearchAnimation, 0);
  anim_->setFixedSize(anim_->sizeHint());
  // Its place is kept while it is hidden, so nothing moves when a search starts.
  QSizePolicy animPolicy = anim_->sizePolicy();
  animPolicy.setRetainSizeWhenHidden(true);
  anim_->setSizePolicy(animPolicy);
  anim_->hide();
  msgLayout_ = new QVBoxLayout;
  msgLayout_->setContentsMargins(0, kMsgTop, 0, 0);
  msgLayout_->addWidget(lbMsg_);
  msgLayout_->addStretch();
  auto* ml = new QHBoxLayout(gbMsg);
  ml->addLayout(msgLayout_, 1);
  ml->addWidget(anim_);

  bContinue_ = Button(QStringLiteral("C&ontinue"), kComHintContinue, QStringLiteral("bContinue"));
  bContinue_->setAutoDefault(true);
  bContinue_->setDefault(true);
  bCancel_ = Button(QStringLiteral("Cancel"), kComHintCancel, QStringLiteral("bCancel"));
  bExit_ = Button(QStringLiteral("&Exit"), kComHintExit, QStringLiteral("bExit"));
  bHelp_ = Button(QStringLiteral("&Help"), nullptr, QStringLiteral("bHelp"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(bContinue_);
  buttons->addWidget(bCancel_);
  buttons->addWidget(bExit_);
  buttons->addStretch();
  buttons->addWidget(bHelp_);

  auto* upper = new QHBoxLayout;
  upper->addWidget(gbPort, 1);
  upper->addLayout(right);
  auto* top = new QVBoxLayout(this);
  top->addLayout(upper);
  top->addWidget(gbMsg);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);

  // Only the operator's actions are events: filling the controls from the model is none.
  connect(lbCommPorts_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!mirroring_ && row >= 0) Apply(m_.PortClicked(row));
  });
  connect(lbCommPorts_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (!mirroring_) Apply(m_.PortClicked(lbCommPorts_->row(item)));
  });
  connect(cbBaudRate_->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& t) { Apply(m_.BaudTextChanged(t)); });
  connect(cbBaudRate_, &QComboBox::activated, this,
          [this](int) { Apply(m_.BaudTextChanged(cbBaudRate_->currentText())); });
  connect(cbTmout_->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& t) { Apply(m_.TimeoutTextChanged(t)); });
  connect(cbTmout_, &QComboBox::activated, this,
          [this](int) { Apply(m_.TimeoutTextChanged(cbTmout_->currentText())); });
  connect(bDefaults_, &QPushButton::clicked, this, [this] { Apply(m_.Defaults()); });
  connect(bConnect_, &QPushButton::clicked, this, [this] { Apply(m_.Connect()); });
  connect(bAutoFind_, &QPushButton::clicked, this, [this] { Apply(m_.AutoFind()); });
  connect(bStop_, &QPushButton::clicked, this, [this] { Apply(m_.Stop()); });
  connect(bContinue_, &QPushButton::clicked, this, [this] { Apply(m_.Continue()); });
  connect(bCancel_, &QPushButton::clicked, this, [this] { Apply(m_.Cancel()); });
  connect(bExit_, &QPushButton::clicked, this, [this] { Apply(m_.Exit()); });
  connect(bHelp_, &QPushButton::clicked, this, [this] {
    if (OnHelp) OnHelp(QString::fromLatin1(kComPortHelpKeyword));
  });
  // The search shows each attempt as it comes.
  m_.OnChange = [this] {
    Mirror(m_.Form());
    lbMsg_->repaint();
  };

  Mirror(m_.Form());
}

TDlgComPort::~TDlgComPort() { m_.OnChange = nullptr; }

void TDlgComPort::SetContinueCaption(const QString& caption) { bContinue_->setText(caption); }

void TDlgComPort::DisableExit() {
  m_.DisableExit();
  Mirror(m_.Form());
}

int TDlgComPort::MessageTop() const { return msgLayout_->contentsMargins().top(); }

void TDlgComPort::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) Apply(m_.Show());
}

void TDlgComPort::reject() { Apply(m_.Close()); }

void TDlgComPort::Apply(const TComPortStep& step) {
  Mirror(step.form);
  // A stop (asked for directly or by leaving during the search) ends the attempt's wait at once.
  if (m_.Searching() && m_.DoStop && waitLoop_) waitLoop_->quit();
  if (step.closes) done(int(step.modal));
}

void TDlgComPort::Mirror(const TComPortForm& f) {
  mirroring_ = true;
  if (lbCommPorts_->currentRow() != f.row) {
    if (f.row < 0)
      lbCommPorts_->setCurrentRow(-1, QItemSelectionModel::Clear);
    else
      lbCommPorts_->setCurrentRow(f.row);
  }
  if (cbBaudRate_->currentText() != f.baudText) cbBaudRate_->setEditText(f.baudText);
  if (cbTmout_->currentText() != f.timeoutText) cbTmout_->setEditText(f.timeoutText);
  if (QAbstractButton* rb = parityButtons_->button(f.parity)) rb->setChecked(true);
  SetText(lbMsg_, f.msg);
  SetTextColor(lbMsg_, f.msgColor);
  const int msgTop = f.msgColor == clRed ? kMsgTopRed : kMsgTop;
  // A red message moves up inside the message area; the area keeps its height.
  if (msgLayout_->contentsMargins().top() != msgTop)
    msgLayout_->setContentsMargins(0, msgTop, 0, kMsgTop - msgTop);
  bStop_->setEnabled(f.stopEnabled);
  bExit_->setEnabled(f.exitEnabled);
  for (QWidget* w : std::initializer_list<QWidget*>{lbCommPorts_, cbBaudRate_, cbTmout_, bDefaults_,
                                                    bConnect_, bAutoFind_})
    w->setEnabled(!f.searching);
  if (f.animating && !anim_->Active()) {
    anim_->SetAnimation(kSearchAnimation, 0);
    anim_->show();
    anim_->Start();
  } else if (!f.animating && (anim_->Active() || anim_->isVisible())) {
    anim_->Stop();
    anim_->hide();
  }
  mirroring_ = false;
}

void TDlgComPort::Wait(int ms) {
  if (testWait_) {
    testWait_(ms);
    return;
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (ms <= 0 || m_.DoStop) return;
  // The operator's input is handled while the attempt waits; a stop ends the wait early.
  QEventLoop loop;
  waitLoop_ = &loop;
  QTimer::singleShot(ms, &loop, [this, &loop] {
    ++waitsRunOut_;
    loop.quit();
  });
  loop.exec();
  waitLoop_ = nullptr;
}

}  // namespace qz
