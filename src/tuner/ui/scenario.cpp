#include "tuner/ui/scenario.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "comm/qzcmd.h"
#include "core/qvwin.h"
#include "sim/tunermodel.h"
#include "tuner/scefile.h"
#include "tuner/ui/scepagemodel.h"
#include "tuner/ui/tpic.h"
#include "util/asker.h"
#include "util/fileops.h"
#include "util/folders.h"
#include "util/format.h"
#include "util/hints.h"
#include "util/inifile.h"
#include "util/numutil.h"
#include "util/pumpevents.h"
#include "util/random.h"
#include "util/readfile.h"
#include "util/ui/windowplace.h"
#include "util/valueinput.h"

namespace qz {

namespace {
constexpr int kRowHeight = 16;
constexpr char kSceFilter[] = "Scenario file (*.sce)|*.sce|Any file (*.*)|*.*";
}  // namespace

// The window's side of a play: the stubs through the tuner picture's move, sliced waits that
// let events in, and the program's callbacks.
class TScenario::TPorts : public TScePlayPorts {
 public:
  explicit TPorts(TScenario& w) : w_(w) {}
  int MaxSteps() const override { return w_.MaxSteps(); }
  double StepMm() const override { return w_.StepMm(); }
  void MoveStubs(const std::array<int, 3>& steps) override { w_.MoveStubs(steps); }
  void Sleep(int ms) override {
    // Events are handled while the slice lasts. A loop that cannot run (the application is
    // being ended) returns at once: the slice then still lasts its time, in small naps.
    QElapsedTimer t;
    t.start();
    ++w_.waitSlices_;
    while (t.elapsed() < ms) {
      QEventLoop loop;
      QTimer::singleShot(int(ms - t.elapsed()), &loop, &QEventLoop::quit);
      if (loop.exec() != 0) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
      }
    }
  }
  void ProcessEvents() override { PumpEvents(); }
  void SetStatus(const QString& text) override {
    w_.pnStatus_->setText(text);
    w_.pnStatus_->repaint();
  }
  void EnableEditing(bool on) override { w_.EnableEditing(on); }
  void RowChanged() override {
    for (TScePageModel* m : w_.models_) {
      emit m->headerDataChanged(Qt::Vertical, 0, m->rowCount() - 1);
      emit m->dataChanged(m->index(0, 0), m->index(m->rowCount() - 1, m->columnCount() - 1));
    }
  }
  void Released() override {
    const QSignalBlocker b(w_.sbPlay_);
    w_.sbPlay_->setChecked(false);
  }
  void CyclicOff() override { w_.SetCyclic(false); }
  bool IsSweeping() const override { return w_.IsSweeping && w_.IsSweeping(); }
  void RunPause() override {
    if (w_.RunPause) w_.RunPause();
  }
  bool StopUnit() override { return w_.cmd_.StopUnit(); }
  int32_t AutotuneOff() override { return w_.cmd_.AutotuneOnOff(0); }
  void ShowCmdResult(const QString& name, int32_t code) override {
    w_.cmd_.ShowCmdResult(name, code);
  }
  void ReleaseAtButton() override {
    if (w_.tpic_) w_.tpic_->SetAtButton(false);
  }
  void AllHome() override {
    if (w_.tpic_) {
      w_.tpic_->AllHomeClick();
    } else {
      (void)w_.cmd_.ResetStubs();
    }
  }
  void ShowResult(const THresults& res) override {
    if (w_.ShowResult) w_.ShowResult(res);
  }
  void RedrawAll() override {
    if (w_.RedrawAll) w_.RedrawAll();
  }
  int32_t NormalSweepCapacity() const override {
    return w_.NormalSweepCapacity ? w_.NormalSweepCapacity() : w_.qv_.PtsPerSwp;
  }

 private:
  TScenario& w_;
};

