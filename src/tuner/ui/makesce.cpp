#include "tuner/ui/makesce.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "core/bilintransf.h"
#include "core/texttokens.h"
#include "sim/tunermodel.h"
#include "tuner/makescestp.h"
#include "tuner/rholist.h"
#include "tuner/scegen.h"
#include "util/asker.h"
#include "util/fileops.h"
#include "util/folders.h"
#include "util/format.h"
#include "util/inifile.h"
#include "util/numutil.h"
#include "util/readfile.h"
#include "util/ui/dialogparent.h"
#include "util/ui/screen.h"
#include "util/ui/windowplace.h"
#include "util/winpos.h"

namespace qz {

class TMakeSceForm::TUi {
 public:
  QLineEdit* ed[7] = {};
  QRadioButton* rbRect = nullptr;
  QRadioButton* rbCirc = nullptr;
  QCheckBox *cbSegment = nullptr, *cbClockwise = nullptr, *cbShuttle = nullptr,
            *cbAddMatch = nullptr, *cbSkipMatches = nullptr;
  QLabel* fileLabel = nullptr;
  QPlainTextEdit* memoIn = nullptr;
  QPlainTextEdit* memoOut = nullptr;

  TSceGenEntries Entries() const {
    return {ed[0]->text(), ed[1]->text(), ed[2]->text(), ed[3]->text(),
            ed[4]->text(), ed[5]->text(), ed[6]->text()};
  }
  void SetEntries(const TSceGenEntries& e) {
    const QString t[7] = {e.Rstart, e.Rstop, e.Rstep, e.StartAngle, e.StopAngle, e.Rot, e.Dwell};
    for (int i = 0; i < 7; ++i) ed[i]->setText(t[i]);
  }
  TSceGenOptions Options() const {
    TSceGenOptions o;
    o.Trajectory = rbCirc->isChecked() ? kTrajCirc : kTrajRect;
    o.Segment = cbSegment->isChecked();
    o.Clockwise = cbClockwise->isChecked();
    o.Shuttle = cbShuttle->isChecked();
    o.AddMatch = cbAddMatch->isChecked();
    o.SkipMatches = cbSkipMatches->isChecked();
    return o;
  }
};

namespace {

const char* const* const kEdKeys = kMakeSceEdKeys;

// The memo's text as lines (the last line end does not start another line).
QStringList MemoLines(const QPlainTextEdit* m) {
  QStringList l = m->toPlainText().split(QChar('\n'));
  if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
  return l;
}

}  // namespace

TMakeSceForm::TMakeSceForm(TTunerModel& model, const TBilinTransf& transf,
                           std::function<double()> freqHz, QWidget* parent, TAsker* asker)
    : QWidget(parent, Qt::Window),
      model_(model),
      transf_(transf),
      freqHz_(std::move(freqHz)),
      asker_(asker),
      ui_(new TUi) {
  setObjectName(QStringLiteral("MakeSceForm"));
  auto* box = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  box->addLayout(grid);
  const struct {
    const char* label;
    const char* hint;
  } kEd[7] = {{"Start (mU):", "Starting magnitude"},
              {"Stop (mU):", "Stopping magnitude"},
              {"Step (mU):", "Magnitude step - must be 10 to 1000"},
              {"Start Angle (dg):", "Segment starting angle"},
              {"Stop Angle (dg):", "Segment stopping angle"},
              {"Rot (dg):", "Overall pattern rotation"},
              {"Dwell (ms):", "Wait period after stubs settings before next action"}};
  for (int i = 0; i < 7; ++i) {
    ui_->ed[i] = new QLineEdit(this);
    ui_->ed[i]->setObjectName(QString::fromLatin1(kEdKeys[i]));
    ui_->ed[i]->setToolTip(QString::fromUtf8(kEd[i].hint));
    ui_->ed[i]->setMaximumWidth(90);
    grid->addWidget(new QLabel(QString::fromUtf8(kEd[i].label), this), i % 4, (i / 4) * 2);
    grid->addWidget(ui_->ed[i], i % 4, (i / 4) * 2 + 1);
  }
  ui_->SetEntries(TSceGenEntries{});

  auto* traj = new QButtonGroup(this);
  ui_->rbRect = new QRadioButton(QStringLiteral("Rect"), this);
  ui_->rbCirc = new QRadioButton(QStringLiteral("Circ"), this);
  ui_->rbRect->setObjectName(QStringLiteral("rbRect"));
  ui_->rbCirc->setObjectName(QStringLiteral("rbCirc"));
  ui_->rbRect->setToolTip(QStringLiteral("Path for reflection coefficient stepping"));
  ui_->rbCirc->setToolTip(ui_->rbRect->toolTip());
  traj->addButton(ui_->rbRect, kTrajRect);
  traj->addButton(ui_->rbCirc, kTrajCirc);
  ui_->rbRect->setChecked(true);
  grid->addWidget(new QLabel(QStringLiteral("Trajectory"), this), 0, 4);
  grid->addWidget(ui_->rbRect, 1, 4);
  grid->addWidget(ui_->rbCirc, 2, 4);
  auto check = [&](const char* name, const char* text, const char* hint, bool on, int row) {
    auto* c = new QCheckBox(QString::fromUtf8(text), this);
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(QString::fromUtf8(hint));
    c->setChecked(on);
    grid->addWidget(c, row, 5);
    return c;
  };
  ui_->cbSegment =
      check("cbSegment", "Segment", "Create Start Angle-to-Stop Angle segment", false, 0);
  ui_->cbClockwise = check("cbClockwise", "Clockwise",
                           "Segment from Start Angle clockwise to Stop Angle", false, 1);
  ui_->cbShuttle =
      check("cbShuttle", "Shuttle", "Reverse angular direction at each circle/arc end", false, 2);
  ui_->cbAddMatch = check("cbAddMatch", "Add Match", "Append match at end of list", true, 3);
  ui_->cbSkipMatches = check("cbSkipMatches", "Skip Matches",
                             "In Make Sce, ignore all matches in List except one at end", true, 4);
  for (QAbstractButton* b :
       {static_cast<QAbstractButton*>(ui_->cbSegment), static_cast<QAbstractButton*>(ui_->rbRect),
        static_cast<QAbstractButton*>(ui_->rbCirc)})
    connect(b, &QAbstractButton::toggled, this, [this] { ApplyOptionStates(); });

  // Eleven buttons in two rows (the list's and scenario's work, then the memo commands), so the
  // window stays as narrow as its setup allows.
  auto* buttons = new QGridLayout;
  box->addLayout(buttons);
  int nButton = 0;
  auto button = [&](const char* text, const char* hint, std::function<void()> f) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(QString::fromUtf8(text).remove(QChar('&')).remove(QChar(' ')));
    if (*hint) b->setToolTip(QString::fromUtf8(hint));
    connect(b, &QPushButton::clicked, this, std::move(f));
    buttons->addWidget(b, nButton / 6, nButton % 6);
    ++nButton;
  };
  button("Create List", "Create list of reflection coefficients in input  memo",
         [this] { CreateList(); });
  button("Make Sce", "", [this] { MakeSce(false); });
  button("Add Sce", "", [this] { MakeSce(true); });
  button("Load List", "Load file of reflection coefficients from a text file",
         [this] { LoadList(); });
  button("Save List", "Save input memo to a text file", [this] { SaveMemo(true); });
  button("Save Sce", "Save output memo to a text file", [this] { SaveMemo(false); });
  button("Clr List", "", [this] { ui_->memoIn->clear(); });
  button("Clr Sce", "", [this] { ui_->memoOut->clear(); });
  button("List to Clipb", "", [this] { ToClipboard(InputText()); });
  button("Sce to Clipb", "", [this] { ToClipboard(OutputText()); });
  button("&Help", "", [this] {
    if (OnHelp) OnHelp(kMakeSceHelpTopic);
  });

