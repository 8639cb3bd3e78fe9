#include "app/ui/form1.h"

#include <QMdiArea>

#include "app/caption.h"
#include "version.h"

namespace qz {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("MdiArea"));
  setCentralWidget(mdi_);
  resize(900, 650);
  SetMainCaption();
}

void TForm1::SetMainCaption() { setWindowTitle(MainCaption(QStringLiteral(QZ_VERSION))); }

}  // namespace qz