TScenario::TScenario(TTunerModel& model, TQzCmd& cmd, TQvWin& qv, TTpic* tpic,
                     const IniFile* autoSetup, QWidget* parent, TAsker* asker)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      model_(model),
      cmd_(cmd),
      qv_(qv),
      tpic_(tpic),
      asker_(asker) {
  setObjectName(QStringLiteral("Scenario"));
  ports_ = std::make_unique<TPorts>(*this);
  play_ = std::make_unique<TScePlay>(*ports_, Ask());
  play_->SetMeasurement(&cmd_, &model_.Descr());
  play_->SetProgramInfo(CurrentProgramInfo());
  Build();
  if (autoSetup) ReadStp(*autoSetup);
  SetCaption(QString());
  SizeBeforeShow(*this);
}

TScenario::~TScenario() {
  // The tables go while the pages they show still exist.
  DropTabs();
}

TAsker& TScenario::Ask() const { return asker_ ? *asker_ : Asker(); }
int TScenario::MaxSteps() const { return std::max(1, model_.Derived().MaxSteps); }
double TScenario::StepMm() const { return model_.Derived().StepMm; }

void TScenario::MoveStubs(const std::array<int, 3>& steps) {
  TMotState& mot = model_.Mot();
  for (int i = 0; i < 3; ++i) mot.TargPos[i + 1] = int16_t(steps[size_t(i)]);
  (void)cmd_.MoveStubs();
  if (tpic_) tpic_->ShowMotPositAll();
}

QToolButton* TScenario::Button(const char* name, const QString& text, const char* hint) {
  auto* b = new QToolButton(this);
  b->setObjectName(QString::fromLatin1(name));
  b->setText(text);
  const HintParts h = SplitHint(QString::fromLatin1(hint));
  b->setToolTip(h.tooltip);
  b->setStatusTip(h.statusTip);
  b->setAutoRaise(false);
  return b;
}

