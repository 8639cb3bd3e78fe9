// The scenario pages: inserting and deleting rows, random filling, page names and the
// millimetre/step conversions.
#include <gtest/gtest.h>

#include <deque>

#include "tuner/scepage.h"
#include "util/random.h"

namespace qz {
namespace {

// A page whose rows are told apart by their dwell time.
TScePage PageOf(std::initializer_list<int> dwells) {
  TScePage p;
  for (int d : dwells) p.InsertRow(MakeSceRow(d, 1.0, 2.0, 3.0));
  return p;
}

std::vector<int> Dwells(const TScePage& p) {
  std::vector<int> v;
  for (const TSceRow& r : p.Rows()) v.push_back(r.T.toInt());
  return v;
}

TEST(ScePage, InsertsAppendAtTheEmptyRowAndStackInReverseInTheMiddle) {
  TScePage p = PageOf({10, 20, 30});
  EXPECT_EQ(p.LastRow(), 3);
  EXPECT_EQ(p.SelectedRow, 4);  // followed the appended rows
  ASSERT_TRUE(p.Select(2));
  p.InsertRow(MakeSceRow(1, 0, 0, 0));
  p.InsertRow(MakeSceRow(2, 0, 0, 0));
  EXPECT_EQ(p.SelectedRow, 2);  // stays on the new row
  EXPECT_EQ(Dwells(p), (std::vector<int>{10, 2, 1, 20, 30}));
  EXPECT_EQ(p.GridRows(), 7);
}

TEST(ScePage, DeleteFollowsTheSelection) {
  struct Case {
    const char* what;
    std::initializer_list<int> rows;
    int select;
    std::vector<int> after;
    int selectedAfter;
  };
  const Case cases[] = {
      {"the only row", {10}, 1, {}, 1},
      {"the empty row moves up", {10, 20}, 3, {10, 20}, 2},
      {"the last row goes, the selection moves up", {10, 20, 30}, 3, {10, 20}, 2},
      {"a row inside the list", {10, 20, 30}, 2, {10, 30}, 2},
      {"the empty row of an empty page", {}, 1, {}, 1},
  };
  for (const Case& c : cases) {
    TScePage p = PageOf(c.rows);
    ASSERT_TRUE(p.Select(c.select)) << c.what;
    p.DeleteRow();
    EXPECT_EQ(Dwells(p), c.after) << c.what;
    EXPECT_EQ(p.SelectedRow, c.selectedAfter) << c.what;
    EXPECT_EQ(p.LastRow(), int(c.after.size())) << c.what;
  }
}

TEST(ScePage, ExtraTextsMoveWithTheirRows) {
  TScePage p;
  TSceRow a = MakeSceRow(1, 0, 0, 0);
  a.Extra = QStringLiteral("A");
  TSceRow b = MakeSceRow(2, 0, 0, 0);
  b.Extra = QStringLiteral("B");
  p.InsertRow(a);
  p.InsertRow(b);
  p.Select(1);
  p.InsertRow(MakeSceRow(3, 0, 0, 0));
  EXPECT_EQ(p.Row(2).Extra, QStringLiteral("A"));
  p.Select(2);
  p.DeleteRow();
  EXPECT_EQ(p.Row(2).Extra, QStringLiteral("B"));
}

TEST(ScePage, AFullPageRefusesInsertsAndClearEmptiesIt) {
  TScePage p;
  for (int i = 0; i < kSceMaxRows; ++i) ASSERT_TRUE(p.InsertRow(MakeSceRow(i, 0, 0, 0)));
  EXPECT_FALSE(p.InsertRow(MakeSceRow(1, 0, 0, 0)));
  EXPECT_EQ(p.LastRow(), kSceMaxRows);
  p.Clear();
  EXPECT_EQ(p.LastRow(), 0);
  EXPECT_EQ(p.SelectedRow, 1);
  EXPECT_EQ(MaxRowsText(), QStringLiteral("Max position count has been reached (2048)"));
}

TEST(ScePage, CellsAndDwellAll) {
  TScePage p = PageOf({10, 20});
  p.DwellAll(777);
  EXPECT_EQ(Dwells(p), (std::vector<int>{777, 777}));
  EXPECT_EQ(p.Cell(0, 0), QStringLiteral(" Pos "));
  EXPECT_EQ(p.Cell(0, 2), QStringLiteral("S2 (mm)"));
  EXPECT_EQ(p.Cell(0, 4), QStringLiteral("T (ms)"));
  EXPECT_EQ(p.Cell(2, 0), QStringLiteral("2"));
  EXPECT_EQ(p.Cell(1, 1), QStringLiteral("1.000"));
  EXPECT_EQ(p.Cell(3, 0), QStringLiteral("3"));  // the empty row is numbered
  EXPECT_EQ(p.Cell(3, 1), QString());
}

TEST(SceConversions, MillimetresStepsAndTypedCells) {
  struct Case {
    const char* cell;
    int steps;
  };
  const Case cases[] = {{"1.234", 123}, {"abc", 0},     {"99999", 5000}, {"-3", 0},
                        {"1,5", 150},   {" 2.5 ", 250}, {"", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(MmToSteps(QString::fromLatin1(c.cell), 0.01, 5000), c.steps) << c.cell;
  }
  EXPECT_DOUBLE_EQ(StepsToMm(123, 0.01, 5000), 1.23);
  EXPECT_DOUBLE_EQ(StepsToMm(9000, 0.01, 5000), 50.0);
  EXPECT_DOUBLE_EQ(StepsToMm(-5, 0.01, 5000), 0.0);
  QString cell = QStringLiteral("2.000");
  EXPECT_TRUE(TypedStubText(QStringLiteral("3,5"), cell));
  EXPECT_EQ(cell, QStringLiteral("3.500"));
  EXPECT_FALSE(TypedStubText(QStringLiteral("x"), cell));
  EXPECT_EQ(cell, QStringLiteral("3.500"));
  EXPECT_EQ(DwellDialogStart(QStringLiteral("20000")), 0);
  EXPECT_EQ(DwellDialogStart(QStringLiteral("250")), 250);
  EXPECT_EQ(DwellMs(QStringLiteral("x")), 0);
}

// A source that always gives the same number: random rows hold its draws, told apart from the
// zero and maximum rows.
class ConstRandom : public RandomSource {
 public:
  double Next() override { return 0.5; }
};

// "R" random, "Z" zero, "M" maximum row.
QString Kinds(const TScePage& p) {
  QString s;
  for (const TSceRow& r : p.Rows()) {
    s += r.S[0] == QStringLiteral("0.000")    ? QLatin1Char('Z')
         : r.S[0] == QStringLiteral("50.000") ? QLatin1Char('M')
                                              : QLatin1Char('R');
  }
  return s;
}

TEST(SceRandomFill, PeriodsOfZeroAndMaximumRows) {
  struct Case {
    int period;
    bool zero, max;
    const char* kinds;
  };
  const Case cases[] = {
      {50, true, true, "RRRRRRRRRR"}, {4, true, false, "RRRZRRRZRR"},
      {1, true, false, "ZZZZZZZZZZ"},  // ends, with ten zero rows
      {3, false, true, "RRMRRMRRMR"}, {7, false, false, "RRRRRRRRRR"},
  };
  ConstRandom rng;
  for (const Case& c : cases) {
    TScePage p;
    TRndFill f;
    f.RndCount = 10;
    f.AddPeriod = c.period;
    f.AddZero = c.zero;
    f.AddMax = c.max;
    const TRndFillResult r = FillRandom(p, f, 5000, 0.01, rng);
    EXPECT_EQ(Kinds(p), QString::fromLatin1(c.kinds)) << c.period;
    EXPECT_EQ(r.added, 10);
    EXPECT_FALSE(r.full);
  }
}

TEST(SceRandomFill, DrawsThousandthsWithinTheTravelAndStopsWhenFull) {
  ConstRandom rng;
  TScePage p;
  TRndFill f;
  f.RndCount = 3;
  f.Synchro = true;
  FillRandom(p, f, 5000, 0.01, rng);
  // L = 50000; floor(0.5 * 50001) / 1000.
  EXPECT_EQ(p.Row(1).S, (std::array<QString, 3>{"25.000", "25.000", "25.000"}));
  EXPECT_EQ(p.Row(1).T, QStringLiteral("500"));

  TScePage full;
  for (int i = 0; i < kSceMaxRows - 2; ++i) full.InsertRow(MakeSceRow(1, 0, 0, 0));
  f.RndCount = 10;
  const TRndFillResult r = FillRandom(full, f, 5000, 0.01, rng);
  EXPECT_EQ(r.added, 2);
  EXPECT_TRUE(r.full);
}

TEST(SceBook, PageNames) {
  TSceBook b;
  EXPECT_EQ(b.Count(), 0);
  b.NewPage();
  EXPECT_EQ(b.Active().Name, QStringLiteral("Page1"));
  b.NewPage();
  EXPECT_EQ(b.Active().Name, QStringLiteral("Page2"));
  b.NewPage();
  EXPECT_EQ(b.Active().Name, QStringLiteral("Page3"));
  EXPECT_EQ(b.CreatedTabCount(), 3);

  b.SetActive(0);
  b.Active().InsertRow(MakeSceRow(5, 1, 2, 3));
  b.CopyPage();
  EXPECT_EQ(b.Active().Name, QStringLiteral("Page1 (1)"));
  EXPECT_EQ(b.Active().LastRow(), 1);
  b.CopyPage();
  EXPECT_EQ(b.Active().Name, QStringLiteral("Page1 (2)"));
  b.SetActive(0);
  b.CopyPage();  // " (1)" and " (2)" are taken
  EXPECT_EQ(b.Active().Name, QStringLiteral("Page1 (3)"));

  // Rename: ignoring case, "Scenario Info" is taken, the answer is trimmed.
  EXPECT_EQ(b.RenamePage(QStringLiteral("page2")),
            QStringLiteral("Page with name \"page2\" already exists!"));
  EXPECT_FALSE(b.RenamePage(QStringLiteral("scenario info")).isEmpty());
  EXPECT_EQ(b.RenamePage(QStringLiteral("  Run A ")), QString());
  EXPECT_EQ(b.Active().Name, QStringLiteral("Run A"));
  EXPECT_EQ(RenamePrompt(QStringLiteral("Page1")), QStringLiteral("Rename page \"Page1\" to:"));
  EXPECT_EQ(DeletePageQuestion(QStringLiteral("Page1")), QStringLiteral("Delete \"Page1\" page?"));
}

TEST(SceBook, DeletePagesKeepsAtLeastTheFirstCleared) {
  TSceBook b;
  b.NewPage();
  EXPECT_FALSE(b.DeletePage());  // the only page
  b.Active().InsertRow(MakeSceRow(5, 1, 2, 3));
  b.NewPage();
  b.NewPage();
  b.SetActive(1);
  EXPECT_TRUE(b.DeletePage());
  EXPECT_EQ(b.Active().Name, QStringLiteral("Page3"));  // the next page
  b.DeleteAll();
  EXPECT_EQ(b.Count(), 1);
  EXPECT_EQ(b.Active().Name, QStringLiteral("Page1"));
  EXPECT_EQ(b.Active().LastRow(), 0);
}

}  // namespace
}  // namespace qz
