#include "app/ui/helpviewer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/helppages.h"

namespace qz {

THelpViewer::THelpViewer(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Tool), folder_(folder) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("QzSim Help"));
  auto* lay = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  auto* btIndex = new QPushButton(QStringLiteral("&Contents"), this);
  auto* btBack = new QPushButton(QStringLiteral("&Back"), this);
  auto* btFwd = new QPushButton(QStringLiteral("&Forward"), this);
  auto* btClose = new QPushButton(QStringLiteral("Close"), this);
  bar->addWidget(btIndex);
  bar->addWidget(btBack);
  bar->addWidget(btFwd);
  bar->addStretch(1);
  bar->addWidget(btClose);
  lay->addLayout(bar);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(false);
  browser_->setSearchPaths({folder_});
  lay->addWidget(browser_, 1);
  connect(btIndex, &QPushButton::clicked, this, [this] { ShowIndex(); });
  connect(btBack, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(btFwd, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(btClose, &QPushButton::clicked, this, &QWidget::hide);
  resize(640, 520);
}

void THelpViewer::Open(const QString& path) {
  browser_->setSource(QUrl::fromLocalFile(path));
  show();
  raise();
  activateWindow();
}

void THelpViewer::ShowTopic(int topic) { Open(HelpPageForTopic(folder_, topic)); }

void THelpViewer::ShowKeyword(const QString& keyword) {
  Open(HelpPageForKeyword(folder_, keyword));
}

void THelpViewer::ShowIndex() { Open(HelpPageForTopic(folder_, 0)); }

QString THelpViewer::CurrentPage() const { return browser_->source().toLocalFile(); }

}  // namespace qz