void TScenario::Build() {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(2, 2, 2, 2);
  box->setSpacing(2);
  auto* bar = new QHBoxLayout;
  bar->setSpacing(1);
  sbAdd_ = Button("sbAdd", QStringLiteral("Add"), "Insert current stub settings|");
  sbClr_ = Button("sbClr", QStringLiteral("Clr"), "Clear page|");
  sbRnd_ = Button("sbRnd", QStringLiteral("Rnd"), "Fill page with random stub settings|");
  sbDelete_ = Button("sbDelete", QStringLiteral("Del"), "Delete selected row|");
  sbOpen_ = Button("sbOpen", QStringLiteral("Open"), "Load scenario file|");
  sbSave_ = Button("sbSave", QStringLiteral("Save"), "Save scenario file|");
  sbPlay_ = Button("sbPlay", QStringLiteral("Play"), "Play/Stop scenario|");
  sbPlay_->setCheckable(true);
  sbCyclic_ = Button("sbCyclic", QStringLiteral("Cyc"), "Cyclic repetition|");
  sbCyclic_->setCheckable(true);
  sbMeasure_ =
      Button("sbMeasure", QStringLiteral("Meas"), "Take measurement(s) at each scenario position|");
  sbMeasure_->setCheckable(true);
  sbCre_ = Button("sbCre", QStringLiteral("Cre"), "Create scenario from reflection list|");
  sbHelp_ = Button("sbHelp", QStringLiteral("?"), "Help|");
  for (QToolButton* b : {sbAdd_, sbClr_, sbRnd_, sbDelete_, sbOpen_, sbSave_, sbPlay_, sbCyclic_,
                         sbMeasure_, sbCre_, sbHelp_}) {
    bar->addWidget(b);
  }
  bar->addStretch(1);
  box->addLayout(bar);
  connect(sbAdd_, &QToolButton::clicked, this, [this] { AddClick(); });
  connect(sbClr_, &QToolButton::clicked, this, [this] { ClearClick(); });
  connect(sbRnd_, &QToolButton::clicked, this, [this] { RandomClick(); });
  connect(sbDelete_, &QToolButton::clicked, this, [this] { DeleteClick(); });
  connect(sbOpen_, &QToolButton::clicked, this, [this] { LoadClick(); });
  connect(sbSave_, &QToolButton::clicked, this, [this] { SaveClick(); });
  connect(sbPlay_, &QToolButton::toggled, this, [this](bool on) { PlayClick(on); });
  connect(sbMeasure_, &QToolButton::toggled, this, [this](bool on) { SetMeasure(on); });
  connect(sbCre_, &QToolButton::clicked, this, [this] { CreateClick(); });
  connect(sbHelp_, &QToolButton::clicked, this, [this] {
    if (OnHelp) OnHelp(kScenarioHelpTopic);
  });

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabs"));
  box->addWidget(tabs_, 1);
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int i) {
    if (i >= 0 && i < book_.Count()) book_.SetActive(i);
  });

  pnStatus_ = new QLabel(this);
  pnStatus_->setObjectName(QStringLiteral("pnStatus"));
  pnStatus_->setFrameShape(QFrame::StyledPanel);
  pnStatus_->setFrameShadow(QFrame::Sunken);
  // Wide enough for the longest progress text.
  pnStatus_->setMinimumWidth(
      pnStatus_->fontMetrics().horizontalAdvance(QStringLiteral("Progress: 2048 of 2048")) + 8);
  box->addWidget(pnStatus_);

  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("pmScenario"));
  auto item = [this](const QString& text, auto slot) {
    QAction* a = popup_->addAction(text);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  item(QStringLiteral("&New Page"), [this] { NewPageClick(); });
  item(QStringLiteral("C&opy Page"), [this] { CopyPageClick(); });
  item(QStringLiteral("R&ename Page"), [this] { RenamePageClick(); });
  item(QStringLiteral("&Delete Page"), [this] { DeletePageClick(); });
  item(QStringLiteral("Delete All"), [this] { DeleteAllClick(); });
  popup_->addSeparator();
  miDwellTime_ = item(QString(), [this] { DwellTimeClick(); });
  item(QStringLiteral("Dwell All"), [this] { DwellAllClick(); });
  item(QStringLiteral("Clear Page"), [this] { ClearClick(); });
  popup_->addSeparator();
  item(QStringLiteral("Fill &Random!"), [this] { RandomClick(); });
  miCount_ = item(QString(), [this] { CountClick(); });
  miPeriod_ = item(QString(), [this] { PeriodClick(); });
  miSynchro_ = item(QStringLiteral("&Synchro"), [this] { stp_.Synchro = miSynchro_->isChecked(); });
  miSynchro_->setCheckable(true);
  miAddZero_ = item(QStringLiteral("Add &Zero Positions"),
                    [this] { stp_.AddZero = miAddZero_->isChecked(); });
  miAddZero_->setCheckable(true);
  miAddMax_ =
      item(QStringLiteral("Add &Max Positions"), [this] { stp_.AddMax = miAddMax_->isChecked(); });
  miAddMax_->setCheckable(true);
  popup_->addSeparator();
  miMeasure_ = item(QStringLiteral("Measure"), [this] { SetMeasure(miMeasure_->isChecked()); });
  miMeasure_->setCheckable(true);
  miMeasPerPosit_ = item(QString(), [this] { MeasPerPositClick(); });
  popup_->addSeparator();
  miCreate_ = item(QStringLiteral("Create"), [this] { CreateClick(); });
  connect(popup_, &QMenu::aboutToShow, this, [this] { UpdateMenuCaptions(); });
  UpdateMenuCaptions();

  const QFontMetrics fm = fontMetrics();
  const int colW = fm.horizontalAdvance(QStringLiteral("_M1 [stp]_"));
  const int col0 = fm.horizontalAdvance(QStringLiteral("_Act_")) + 10;
  resize(col0 + 4 * colW + 21 + 40, 320);
}

