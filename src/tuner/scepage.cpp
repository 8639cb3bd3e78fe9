#include "tuner/scepage.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "util/format.h"
#include "util/numutil.h"
#include "util/parse.h"
#include "util/random.h"

namespace qz {

QString SceMmText(double mm) { return Format(QStringLiteral("%1.3f"), {mm}, QChar('.')); }

TSceRow MakeSceRow(int dwellMs, double s1, double s2, double s3) {
  TSceRow r;
  r.S = {SceMmText(s1), SceMmText(s2), SceMmText(s3)};
  r.T = Format(QStringLiteral("%d"), {dwellMs});
  return r;
}

int MmToSteps(const QString& cell, double stepMm, int maxSteps) {
  const auto v = ParseDouble(cell, true);
  if (!v || !(stepMm > 0.0)) return 0;
  const double steps = RoundHalfEven(*v / stepMm);
  return int(ClampLowWins(steps, 0.0, double(std::max(0, maxSteps))));
}

double StepsToMm(int steps, double stepMm, int maxSteps) {
  return double(ClampLowWins(int32_t(steps), 0, int32_t(std::max(0, maxSteps)))) * stepMm;
}

int DwellMs(const QString& cell) {
  const auto v = ParseInt32(cell);
  return v && *v > 0 ? *v : 0;
}

int DwellDialogStart(const QString& cell) {
  const auto v = ParseInt32(cell);
  return v && *v >= 0 && *v <= 10000 ? *v : 0;
}

bool TypedStubText(const QString& typed, QString& cell) {
  const auto v = ParseDouble(typed, true);
  if (!v) return false;
  cell = SceMmText(*v);
  return true;
}

QString SceHeaderText(int col) {
  switch (col) {
    case 0:
      return QStringLiteral(" Pos ");
    case 1:
    case 2:
    case 3:
      return Format(QStringLiteral("S%d (mm)"), {col});
    case 4:
      return QStringLiteral("T (ms)");
    default:
      return QString();
  }
}

// ---- the page ----

QString TScePage::Cell(int32_t row, int col) const {
  if (col < 0 || col >= kSceColumns || row < 0) return QString();
  if (row == 0) return SceHeaderText(col);
  if (col == 0) return row <= LastRow() + 1 ? Format(QStringLiteral("%d"), {row}) : QString();
  if (row > LastRow()) return QString();
  const TSceRow& r = Row(row);
  return col == 4 ? r.T : r.S[size_t(col - 1)];
}

bool TScePage::InsertRow(const TSceRow& row) {
  if (Full()) return false;
  SelectedRow = ClampLowWins(SelectedRow, 1, LastRow() + 1);
  if (SelectedRow == LastRow() + 1) {
    rows_.push_back(row);
    SelectedRow = LastRow() + 1;
  } else {
    rows_.insert(rows_.begin() + (SelectedRow - 1), row);
  }
  return true;
}

void TScePage::DeleteRow() {
  SelectedRow = ClampLowWins(SelectedRow, 1, LastRow() + 1);
  if (SelectedRow == LastRow() + 1) {
    SelectedRow = std::max(1, SelectedRow - 1);
  } else if (SelectedRow == LastRow()) {
    rows_.pop_back();
    SelectedRow = std::max(1, SelectedRow - 1);
  } else {
    rows_.erase(rows_.begin() + (SelectedRow - 1));
  }
}

void TScePage::Clear() {
  rows_.clear();
  SelectedRow = 1;
  IteratedRow = 1;
}

void TScePage::DwellAll(int ms) {
  const QString t = Format(QStringLiteral("%d"), {ms});
  for (TSceRow& r : rows_) r.T = t;
}

void TScePage::SetRows(std::vector<TSceRow> rows) {
  rows_ = std::move(rows);
  SelectedRow = ClampLowWins(SelectedRow, 1, LastRow() + 1);
  IteratedRow = ClampLowWins(IteratedRow, 1, LastRow() + 1);
}

bool TScePage::Select(int32_t r) {
  if (r < 1 || r > LastRow() + 1) return false;
  SelectedRow = r;
  return true;
}

bool TScePage::HasExtraTexts() const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [](const TSceRow& r) { return !r.Extra.isEmpty(); });
}

// ---- random filling ----