  auto* fileRow = new QHBoxLayout;
  box->addLayout(fileRow);
  fileRow->addWidget(new QLabel(QStringLiteral("Input File:"), this));
  ui_->fileLabel = new QLabel(QStringLiteral("No file"), this);
  ui_->fileLabel->setObjectName(QStringLiteral("fileLabel"));
  fileRow->addWidget(ui_->fileLabel, 1);

  auto* split = new QSplitter(Qt::Horizontal, this);
  ui_->memoIn = new QPlainTextEdit(split);
  ui_->memoOut = new QPlainTextEdit(split);
  ui_->memoIn->setObjectName(QStringLiteral("memoIn"));
  ui_->memoOut->setObjectName(QStringLiteral("memoOut"));
  for (QPlainTextEdit* m : {ui_->memoIn, ui_->memoOut}) m->setLineWrapMode(QPlainTextEdit::NoWrap);
  box->addWidget(split, 1);
  ApplyOptionStates();
  FrmCaption();
  resize(820, 480);
}

TMakeSceForm::~TMakeSceForm() {
  // A generation still running must end before the window's members go.
  cancel_ = true;
  if (thread_) {
    thread_->wait();
    delete thread_;
  }
  delete ui_;
}

TAsker& TMakeSceForm::Ask() const { return asker_ ? *asker_ : Asker(); }