void TScenario::UpdateMenuCaptions() {
  miDwellTime_->setText(QStringLiteral("&Dwell time  (") +
                        Format(QStringLiteral("%d"), {stp_.Tdwell_ms}) + QStringLiteral(" ms)"));
  miCount_->setText(QStringLiteral("C&ount  (") + Format(QStringLiteral("%d"), {stp_.RndCount}) +
                    QLatin1Char(')'));
  miPeriod_->setText(QStringLiteral("Adding &Period  (") +
                     Format(QStringLiteral("%d"), {stp_.AddPeriod}) + QLatin1Char(')'));
  miMeasPerPosit_->setText(Format(QStringLiteral("Meas/Posit (%d)"), {stp_.FMeasPerPosit}));
  miSynchro_->setChecked(stp_.Synchro);
  miAddZero_->setChecked(stp_.AddZero);
  miAddMax_->setChecked(stp_.AddMax);
  miMeasure_->setChecked(stp_.Measure);
  const bool gen = bool(SetScePath);
  miCreate_->setEnabled(gen && editing_);
  sbCre_->setEnabled(gen && editing_);
}

// ---- tabs and tables ----

TScePageModel* TScenario::ModelOf(int i) const {
  return i >= 0 && i < int(models_.size()) ? models_[size_t(i)] : nullptr;
}

QTableView* TScenario::Table(int i) const {
  return i >= 0 && i < tabs_->count() ? qobject_cast<QTableView*>(tabs_->widget(i)) : nullptr;
}

void TScenario::DropTabs() {
  const QSignalBlocker block(tabs_);
  while (tabs_->count() > 0) {
    QWidget* w = tabs_->widget(0);
    tabs_->removeTab(0);
    delete w;
  }
  for (TScePageModel* m : models_) delete m;
  models_.clear();
}

void TScenario::RebuildTabs() {
  DropTabs();
  const QSignalBlocker block(tabs_);
  const QFontMetrics fm = fontMetrics();
  const int colW = fm.horizontalAdvance(QStringLiteral("_M1 [stp]_"));
  const int col0 = fm.horizontalAdvance(QStringLiteral("_Act_")) + 10;
  for (int i = 0; i < book_.Count(); ++i) {
    auto* model = new TScePageModel(book_.Page(i), this);
    model->playedRow_ = [this, i] {
      const TScePage* p = play_->PlayedPage();
      return p == &book_.Page(i) ? p->IteratedRow : 0;
    };
    model->onEdit = [this](int row, int col, const QString& text) {
      return EditCell(row, col, text);
    };
    models_.push_back(model);
    auto* view = new QTableView;
    view->setObjectName(Format(QStringLiteral("ts_%d"), {book_.Page(i).TabNo}));
    view->setModel(model);
    auto* header = new TSceRowHeader(*model, view);
    view->setVerticalHeader(header);
    header->setDefaultSectionSize(kRowHeight);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setFixedWidth(col0);
    view->horizontalHeader()->setDefaultSectionSize(colW);
    view->setColumnWidth(3, colW + 21);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                          QAbstractItemView::SelectedClicked);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& p) { popup_->popup(view->viewport()->mapToGlobal(p)); });
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int section) { RowHeaderClick(section + 1); });
    connect(view, &QTableView::clicked, this,
            [this](const QModelIndex& ix) { CellClick(ix.row() + 1, ix.column() + 1); });
    connect(view, &QTableView::doubleClicked, this, [this] { CellDoubleClick(); });
    tabs_->addTab(view, book_.Page(i).Name);
  }
  tabs_->setCurrentIndex(book_.ActiveIndex());
  EnableEditing(editing_);
}

void TScenario::RefreshActive() {
  if (TScePageModel* m = ModelOf(book_.ActiveIndex())) m->Reset();
  if (book_.ActiveIndex() >= 0) tabs_->setTabText(book_.ActiveIndex(), book_.Active().Name);
}

