#include "results/ui/logform.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "util/asker.h"
#include "util/folders.h"
#include "util/format.h"
#include "util/inifile.h"
#include "util/ui/coalesce.h"
#include "util/ui/panels.h"
#include "util/ui/qcolor.h"
#include "util/ui/windowplace.h"

namespace qz {

namespace {

QSpinBox* UpDown(int max, QWidget* parent) {
  auto* b = new QSpinBox(parent);
  b->setRange(0, max);
  b->setAlignment(Qt::AlignRight);
  return b;
}

}  // namespace

TLogForm::TLogForm(TLogEngine& engine, TAsker* asker, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), engine_(engine), asker_(asker) {
  setWindowTitle(QString::fromLatin1(kLogFormCaption));
  setObjectName(QString::fromLatin1(kLogSection));

  // "Timing"
  gbTiming_ = new QGroupBox(QStringLiteral("Timing"), this);
  auto* gt = new QGridLayout(gbTiming_);
  const char* durNames[4] = {"Days", "Hours", "Minutes", "Seconds"};
  const int durMax[4] = {kLogMaxDays, kLogMaxHours, kLogMaxMinSec, kLogMaxMinSec};
  gt->addWidget(new QLabel(QStringLiteral("Logging Duration"), gbTiming_), 0, 0, 1, 4);
  for (int i = 0; i < 4; ++i) {
    gt->addWidget(new QLabel(QString::fromLatin1(durNames[i]), gbTiming_), 1, i);
    dur_[i] = UpDown(durMax[i], gbTiming_);
    gt->addWidget(dur_[i], 2, i);
  }
  gt->addWidget(new QLabel(QStringLiteral("Sampling Repetition Time"), gbTiming_), 3, 0, 1, 4);
  const char* intNames[3] = {"Hours", "Minutes", "Seconds"};
  const int intMax[3] = {kLogMaxHours, kLogMaxMinSec, kLogMaxMinSec};
  for (int i = 0; i < 3; ++i) {
    gt->addWidget(new QLabel(QString::fromLatin1(intNames[i]), gbTiming_), 4, i + 1);
    interv_[i] = UpDown(intMax[i], gbTiming_);
    gt->addWidget(interv_[i], 5, i + 1);
  }

  // "Log File"
  gbFile_ = new QGroupBox(QStringLiteral("Log File"), this);
  auto* gf = new QGridLayout(gbFile_);
  name_ = new QLineEdit(gbFile_);
  name_->setReadOnly(true);
  path_ = new QLineEdit(gbFile_);
  path_->setReadOnly(true);
  info_ = new QLineEdit(gbFile_);
  info_->setPlaceholderText(QStringLiteral("Enter your comment"));
  gf->addWidget(new QLabel(QStringLiteral("Name"), gbFile_), 0, 0);
  gf->addWidget(name_, 0, 1, 1, 3);
  gf->addWidget(new QLabel(QStringLiteral("Path"), gbFile_), 1, 0);
  gf->addWidget(path_, 1, 1, 1, 3);
  gf->addWidget(new QLabel(QStringLiteral("Info"), gbFile_), 2, 0);
  gf->addWidget(info_, 2, 1, 1, 3);
  auto* sepBox = new QGroupBox(QStringLiteral("Separator"), gbFile_);
  SetHint(sepBox, QStringLiteral("Decimal separator|"));
  auto* sl = new QHBoxLayout(sepBox);
  point_ = new QRadioButton(QStringLiteral("Point"), sepBox);
  comma_ = new QRadioButton(QStringLiteral("Comma"), sepBox);
  point_->setChecked(true);
  sl->addWidget(point_);
  sl->addWidget(comma_);
  gf->addWidget(sepBox, 3, 0, 2, 2);
  sepBox_ = sepBox;
  auto* formatBox = new QGroupBox(QStringLiteral("Format"), gbFile_);
  SetHint(formatBox, QStringLiteral("Layout of the log file|"));
  auto* fl = new QHBoxLayout(formatBox);
  text_ = new QRadioButton(QStringLiteral("Text"), formatBox);
  csv_ = new QRadioButton(QStringLiteral("CSV"), formatBox);
  text_->setChecked(true);
  fl->addWidget(text_);
  fl->addWidget(csv_);
  gf->addWidget(formatBox, 5, 0, 1, 2);
  records_ = new QLineEdit(QStringLiteral("0"), gbFile_);
  SetHint(records_, QStringLiteral("1 to 10 000 000|"));
  samples_ = new QLineEdit(QStringLiteral("1"), gbFile_);
  SetHint(samples_, QStringLiteral("Recorded measurements per one logging event|"));
  gf->addWidget(new QLabel(QStringLiteral("Records"), gbFile_), 3, 2);
  gf->addWidget(records_, 3, 3);
  gf->addWidget(new QLabel(QStringLiteral("Smpl/Event:"), gbFile_), 4, 2);
  gf->addWidget(samples_, 4, 3);
  btPrepare_ = new QPushButton(QStringLiteral("&Prepare..."), gbFile_);
  SetHint(btPrepare_, QStringLiteral("Find and open log file|"));
  gf->addWidget(btPrepare_, 5, 3);
  forecast_ = new QLabel(gbFile_);
  forecast_->setObjectName(QStringLiteral("lbForecast"));
  forecast_->setWordWrap(true);
  forecast_->hide();
  gf->addWidget(forecast_, 6, 0, 1, 4);

  // "Progress"
  gbProgress_ = new QGroupBox(QStringLiteral("Progress"), this);
  auto* gp = new QGridLayout(gbProgress_);
  recorded_ = new QLabel(gbProgress_);
  elapsed_ = new QLabel(gbProgress_);
  status_ = new QLabel(gbProgress_);
  led_ = new TLed(gbProgress_);
  gp->addWidget(new QLabel(QStringLiteral("Recorded"), gbProgress_), 0, 0);
  gp->addWidget(recorded_, 0, 1);
  gp->addWidget(new QLabel(QStringLiteral("Elapsed"), gbProgress_), 1, 0);
  gp->addWidget(elapsed_, 1, 1);
  rate_ = new QLabel(gbProgress_);
  written_ = new QLabel(gbProgress_);
  gp->addWidget(new QLabel(QStringLiteral("Rate"), gbProgress_), 0, 2);
  gp->addWidget(rate_, 0, 3);
  gp->addWidget(new QLabel(QStringLiteral("Written"), gbProgress_), 1, 2);
  gp->addWidget(written_, 1, 3);
  gp->addWidget(led_, 2, 0);
  gp->addWidget(status_, 2, 1, 1, 3);

  btHelp_ = new QPushButton(QStringLiteral("&Help"), this);
  btStop_ = new QPushButton(QStringLiteral("Stop"), this);
  SetHint(btStop_, QStringLiteral("Stop logging|"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btHelp_);
  buttons->addStretch();
  buttons->addWidget(btStop_);

  auto* top = new QVBoxLayout(this);
  top->addWidget(gbTiming_);
  top->addWidget(gbFile_);
  top->addWidget(gbProgress_);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);

  for (QSpinBox* b : dur_) connect(b, &QSpinBox::valueChanged, this, [this] { EntriesToEngine(); });
  for (QSpinBox* b : interv_)
    connect(b, &QSpinBox::valueChanged, this, [this] { EntriesToEngine(); });
  for (QLineEdit* e : {info_, records_, samples_})
    connect(e, &QLineEdit::textChanged, this, [this] { EntriesToEngine(); });
  connect(comma_, &QRadioButton::toggled, this, [this] { EntriesToEngine(); });
  connect(csv_, &QRadioButton::toggled, this, [this] {
    // A CSV log always has the point.
    sepBox_->setEnabled(!csv_->isChecked());
    EntriesToEngine();
  });
  connect(btPrepare_, &QPushButton::clicked, this, &TLogForm::PrepareClick);
  connect(btStop_, &QPushButton::clicked, this, &TLogForm::StopClick);
  connect(btHelp_, &QPushButton::clicked, this, [this] {
    if (OnHelp) OnHelp();
  });

  refresh_ = new TCoalescedRefresh(this, [this] { Refresh(); });
  engine_.OnChange = [this] {
    if (isVisible())
      refresh_->Request();
    else
      Refresh();
  };
  // Messages raised inside a measurement pass wait until the pass has handed control back to
  // the event loop.
  engine_.OnMessage = [this] {
    if (messagesPending_) return;
    messagesPending_ = true;
    QTimer::singleShot(0, this, [this] { ShowQueuedMessages(); });
  };
  EntriesToControls();
  Refresh();
}

TLogForm::~TLogForm() {
  engine_.OnChange = nullptr;
  engine_.OnMessage = nullptr;
}

TAsker& TLogForm::Ask() const { return asker_ ? *asker_ : Asker(); }

void TLogForm::EntriesToEngine() {
  if (filling_) return;
  TLogEntries e = engine_.Entries();
  e.durD = dur_[0]->value();
  e.durH = dur_[1]->value();
  e.durM = dur_[2]->value();
  e.durS = dur_[3]->value();
  e.intH = interv_[0]->value();
  e.intM = interv_[1]->value();
  e.intS = interv_[2]->value();
  e.records = records_->text();
  e.samples = samples_->text();
  e.comma = comma_->isChecked();
  e.csv = csv_->isChecked();
  e.info = info_->text();
  engine_.SetEntries(e);
  // The limits and the form decide the forecast.
  forecastDirty_ = true;
  Refresh();
}

void TLogForm::EntriesToControls() {
  filling_ = true;
  const TLogEntries& e = engine_.Entries();
  dur_[0]->setValue(e.durD);
  dur_[1]->setValue(e.durH);
  dur_[2]->setValue(e.durM);
  dur_[3]->setValue(e.durS);
  interv_[0]->setValue(e.intH);
  interv_[1]->setValue(e.intM);
  interv_[2]->setValue(e.intS);
  records_->setText(e.records);
  samples_->setText(e.samples);
  (e.comma ? comma_ : point_)->setChecked(true);
  (e.csv ? csv_ : text_)->setChecked(true);
  sepBox_->setEnabled(!e.csv);
  info_->setText(e.info);
  filling_ = false;
}

void TLogForm::Refresh() {
  const TLogStatus s = engine_.GetStatus();
  SetLamp(led_, status_, LogStatusLedColor(s), LogStatusText(s));
  const QString title = QStringLiteral("Log File") + LogStatusCaptionSuffix(s);
  if (gbFile_->title() != title) gbFile_->setTitle(title);
  SetText(recorded_, Format(QStringLiteral("%d"), {engine_.RecordNumber()}));
  SetText(elapsed_, engine_.ElapsedText());
  const QFileInfo fi(engine_.LogFileName());
  name_->setText(engine_.LogFileName().isEmpty() ? QString() : fi.fileName());
  path_->setText(engine_.LogFileName().isEmpty() ? QString() : fi.absolutePath());
  const bool open = s == lsReady || s == lsLogging;
  SetText(rate_, s == lsLogging ? LogRateText(engine_.LineRate()) + QStringLiteral(" records/s")
                                : QString());
  SetText(written_,
          open || s >= lsAborted ? LogSizeText(double(engine_.WrittenBytes())) : QString());
  if (!open) {
    forecast_->hide();
    forecastDirty_ = true;
  } else if (forecastDirty_ || engine_.LastRunRate() != forecastRate_) {
    UpdateForecast();
  }
}

void TLogForm::UpdateForecast() {
  forecastDirty_ = false;
  forecastRate_ = engine_.LastRunRate();
  TLogForecastIn in;
  in.freeBytes = FreeBytes ? FreeBytes(engine_.LogFileName()) : std::nullopt;
  const THresults* latest = LatestResult ? LatestResult() : nullptr;
  in.lineBytes = engine_.DataRecordBytes(latest ? *latest : THresults{});
  in.runRate = forecastRate_;
  in.applied = ApplyLogSettings(engine_.Entries());
  const TLogForecast f = LogFileForecast(in);
  forecastWarn_ = f.warn;
  forecast_->setText(f.text);
  forecast_->setStyleSheet(f.warn ? QStringLiteral("color: red;") : QString());
  forecast_->show();
}

void TLogForm::ReadStp(const IniFile& ini) {
  engine_.ReadStp(ini);
  EntriesToControls();
  Refresh();
  ReadWindowPlace(ini, QString::fromLatin1(kLogSection), *this, kToolPlaceRule);
}

void TLogForm::WriteStp(IniFile& ini) const {
  WriteWindowPlace(ini, QString::fromLatin1(kLogSection), *this, kToolPlaceRule);
  engine_.WriteStp(ini);
}

void TLogForm::EnableForRun(bool enabled) {
  gbTiming_->setEnabled(enabled);
  gbFile_->setEnabled(enabled);
}

void TLogForm::PrepareClick() {
  EntriesToEngine();
  engine_.EndForPrepare();
  const QString cur = engine_.LogFileName();
  const QString start = InFolder(QFileInfo(cur).fileName(), FolderOrDefault(cur, UserFolder()));
  const QString chosen = Ask().SaveFileName(
      QString::fromLatin1(kLogPrepareTitle), start,
      QString::fromLatin1(engine_.Entries().csv ? kLogCsvFilter : kLogFileFilter),
      engine_.Entries().csv ? QStringLiteral("csv") : QStringLiteral("txt"), true);
  if (chosen.isEmpty())
    engine_.PrepareCancelled();
  else
    engine_.Prepare(chosen);
  ShowQueuedMessages();
}

void TLogForm::StopClick() {
  engine_.Stop();
  ShowQueuedMessages();
}

bool TLogForm::RefreshPending() const { return refresh_->Pending(); }

void TLogForm::FlushRefresh() { refresh_->Flush(); }

void TLogForm::ShowQueuedMessages() {
  // The state the messages speak of is on the screen first.
  refresh_->Flush();
  messagesPending_ = false;
  for (const QString& m : engine_.TakeMessages()) Ask().MessageBox(m, TMsgType::Error, mbOK);
}

QString TLogForm::StatusText() const { return status_->text(); }
QString TLogForm::LogFileGroupTitle() const { return gbFile_->title(); }
QString TLogForm::RecordedText() const { return recorded_->text(); }
QString TLogForm::ElapsedText() const { return elapsed_->text(); }
QString TLogForm::NameText() const { return name_->text(); }
QString TLogForm::PathText() const { return path_->text(); }
QString TLogForm::ForecastText() const {
  return forecast_->isHidden() ? QString() : forecast_->text();
}
bool TLogForm::ForecastWarns() const { return !forecast_->isHidden() && forecastWarn_; }
QString TLogForm::RateText() const { return rate_->text(); }
QString TLogForm::WrittenText() const { return written_->text(); }
QColor TLogForm::LedColor() const { return ToQColor(LogStatusLedColor(engine_.GetStatus())); }

}  // namespace qz
