#include "app/ui/helpviewer.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/helppages.h"
#include "app/helpsearch.h"
#include "app/ui/helprequests.h"
#include "util/ui/dialogparent.h"
#include "util/ui/screen.h"
#include "util/winpos.h"

namespace qz {

namespace {

QToolButton* Tool(QWidget* parent, const char* name, const QString& text, const QString& tip) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setText(text);
  b->setToolTip(tip);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return b;
}

}  // namespace

THelpViewer::THelpViewer(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      folder_(folder),
      index_(std::make_unique<THelpIndex>(folder)) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("QzSim Help"));
  auto* lay = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  btBack_ = Tool(this, "btBack", QStringLiteral("&Back"), QStringLiteral("The page before"));
  btForward_ =
      Tool(this, "btForward", QStringLiteral("&Forward"), QStringLiteral("The page after"));
  btHome_ = Tool(this, "btHome", QStringLiteral("&Home"), QStringLiteral("The manual's index"));
  auto* btClose = new QPushButton(QStringLiteral("Close"), this);
  btClose->setObjectName(QStringLiteral("btClose"));
  bar->addWidget(btBack_);
  bar->addWidget(btForward_);
  bar->addWidget(btHome_);
  bar->addStretch(1);
  bar->addWidget(btClose);
  lay->addLayout(bar);

  auto* split = new QSplitter(Qt::Horizontal, this);
  pane_ = new QTabWidget(split);
  pane_->setObjectName(QStringLiteral("HelpPane"));
  contents_ = new QListWidget(pane_);
  contents_->setObjectName(QStringLiteral("lbContents"));
  for (const QString& f : index_->Contents()) {
    auto* item = new QListWidgetItem(index_->Page(f)->title, contents_);
    item->setData(Qt::UserRole, f);
  }
  pane_->addTab(contents_, QStringLiteral("Contents"));
  auto* search = new QWidget(pane_);
  auto* sl = new QVBoxLayout(search);
  sl->setContentsMargins(2, 2, 2, 2);
  query_ = new QLineEdit(search);
  query_->setObjectName(QStringLiteral("edSearch"));
  query_->setPlaceholderText(QStringLiteral("Words to find"));
  hits_ = new QListWidget(search);
  hits_->setObjectName(QStringLiteral("lbHits"));
  hits_->setWordWrap(true);
  sl->addWidget(query_);
  sl->addWidget(hits_, 1);
  pane_->addTab(search, QStringLiteral("Search"));

  auto* right = new QWidget(split);
  auto* rl = new QVBoxLayout(right);
  rl->setContentsMargins(0, 0, 0, 0);
  notice_ = new QLabel(right);
  notice_->setObjectName(QStringLiteral("lbNotice"));
  notice_->setWordWrap(true);
  notice_->setStyleSheet(QStringLiteral("color: #a00000;"));
  notice_->hide();
  browser_ = new QTextBrowser(right);
  browser_->setObjectName(QStringLiteral("Browser"));
  browser_->setOpenLinks(false);
  browser_->setOpenExternalLinks(false);
  browser_->setSearchPaths({folder_});
  rl->addWidget(notice_);
  rl->addWidget(browser_, 1);
  split->addWidget(pane_);
  split->addWidget(right);
  split->setStretchFactor(1, 1);
  split->setSizes({190, 560});
  lay->addWidget(split, 1);

  connect(btBack_, &QToolButton::clicked, this, [this] { Back(); });
  connect(btForward_, &QToolButton::clicked, this, [this] { Forward(); });
  connect(btHome_, &QToolButton::clicked, this, [this] { Home(); });
  connect(btClose, &QPushButton::clicked, this, &QWidget::hide);
  connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& u) { LinkClicked(u); });
  connect(browser_, &QTextBrowser::historyChanged, this, [this] { Refresh(); });
  connect(contents_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* i) { ShowPage(i->data(Qt::UserRole).toString()); });
  connect(contents_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* i) { ShowPage(i->data(Qt::UserRole).toString()); });
  connect(query_, &QLineEdit::returnPressed, this, [this] { Search(query_->text()); });
  connect(hits_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* i) { OpenHit(i->data(Qt::UserRole).toInt()); });
  connect(hits_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* i) { OpenHit(i->data(Qt::UserRole).toInt()); });
  resize(780, 560);
  Refresh();
}

THelpViewer::~THelpViewer() = default;

const THelpIndex& THelpViewer::Index() const { return *index_; }

void THelpViewer::Open(const QString& file, const QString& anchor, const QString& notice) {
  QString f = file;
  QString a = anchor;
  QString n = notice;
  if (!QFileInfo(HelpPagePath(folder_, f)).isFile()) {
    n = MissingHelpPageText(folder_, f);
    f = QString::fromLatin1(kHelpIndexPage);
    a.clear();
  }
  QUrl url = QUrl::fromLocalFile(QFileInfo(HelpPagePath(folder_, f)).absoluteFilePath());
  if (!a.isEmpty()) url.setFragment(a);
  browser_->setExtraSelections({});
  browser_->setSource(url);
  notice_->setText(n);
  notice_->setVisible(!n.isEmpty());
  Refresh();
}

void THelpViewer::ShowPage(const QString& file, const QString& anchor) { Open(file, anchor); }

void THelpViewer::ShowTopic(int topic) {
  const THelpRequest* r = HelpRequestForTopic(topic);
  if (r)
    ShowRequest(*r, r->anchor);
  else
    ShowIndex();
}