void TScenario::EnableEditing(bool on) {
  editing_ = on;
  for (int i = 0; i < tabs_->count(); ++i) {
    if (QTableView* v = Table(i)) v->setEnabled(on || tabs_->currentIndex() == i);
    if (QTableView* v = Table(i)) {
      v->setEditTriggers(on ? QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                                  QAbstractItemView::SelectedClicked
                            : QAbstractItemView::NoEditTriggers);
    }
  }
  tabs_->tabBar()->setEnabled(on);
  for (QToolButton* b : {sbAdd_, sbClr_, sbRnd_, sbDelete_, sbOpen_, sbSave_, sbHelp_}) {
    b->setEnabled(on);
  }
  popup_->setEnabled(on);
  if (tpic_) tpic_->EnableControls(on);
  UpdateMenuCaptions();
}

QString TScenario::StatusText() const { return pnStatus_->text(); }

void TScenario::SetMeasure(bool on) {
  stp_.Measure = on;
  {
    const QSignalBlocker b(sbMeasure_);
    sbMeasure_->setChecked(on);
  }
  miMeasure_->setChecked(on);
}

void TScenario::SetCyclic(bool on) { sbCyclic_->setChecked(on); }

void TScenario::SetCaption(const QString& path) {
  setWindowTitle(path.isEmpty() ? QStringLiteral("Scenario") : QFileInfo(path).fileName());
}

// ---- rows ----

void TScenario::AddClick() {
  if (book_.ActiveIndex() < 0) return;
  if (book_.Active().Full()) {
    Ask().ShowInfo(MaxRowsText());
    return;
  }
  const TMotState& mot = model_.Mot();
  const double mm = StepMm();
  book_.Active().InsertRow(MakeSceRow(stp_.Tdwell_ms, StepsToMm(mot.ActPos[1], mm, MaxSteps()),
                                      StepsToMm(mot.ActPos[2], mm, MaxSteps()),
                                      StepsToMm(mot.ActPos[3], mm, MaxSteps())));
  RefreshActive();
}

void TScenario::DeleteClick() {
  if (book_.ActiveIndex() < 0) return;
  book_.Active().DeleteRow();
  RefreshActive();
}

void TScenario::ClearClick() {
  if (book_.ActiveIndex() < 0 || !editing_) return;
  book_.Active().Clear();
  RefreshActive();
}

void TScenario::RandomClick() {
  if (book_.ActiveIndex() < 0 || !editing_) return;
  TRndFill f;
  f.RndCount = stp_.RndCount;
  f.AddPeriod = stp_.AddPeriod;
  f.Synchro = stp_.Synchro;
  f.AddZero = stp_.AddZero;
  f.AddMax = stp_.AddMax;
  f.DwellMs = stp_.Tdwell_ms;
  const TRndFillResult r = FillRandom(book_.Active(), f, MaxSteps(), StepMm(), Rng());
  RefreshActive();
  if (r.full) Ask().ShowInfo(MaxRowsText());
}

void TScenario::RowHeaderClick(int row) {
  if (!editing_ || book_.ActiveIndex() < 0) return;
  if (book_.Active().Select(row)) RefreshActive();
}

void TScenario::CellClick(int row, int col) {
  if (!editing_ || book_.ActiveIndex() < 0 || col != 4) return;
  TScePage& p = book_.Active();
  if (row < 1 || row > p.LastRow()) return;
  const int v = AskIntegerInRange(QStringLiteral("Dwell time"), DwellDialogStart(p.Row(row).T), 0,
                                  kDwellMaxMs, Ask());
  p.Row(row).T = Format(QStringLiteral("%d"), {v});
  RefreshActive();
}

void TScenario::CellDoubleClick() {
  if (!editing_ || book_.ActiveIndex() < 0) return;
  const TScePage& p = book_.Active();
  if (p.SelectedRow >= 1 && p.SelectedRow <= p.LastRow()) play_->GoToRow(p, p.SelectedRow);
}

bool TScenario::EditCell(int row, int col, const QString& text) {
  if (!editing_ || book_.ActiveIndex() < 0 || col < 1 || col > 3) return false;
  TScePage& p = book_.Active();
  if (row < 1 || row > p.LastRow()) return false;
  return TypedStubText(text, p.Row(row).S[size_t(col - 1)]);
}

// ---- pages ----