void TMakeSceForm::FrmCaption() {
  setWindowTitle(transf_.GetActive() ? QStringLiteral("Create Scenario (Transformed)")
                                     : QStringLiteral("Create Scenario (Not Transformed)"));
}

void TMakeSceForm::showEvent(QShowEvent* e) {
  FrmCaption();
  QWidget::showEvent(e);
}

void TMakeSceForm::ApplyOptionStates() {
  const bool seg = ui_->cbSegment->isChecked();
  for (int i = 3; i <= 4; ++i) ui_->ed[i]->setEnabled(seg);
  const bool rect = ui_->rbRect->isChecked();
  ui_->cbClockwise->setEnabled(!rect || seg);
  ui_->cbShuttle->setEnabled(!rect);
}

QString TMakeSceForm::InputText() const { return ui_->memoIn->toPlainText(); }
QString TMakeSceForm::OutputText() const { return ui_->memoOut->toPlainText(); }
void TMakeSceForm::SetInputText(const QString& t) { ui_->memoIn->setPlainText(t); }

void TMakeSceForm::ToClipboard(const QString& text) {
  if (QClipboard* c = QGuiApplication::clipboard()) c->setText(text);
}

void TMakeSceForm::CreateList() {
  ui_->fileLabel->setText(QStringLiteral("No file"));
  const TSceGenRead r = ReadSceGenEntries(ui_->Entries());
  ui_->SetEntries(r.texts);
  if (!r.errors.isEmpty()) Ask().ShowError(r.ErrorBoxText());
  const double f = freqHz_ ? freqHz_() : model_.Freq().F_Hz;
  const QString text = CreateListLines(CreateListPoints(r.v, ui_->Options()), f).join(QChar('\n'));
  ui_->memoIn->setPlainText(text);
  ToClipboard(text);
}

void TMakeSceForm::MakeSce(bool append) {
  if (busy_) return;
  const QStringList lines = MemoLines(ui_->memoIn);
  const TRhoListRead read = ReadRhoList(lines, Ask());
  if (read.sets.empty()) return;

  TSceSetJob job;
  job.copy = {model_.Descr(), model_.Mot(), model_.Sim(), transf_};
  job.append = append;
  job.skipMatches = ui_->cbSkipMatches->isChecked();
  job.dwellMs = SceMakeDwellMs(ui_->ed[6]->text());
  if (ui_->fileLabel->text() == QStringLiteral("No file"))
    job.generated = GeneratedSetInfo(ui_->Entries(), ui_->Options());
  job.workers = workers > 0 ? workers : std::max(1, QThread::idealThreadCount());

  busy_ = true;
  cancel_ = false;
  auto done = std::make_shared<std::atomic<int>>(0);
  auto total = std::make_shared<std::atomic<int>>(0);
  auto result = std::make_shared<QStringList>();
  const QStringList output = MemoLines(ui_->memoOut);
  auto hook = workerHook;
  QThread* th = QThread::create([job, read, output, done, total, result, hook, this] {
    *result = SceOutputOfSets(output, read.sets, job, &cancel_, [&](int d, int t) {
      if (hook) hook(d);
      done->store(d);
      total->store(t);
    });
  });
  auto* dlg = new QProgressDialog(QStringLiteral("Computing scenario rows..."),
                                  QStringLiteral("Cancel"), 0, 0, this);
  dlg->setObjectName(QStringLiteral("makeSceProgress"));
  // A wait of this window: titled as it, above whatever it stays above, no border buttons.
  dlg->setWindowTitle(windowTitle());
  dlg->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  KeepAboveTools(dlg);
  FitTitleWidth(*dlg);
  dlg->setWindowModality(Qt::WindowModal);
  dlg->setMinimumDuration(300);
  dlg->setAutoClose(false);
  dlg->setAutoReset(false);
  connect(dlg, &QProgressDialog::canceled, this, [this] { cancel_ = true; });
  auto* timer = new QTimer(dlg);
  connect(timer, &QTimer::timeout, dlg, [dlg, done, total] {
    const int t = total->load();
    if (t > 0 && dlg->maximum() != t) dlg->setMaximum(t);
    dlg->setValue(done->load());
    dlg->setLabelText(Format(QStringLiteral("Rows %d of %d"), {done->load(), t}));
  });
  timer->start(100);
  connect(th, &QThread::finished, this, [this, th, dlg, result, append] {
    th->deleteLater();
    thread_ = nullptr;
    dlg->deleteLater();
    busy_ = false;
    if (!cancel_) {
      ui_->memoOut->setPlainText(result->join(QChar('\n')));
      if (!append && result->size() > 2051)
        Ask().MessageBox(QStringLiteral("The scenario window loads at most 2048 rows per page."),
                         TMsgType::Information, mbOK);
    }
    emit GenerationFinished();
  });
  thread_ = th;
  th->start();
}

