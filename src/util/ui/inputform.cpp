#include "util/ui/inputform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "util/ui/centre.h"
#include "util/valueinput.h"

namespace qz {

namespace {

// The entry's designed width; a wider prompt widens it.
constexpr int kEditWidth = 220;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

}  // namespace

TInputForm::TInputForm(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setModal(true);
  lbPrompt = new QLabel(this);
  lbPrompt->setTextFormat(Qt::PlainText);
  edValue = new QLineEdit(this);
  btnOK = new QPushButton(tr("&OK"), this);
  btnOK->setDefault(true);
  btnCancel = new QPushButton(tr("Cancel"), this);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TInputForm::Setup(const QString& title, const QString& prompt, const QString& initial) {
  setWindowTitle(title);
  // Prompts break lines with CR LF; the label wants plain line feeds.
  QString shown = prompt;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar('\r'), QChar('\n'));
  lbPrompt->setText(shown);
  edValue->setText(initial);
  LayOut();
}

QString TInputForm::Text() const { return edValue->text(); }

void TInputForm::LayOut() {
  const QSize promptSize = lbPrompt->sizeHint();
  const QSize editSize(kEditWidth, edValue->sizeHint().height());
  const QSize buttonSize(std::max(kButtonWidth, btnCancel->sizeHint().width()),
                         std::max(kButtonHeight, btnOK->sizeHint().height()));
  const TInputLayout l = InputLayout(promptSize, editSize, buttonSize);
  lbPrompt->setGeometry(l.prompt);
  edValue->setGeometry(l.edit);
  btnOK->setGeometry(l.ok);
  btnCancel->setGeometry(l.cancel);
  setFixedSize(l.client);
}

void TInputForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
  edValue->selectAll();
  edValue->setFocus(Qt::OtherFocusReason);
}

}  // namespace qz