void TScenario::NewPageClick() {
  book_.NewPage();
  RebuildTabs();
}

void TScenario::CopyPageClick() {
  book_.CopyPage();
  RebuildTabs();
}

void TScenario::RenamePageClick() {
  if (book_.ActiveIndex() < 0) return;
  QString answer = book_.Active().Name;
  for (;;) {
    const TInputResult r =
        InputText(QStringLiteral("Rename Page"), RenamePrompt(book_.Active().Name), answer, Ask());
    if (!r.ok) return;
    answer = r.text.trimmed();
    const QString error = book_.RenamePage(answer);
    if (error.isEmpty()) break;
    Ask().ShowError(error);
  }
  RefreshActive();
}

void TScenario::DeletePageClick() {
  if (book_.Count() <= 1) {
    Ask().ShowError(QStringLiteral("You cannot delete the only remaining page!"));
    return;
  }
  if (Ask().MessageBox(DeletePageQuestion(book_.Active().Name), TMsgType::Warning, mbYes | mbNo) !=
      mbYes) {
    return;
  }
  DropTabs();  // no table may show a page that is gone
  book_.DeletePage();
  RebuildTabs();
}

void TScenario::DeleteAllClick() {
  if (Ask().MessageBox(QStringLiteral("Delete all pages except one?"), TMsgType::Warning,
                       mbYes | mbNo) != mbYes) {
    return;
  }
  DropTabs();
  book_.DeleteAll();
  RebuildTabs();
}

void TScenario::DwellTimeClick() {
  stp_.Tdwell_ms = uint16_t(AskIntegerInRange(QStringLiteral("Default dwell time (ms)"),
                                              stp_.Tdwell_ms, 0, kDwellMaxMs, Ask()));
  UpdateMenuCaptions();
}

void TScenario::DwellAllClick() {
  if (book_.ActiveIndex() < 0 || book_.Active().LastRow() == 0) return;
  const int v = AskIntegerInRange(QStringLiteral("Change all dwell times to (ms)"), stp_.Tdwell_ms,
                                  0, kDwellMaxMs, Ask());
  book_.Active().DwellAll(v);
  RefreshActive();
}

void TScenario::CountClick() {
  stp_.RndCount =
      uint16_t(AskIntegerInRange(QStringLiteral("Count of random stub positions to fill"),
                                 stp_.RndCount, 1, kSceMaxRows, Ask()));
  UpdateMenuCaptions();
}

void TScenario::PeriodClick() {
  stp_.AddPeriod =
      uint16_t(AskIntegerInRange(QStringLiteral("Periodicity of adding Zero/Max stub insertions"),
                                 stp_.AddPeriod, 1, kSceMaxRows, Ask()));
  UpdateMenuCaptions();
}

void TScenario::MeasPerPositClick() {
  stp_.FMeasPerPosit = AskIntegerInRange(QStringLiteral("Number of measurements for one setting"),
                                         stp_.FMeasPerPosit, 1, kMeasPerPositMax, Ask());
  UpdateMenuCaptions();
}

// ---- files ----

QString TScenario::FileFilter() const { return QString::fromLatin1(kSceFilter); }

QString TScenario::InitialPath(const QString& path) const {
  const FileNameParts parts = SplitFileName(path);
  return (parts.folder.isEmpty() ? UserFolder() : parts.folder) + parts.name + parts.ext;
}

bool TScenario::SaveFile(const QString& path) {
  const QString error = SaveSceFile(path, book_);
  if (error.isEmpty()) return true;
  Ask().ShowError(error);
  return false;
}

void TScenario::SaveClick() {
  if (!book_.HasRows()) {
    Ask().ShowError(QStringLiteral("No data to save - procedure aborted"));
    return;
  }
  const QString path =
      Ask().SaveFileName(QStringLiteral("Save scenario file"), InitialPath(stp_.ScenarioPath),
                         FileFilter(), QStringLiteral("sce"));
  if (path.isEmpty()) return;
  const TInputResult c = InputText(QStringLiteral("Enter Comment"),
                                   QStringLiteral("Scenario Info:"), book_.Info, Ask());
  if (c.ok) book_.Info = c.text;
  if (!SaveFile(path)) return;
  stp_.ScenarioPath = path;
  SetCaption(path);
}

