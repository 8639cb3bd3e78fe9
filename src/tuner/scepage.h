#pragma once
// The pages of stub settings a scenario is made of, without a window: each page is a list of
// rows (three stub positions in millimetres and a dwell time in milliseconds, kept as the texts
// the grid shows, plus the row's own extra text), the selected row that is the insertion point
// and start of a play, and the row being played. The book holds the named pages and gives them
// names that are free (compared ignoring case; the file's own "Scenario Info" section counts as
// taken).

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace qz {

class RandomSource;

// A page holds at most this many rows.
inline constexpr int kSceMaxRows = 2048;
// The section of a scenario file that is no page.
inline constexpr char kSceInfoSection[] = "Scenario Info";

struct TSceRow {
  std::array<QString, 3> S;  // stub positions, millimetres ("%1.3f" when made here)
  QString T;                 // dwell time, milliseconds
  QString Extra;             // the row's extra text (empty: none)
  bool operator==(const TSceRow&) const = default;
};

// Cell texts of new rows.
QString SceMmText(double mm);
TSceRow MakeSceRow(int dwellMs, double s1, double s2, double s3);

// A cell in millimetres (a comma counts as the point) as a motor position: round half to even
// of mm / step length, limited to 0 .. maxSteps; a text that is no number counts as 0 mm.
int MmToSteps(const QString& cell, double stepMm, int maxSteps);
// A motor position (limited to 0 .. maxSteps) in millimetres.
double StepsToMm(int steps, double stepMm, int maxSteps);
// A dwell cell in milliseconds: a text that is no whole number (or is negative) counts as 0.
int DwellMs(const QString& cell);
// The dwell dialog's start value: the cell when it reads as 0 .. 10000, else 0.
int DwellDialogStart(const QString& cell);
// A typed stub cell: a number (comma allowed) gives its "%1.3f" text, anything else nothing.
bool TypedStubText(const QString& typed, QString& cell);

inline constexpr int kSceColumns = 5;
// The grid's header texts: " Pos ", "S1 (mm)" .. "S3 (mm)", "T (ms)".
QString SceHeaderText(int col);

class TScePage {
 public:
  QString Name;
  int32_t SelectedRow = 1;  // 1 .. LastRow() + 1
  int32_t IteratedRow = 1;
  int32_t TabNo = 0;  // the page's number among all pages made (its tab is "ts_" + TabNo)

  int32_t LastRow() const { return int32_t(rows_.size()); }
  bool Full() const { return LastRow() >= kSceMaxRows; }
  // Row r (1 .. LastRow()).
  const TSceRow& Row(int32_t r) const { return rows_.at(size_t(r - 1)); }
  TSceRow& Row(int32_t r) { return rows_.at(size_t(r - 1)); }
  const std::vector<TSceRow>& Rows() const { return rows_; }

  // The grid's cell text: row 0 the header, column 0 the row numbers; the empty row after the
  // last and anything beyond give "".
  QString Cell(int32_t row, int col) const;
  // Rows the grid shows: the header, the filled rows and one empty row.
  int32_t GridRows() const { return LastRow() + 2; }

  // Inserts at the selected row (refused when the page is full). At the empty row the row is
  // appended and the selection follows to the new empty row; inside the list the rows from the
  // selection on move down and the selection stays on the new row.
  bool InsertRow(const TSceRow& row);
  // Deletes at the selection: the empty row moves the selection up; the last row is cleared
  // (the selection moves up with it, except at row 1); a row inside the list is removed.
  void DeleteRow();
  // Every row goes; the selection returns to row 1.
  void Clear();
  // The dwell time of every filled row.
  void DwellAll(int ms);
  // Replaces the rows (the selection is kept inside the new list).
  void SetRows(std::vector<TSceRow> rows);
  // Selects row r when it is 1 .. LastRow() + 1.
  bool Select(int32_t r);
  // Some row has an extra text.
  bool HasExtraTexts() const;

 private:
  std::vector<TSceRow> rows_;
};

// Random filling of a page.
struct TRndFill {
  int RndCount = 10;
  int AddPeriod = 50;
  bool Synchro = false;
  bool AddZero = false;
  bool AddMax = false;
  int DwellMs = 500;
};
struct TRndFillResult {
  int added = 0;
  bool full = false;  // the page filled up before RndCount rows were added
};
// Adds random rows (uniform 0 .. maxSteps x stepMm to a thousandth of a millimetre), with a
// zero and/or maximum row at the end of every period, until RndCount rows were added or the
// page is full. Draws from rng, which is not reseeded.
TRndFillResult FillRandom(TScePage& page, const TRndFill& f, int maxSteps, double stepMm,
                          RandomSource& rng);

// ---- the pages ----

// A book starts without pages: the window adds the first when it is shown.
class TSceBook {
 public:
  int Count() const { return int(pages_.size()); }
  // A page keeps its address while it exists (windows and a play hold on to it).
  TScePage& Page(int i) { return *pages_.at(size_t(i)); }
  const TScePage& Page(int i) const { return *pages_.at(size_t(i)); }
  int ActiveIndex() const { return active_; }  // -1 without pages
  TScePage& Active() { return Page(active_); }
  const TScePage& Active() const { return Page(active_); }
  void SetActive(int i);
  // Pages made so far (the internal tab names "ts_" + n count with it).
  int32_t CreatedTabCount() const { return created_; }
  // Some page has rows.
  bool HasRows() const;

  // A name another page (other than `except`, -1 for none) has, ignoring case; "Scenario Info"
  // is always taken.
  bool NameTaken(const QString& name, int except = -1) const;
  // "Page1", else "Page" + (the number after the first four characters of the last tried name
  // + 1) until the name is free.
  QString NewPageName() const;
  // The name + " (1)", or with n + 1 in place of a closing "(n)", until free.
  QString CopyName(const QString& name) const;

  // A new empty page, made active; returns its index.
  int NewPage();
  // A copy of the active page (rows, LastRow and selection), made active.
  int CopyPage();
  // Renames the active page. Empty answer: nothing. Returns the error text when the name is
  // taken by another page (the page keeps its name), else "".
  QString RenamePage(const QString& answer);
  // Deletes the active page and activates the next; false when it is the only page.
  bool DeletePage();
  // Deletes every page but the first, which is cleared and made active.
  void DeleteAll();
  // Replaces every page (the first becomes active); no page gives one new empty page.
  void ReplacePages(std::vector<TScePage> pages);
  // Appends a page made elsewhere (made active).
  int AddPage(TScePage page);

  QString Info;  // the scenario comment

 private:
  std::vector<std::unique_ptr<TScePage>> pages_;
  int active_ = -1;
  int32_t created_ = 0;
};

// Texts of the page operations.
QString DeletePageQuestion(const QString& name);  // Delete "name" page?
QString RenamePrompt(const QString& name);        // Rename page "name" to:
QString PageExistsText(const QString& name);      // Page with name "name" already exists!
QString MaxRowsText();                            // Max position count has been reached (2048)

}  // namespace qz