void THelpViewer::ShowKeyword(const QString& keyword) {
  const THelpRequest* r = HelpRequestForKeyword(keyword);
  if (r)
    ShowRequest(*r, r->anchor);
  else
    ShowIndex();
}

void THelpViewer::ShowRequest(const THelpRequest& row, const QString& anchor) {
  Open(HelpPageFile(row), anchor == QStringLiteral("*") ? QString() : anchor);
}

void THelpViewer::ShowIndex() { Open(QString::fromLatin1(kHelpIndexPage), QString()); }

void THelpViewer::Home() { ShowIndex(); }

void THelpViewer::Back() {
  browser_->backward();
  browser_->setExtraSelections({});
  notice_->hide();
  notice_->clear();
  Refresh();
}

void THelpViewer::Forward() {
  browser_->forward();
  browser_->setExtraSelections({});
  notice_->hide();
  notice_->clear();
  Refresh();
}

void THelpViewer::LinkClicked(const QUrl& url) {
  const QUrl target = browser_->source().resolved(url);
  const QFileInfo fi(target.toLocalFile());
  const bool inManual = target.isLocalFile() &&
                        QDir(fi.absolutePath()) == QDir(QFileInfo(folder_).absoluteFilePath()) &&
                        fi.suffix().compare(QStringLiteral("html"), Qt::CaseInsensitive) == 0;
  if (!inManual) {
    notice_->setText(QString::fromLatin1(kHelpNotAPage));
    notice_->show();
    return;
  }
  Open(fi.fileName(), target.fragment());
}

QStringList THelpViewer::Search(const QString& query) {
  query_->setText(query);
  pane_->setCurrentIndex(1);
  hits_->clear();
  hitFiles_.clear();
  hitWords_ = THelpIndex::Words(query);
  QStringList titles;
  const std::vector<THelpHit> hits = index_->Search(query);
  if (hits.empty()) {
    auto* item = new QListWidgetItem(THelpIndex::NoHitsText(query), hits_);
    item->setFlags(Qt::ItemIsEnabled);
    item->setData(Qt::UserRole, -1);
    return titles;
  }
  for (const THelpHit& h : hits) {
    auto* item = new QListWidgetItem(h.title + QStringLiteral("\n") + h.excerpt, hits_);
    item->setData(Qt::UserRole, int(hitFiles_.size()));
    item->setToolTip(h.file);
    hitFiles_ << h.file;
    titles << h.title;
  }
  return titles;
}

void THelpViewer::OpenHit(int n) {
  if (n < 0 || n >= hitFiles_.size()) return;
  Open(hitFiles_[n], QString());
  Highlight(hitWords_);
}

void THelpViewer::Highlight(const QStringList& words) {
  QList<QTextEdit::ExtraSelection> marks;
  QTextCharFormat fmt;
  fmt.setBackground(QColor(255, 230, 80));
  QTextDocument* doc = browser_->document();
  for (const QString& w : words) {
    const QRegularExpression re(QStringLiteral("(?<![\\p{L}\\p{N}])") +
                                    QRegularExpression::escape(w) +
                                    QStringLiteral("[\\p{L}\\p{N}]*"),
                                QRegularExpression::CaseInsensitiveOption);
    for (QTextCursor c = doc->find(re); !c.isNull(); c = doc->find(re, c)) {
      QTextEdit::ExtraSelection s;
      s.cursor = c;
      s.format = fmt;
      marks << s;
    }
  }
  browser_->setExtraSelections(marks);
  if (!marks.isEmpty()) browser_->setTextCursor(QTextCursor(marks.first().cursor.block()));
  browser_->ensureCursorVisible();
}

void THelpViewer::Refresh() {
  btBack_->setEnabled(browser_->isBackwardAvailable());
  btForward_->setEnabled(browser_->isForwardAvailable());
  const QString file = QFileInfo(CurrentPage()).fileName();
  for (int i = 0; i < contents_->count(); ++i) {
    if (contents_->item(i)->data(Qt::UserRole).toString() == file) {
      const QSignalBlocker block(contents_);
      contents_->setCurrentRow(i);
    }
  }
}

void THelpViewer::Present(const QWidget* from) {
  if (!isVisible() && from) {
    // Beside the asking window, the whole frame (title bar included) inside the screen. Before
    // the window system has framed the viewer, the frame it will get is assumed.
    const QRect f = frameGeometry();
    const bool framed = f != geometry();
    const int fw = framed ? f.width() : width() + 8;
    const int fh = framed ? f.height() : height() + 34;
    const QRect a = from->window()->frameGeometry();
    const QRect avail = Screen().Available();
    const WindowPos p =
        BesidePosition(WindowPos{a.x(), a.y(), a.width(), a.height()}, fw, fh,
                       WindowPos{avail.x(), avail.y(), avail.width(), avail.height()});
    // move() places the frame's top-left corner.
    move(p.left, p.top);
  }
  // Placed above: from now on it stays on top, as the tool windows do.
  MarkPlaceKept(*this);
  ShowAbove(*this, from);
}

QString THelpViewer::CurrentPage() const { return browser_->source().toLocalFile(); }
QString THelpViewer::CurrentAnchor() const { return browser_->source().fragment(); }
QString THelpViewer::Notice() const { return notice_->isHidden() ? QString() : notice_->text(); }

}  // namespace qz