bool TScenario::LoadFile(const QString& path) {
  const TReadFileResult file = ReadRegularFile(path, TFileKind::Scenario);
  if (file.status == TReadFileStatus::NotRegularFile || file.status == TReadFileStatus::TooLarge) {
    Ask().ShowError(file.reason);
    return false;
  }
  if (!file.ok()) {
    Ask().ShowError(QStringLiteral("Scenario file \"") + path +
                    QStringLiteral("\" could not be read: ") + file.cause);
    return false;
  }
  const TSceReadResult r = ReadSceBytes(file.bytes);
  if (!r.ok) {
    for (const QString& e : r.errors) Ask().ShowError(e);
    return false;
  }
  book_.Info = r.info == QStringLiteral("(none)") ? QString() : r.info;
  DropTabs();
  book_.ReplacePages(r.pages);
  textsExist_ = true;
  RebuildTabs();
  for (const QString& t : r.truncated) Ask().ShowInfo(t);
  stp_.ScenarioPath = path;
  SetCaption(path);
  return true;
}

void TScenario::LoadClick() {
  const QString path = Ask().OpenFileName(QStringLiteral("Load scenario file"),
                                          InitialPath(stp_.ScenarioPath), FileFilter());
  if (!path.isEmpty()) LoadFile(path);
}

QString TScenario::SaveAtExit() {
  if (!book_.HasRows()) return QString();
  return SaveSceFile(UserFolder() + QLatin1String(kSceAtExitFile), book_);
}

void TScenario::CreateClick() {
  if (SetScePath) SetScePath(stp_.ScenarioPath);
}

// ---- plays ----

void TScenario::PlayClick(bool down) {
  if (!down) {
    play_->Release();
    return;
  }
  if (play_->Playing() || book_.ActiveIndex() < 0) return;
  TScePage& page = book_.Active();
  if (stp_.Measure) {
    const QChar sep = Separator ? Separator() : QChar('.');
    play_->PlayMeasured(page, stp_, sep);
  } else {
    play_->PlayPlain(page, sbCyclic_->isChecked());
  }
  RefreshActive();
  std::vector<std::function<void()>> then;
  then.swap(afterPlay_);
  for (auto& f : then) f();
}

void TScenario::StopPlay() {
  play_->Release();
  const QSignalBlocker b(sbPlay_);
  sbPlay_->setChecked(false);
}

void TScenario::AfterPlay(std::function<void()> then) {
  if (play_->Playing()) {
    afterPlay_.push_back(std::move(then));
  } else {
    then();
  }
}

// ---- setup ----

void TScenario::WriteStp(IniFile& ini) const {
  const QString s = QString::fromLatin1(kScenarioSection);
  WriteWindowPlace(ini, s, *this, kScenarioPlaceRule);
  SceKeys().Write(stp_, ini, s);
}

void TScenario::ReadStp(const IniFile& ini) {
  const QString s = QString::fromLatin1(kScenarioSection);
  SceKeys().Read(stp_, ini, s);
  SetMeasure(stp_.Measure);
  UpdateMenuCaptions();
  ReadWindowPlace(ini, s, *this, kScenarioPlaceRule);
}

// ---- showing and closing ----

void TScenario::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // The first showing (and the first after a close) starts a new empty page.
  if (!textsExist_) {
    textsExist_ = true;
    book_.NewPage();
    RebuildTabs();
  }
  UpdateMenuCaptions();
  if (OnVisibility) OnVisibility(true);
}

void TScenario::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  if (OnVisibility) OnVisibility(false);
}

void TScenario::closeEvent(QCloseEvent* e) {
  // The window lives from start-up to exit: closing ends a play and hides it.
  e->ignore();
  StopPlay();
  textsExist_ = false;
  hide();
}

}  // namespace qz