void TMakeSceForm::SaveMemo(bool list) {
  QPlainTextEdit* m = list ? ui_->memoIn : ui_->memoOut;
  if (m->toPlainText().isEmpty()) {
    Ask().ShowError(QStringLiteral("No data to save - procedure aborted"));
    return;
  }
  const QString start = list ? rhoListFile_ : scePath_;
  const FileNameParts p = SplitFileName(start);
  const QString initial = (p.folder.isEmpty() ? UserFolder() : p.folder) + p.name + p.ext;
  const QString path =
      list ? Ask().SaveFileName(
                 QString(), initial,
                 QStringLiteral("Mem Sweep text file (*.txt)|*.txt|Any file (*.*)|*.*"),
                 QStringLiteral("txt"))
           : Ask().SaveFileName(QString(), initial,
                                QStringLiteral("Scenario file (*.sce)|*.sce|Any file (*.*)|*.*"),
                                QStringLiteral("sce"));
  if (path.isEmpty()) return;
  const QString error = SaveGeneratorText(path, MemoLines(m), list);
  if (!error.isEmpty()) {
    Ask().ShowError(error);
    return;
  }
  if (list)
    rhoListFile_ = path;
  else
    SetScePath(path);
}

void TMakeSceForm::LoadList() {
  const QString path =
      Ask().OpenFileName(QStringLiteral("Load Text File"), rhoListFile_,
                         QStringLiteral("Text file (*.txt)|*.txt|Any file (*.*)|*.*"));
  if (path.isEmpty()) {
    ui_->fileLabel->setText(QStringLiteral("No file"));
    return;
  }
  QStringList lines;
  QString reason;
  if (!ReadTextLines(path, TFileKind::List, &lines, &reason)) {
    Ask().ShowError(reason.isEmpty()
                        ? QStringLiteral("File \"") + path + QStringLiteral("\" could not be read.")
                        : reason);
    return;
  }
  ui_->memoIn->setPlainText(lines.join(QChar('\n')));
  ui_->fileLabel->setText(path);
  rhoListFile_ = path;
}

TMakeSceStp TMakeSceForm::Stp() const {
  TMakeSceStp r;
  r.pos = {x(), y(), width(), height()};
  r.circ = ui_->rbCirc->isChecked();
  for (int i = 0; i < kMakeSceEntries; ++i) r.ed[size_t(i)] = ui_->ed[i]->text();
  r.clockwise = ui_->cbClockwise->isChecked();
  r.segment = ui_->cbSegment->isChecked();
  r.addMatch = ui_->cbAddMatch->isChecked();
  r.skipMatches = ui_->cbSkipMatches->isChecked();
  r.shuttle = ui_->cbShuttle->isChecked();
  return r;
}

void TMakeSceForm::WriteStp(IniFile& ini) const {
  Stp().WriteStp(ini, QString::fromLatin1(kMakeSceSection));
}

void TMakeSceForm::ReadStp(const IniFile& ini) {
  TMakeSceStp r = Stp();
  r.ReadStp(ini, QString::fromLatin1(kMakeSceSection));
  // The place through the window kit: the corner at least 50 pixels inside the screen, the
  // client 640 x 250 up to the screen less 100; without a stored place the window opens beside
  // the window that asks for it.
  // (It takes no place in the tool windows' cascade: ShowAbove places it when it opens.)
  const QString sec = QString::fromLatin1(kMakeSceSection);
  const QSize sz = Screen().Size();
  const TWindowPlace p =
      ReadPlace(ini, sec, CurrentPlace(*this), kMakeScePlaceRule, sz.width(), sz.height());
  TPlaceKeys keys = kMakeScePlaceRule.keys;
  if (HasStoredPosition(ini, sec))
    MarkPlaceKept(*this);
  else
    keys &= ~(pkTop | pkLeft);
  ApplyPlace(*this, p, keys);
  (r.circ ? ui_->rbCirc : ui_->rbRect)->setChecked(true);
  for (int i = 0; i < kMakeSceEntries; ++i) ui_->ed[i]->setText(r.ed[size_t(i)]);
  ui_->cbClockwise->setChecked(r.clockwise);
  ui_->cbSegment->setChecked(r.segment);
  ui_->cbAddMatch->setChecked(r.addMatch);
  ui_->cbSkipMatches->setChecked(r.skipMatches);
  ui_->cbShuttle->setChecked(r.shuttle);
  ApplyOptionStates();
}

}  // namespace qz
