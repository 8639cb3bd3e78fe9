#pragma once
// The in-program help viewer: a tool window over the HTML pages of the help folder, opened at
// a topic number or a keyword, with "Contents" (the index page), back and forward.

#include <QWidget>

class QTextBrowser;

namespace qz {

// The viewer's name in the tool-window registry (it keeps nothing in the setup).
inline constexpr const char* kHelpViewerSection = "HelpViewer";

class THelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit THelpViewer(const QString& folder, QWidget* parent = nullptr);

  void ShowTopic(int topic);
  void ShowKeyword(const QString& keyword);
  void ShowIndex();
  // The page shown (its file path).
  QString CurrentPage() const;
  QTextBrowser* Browser() const { return browser_; }

 private:
  void Open(const QString& path);
  QString folder_;
  QTextBrowser* browser_;
};

}  // namespace qz
