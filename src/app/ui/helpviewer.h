#pragma once
// The in-program help viewer: a stay-on-top tool window over the pages of the manual, opened
// at a request (a topic number, a keyword or a row of the help requests), with Back, Forward and
// Home, and a side pane with the "Contents" (the pages in the index's order) and the "Search".
// Links between pages of the manual open in it; any other link is refused with "Not a page of
// the manual". A page that is missing shows the index with a line that says so.

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QToolButton;

namespace qz {

class THelpIndex;
struct THelpRequest;

inline constexpr const char* kHelpNotAPage = "Not a page of the manual";

// The viewer's name in the tool-window registry (it keeps nothing in the setup).
inline constexpr const char* kHelpViewerSection = "HelpViewer";

class THelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit THelpViewer(const QString& folder, QWidget* parent = nullptr);
  ~THelpViewer() override;

  // A topic number or keyword as a window asks with it; one no row answers opens the index.
  void ShowTopic(int topic);
  void ShowKeyword(const QString& keyword);
  void ShowRequest(const THelpRequest& row, const QString& anchor);
  void ShowIndex();
  // A page of the manual by file name ("model.html"), at an anchor.
  void ShowPage(const QString& file, const QString& anchor = QString());
  // Searches the manual and shows the hits in the "Search" pane; the titles of the hits.
  QStringList Search(const QString& query);
  // Opens the n-th hit of the last search with the query's words highlighted.
  void OpenHit(int n);
  // Places the window beside `from`'s window (when it is not showing yet) and brings it up.
  void Present(const QWidget* from);

  // The page shown (its file path), its anchor, and the line under the page ("" when none).
  QString CurrentPage() const;
  QString CurrentAnchor() const;
  QString Notice() const;
  QTextBrowser* Browser() const { return browser_; }
  const THelpIndex& Index() const;

  void Back();
  void Forward();
  void Home();

 private:
  void Open(const QString& file, const QString& anchor, const QString& notice = QString());
  void LinkClicked(const QUrl& url);
  void Highlight(const QStringList& words);
  void Refresh();

  QString folder_;
  std::unique_ptr<THelpIndex> index_;
  QTextBrowser* browser_;
  QTabWidget* pane_;
  QListWidget* contents_;
  QLineEdit* query_;
  QListWidget* hits_;
  QLabel* notice_;
  QToolButton *btBack_, *btForward_, *btHome_;
  QStringList hitFiles_;
  QStringList hitWords_;
};

}  // namespace qz