TRndFillResult FillRandom(TScePage& page, const TRndFill& f, int maxSteps, double stepMm,
                          RandomSource& rng) {
  const double m = double(std::max(0, maxSteps)) * stepMm;
  const double l = RoundHalfEven(m * 1000.0);
  auto draw = [&] { return std::floor(rng.Next() * (l + 1.0)) / 1000.0; };
  TRndFillResult res;
  auto ended = [&] { return res.added >= f.RndCount || page.LastRow() > kSceMaxRows - 1; };
  auto add = [&](double s1, double s2, double s3) {
    if (page.InsertRow(MakeSceRow(f.DwellMs, s1, s2, s3))) ++res.added;
  };
  auto randomRow = [&] {
    const double s1 = draw();
    if (f.Synchro) {
      add(s1, s1, s1);
    } else {
      const double s2 = draw();
      const double s3 = draw();
      add(s1, s2, s3);
    }
  };
  const bool periodic = f.AddZero || f.AddMax;
  // The end is also tested at the start of every period, so a period of 1 (only zero or
  // maximum rows) ends as well.
  while (!ended()) {
    if (!periodic) {
      randomRow();
      continue;
    }
    bool stop = false;
    for (int i = 0; i < f.AddPeriod - 1; ++i) {
      if (ended()) {
        stop = true;
        break;
      }
      randomRow();
    }
    if (stop) break;
    if (f.AddZero) add(0.0, 0.0, 0.0);
    if (f.AddMax) add(m, m, m);
  }
  res.full = page.LastRow() > kSceMaxRows - 1 && res.added < f.RndCount;
  return res;
}

// ---- the book ----

void TSceBook::SetActive(int i) {
  if (i >= 0 && i < Count()) active_ = i;
}

bool TSceBook::HasRows() const {
  return std::any_of(pages_.begin(), pages_.end(),
                     [](const std::unique_ptr<TScePage>& p) { return p->LastRow() > 0; });
}

bool TSceBook::NameTaken(const QString& name, int except) const {
  if (name.compare(QLatin1String(kSceInfoSection), Qt::CaseInsensitive) == 0) return true;
  for (int i = 0; i < Count(); ++i) {
    if (i != except && pages_[size_t(i)]->Name.compare(name, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

QString TSceBook::NewPageName() const {
  int n = 1;
  QString name = QStringLiteral("Page1");
  while (NameTaken(name)) name = Format(QStringLiteral("Page%d"), {++n});
  return name;
}

QString TSceBook::CopyName(const QString& name) const {
  static const QRegularExpression numbered(QStringLiteral("^(.*)\\((\\d+)\\)$"));
  QString cand = name;
  do {
    const QRegularExpressionMatch m = numbered.match(cand);
    bool ok = false;
    const qlonglong n = m.hasMatch() ? m.captured(2).toLongLong(&ok) : 0;
    if (m.hasMatch() && ok && n < 2147483647LL) {
      cand = m.captured(1) + QLatin1Char('(') + Format(QStringLiteral("%d"), {n + 1}) +
             QLatin1Char(')');
    } else {
      cand = cand + QStringLiteral(" (1)");
    }
  } while (NameTaken(cand));
  return cand;
}

int TSceBook::AddPage(TScePage page) {
  page.TabNo = ++created_;
  pages_.push_back(std::make_unique<TScePage>(std::move(page)));
  active_ = Count() - 1;
  return active_;
}

int TSceBook::NewPage() {
  TScePage p;
  p.Name = NewPageName();
  return AddPage(std::move(p));
}

int TSceBook::CopyPage() {
  if (active_ < 0) return NewPage();
  TScePage p = Active();
  p.Name = CopyName(p.Name);
  p.IteratedRow = 1;
  return AddPage(std::move(p));
}

QString TSceBook::RenamePage(const QString& answer) {
  if (active_ < 0) return QString();
  const QString name = answer.trimmed();
  if (name.isEmpty() || name == Active().Name) return QString();
  if (NameTaken(name, active_)) return PageExistsText(name);
  Active().Name = name;
  return QString();
}

bool TSceBook::DeletePage() {
  if (Count() <= 1) return false;
  pages_.erase(pages_.begin() + active_);
  if (active_ >= Count()) active_ = Count() - 1;
  return true;
}

void TSceBook::DeleteAll() {
  if (pages_.empty()) return;
  pages_.resize(1);
  pages_.front()->Clear();
  active_ = 0;
}

void TSceBook::ReplacePages(std::vector<TScePage> pages) {
  pages_.clear();
  active_ = -1;
  for (TScePage& p : pages) AddPage(std::move(p));
  if (pages_.empty()) NewPage();
  active_ = 0;
}

QString DeletePageQuestion(const QString& name) {
  return QStringLiteral("Delete \"") + name + QStringLiteral("\" page?");
}
QString RenamePrompt(const QString& name) {
  return QStringLiteral("Rename page \"") + name + QStringLiteral("\" to:");
}
QString PageExistsText(const QString& name) {
  return QStringLiteral("Page with name \"") + name + QStringLiteral("\" already exists!");
}
QString MaxRowsText() {
  return QStringLiteral("Max position count has been reached (") +
         Format(QStringLiteral("%d"), {kSceMaxRows}) + QLatin1Char(')');
}

}  // namespace qz
