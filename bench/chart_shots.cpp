// Pictures of the four chart kinds with traces, a label and a caption, for looking at: shows
// them in one window and saves each panel and the window as PNG files into the folder given
// (default: the current one).
#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <memory>

#include "charts/circraster.h"
#include "charts/ovenraster.h"
#include "charts/raster.h"
#include "charts/smithraster.h"
#include "charts/ui/rasterpanel.h"

using namespace qz;

namespace {

TOsData Range(const QString& name, double lo, double hi) {
  TOsData d;
  d.Meno = name;
  d.MinAsk = d.MinDflt = lo;
  d.MaxAsk = d.MaxDflt = hi;
  return d;
}

void Spiral(TTraces& list, double turns, double r0, double r1) {
  list.Pridaj("Rho", nullptr, 4);
  TOneTrace* t = list.Trace(list.Count() - 1);
  t->Attr().Dots.Visible = true;
  t->Attr().Dots.Tvar = tvCircle;
  for (int i = 0; i < 120; ++i) {
    const double a = turns * 2 * M_PI * i / 119.0, r = r0 + (r1 - r0) * i / 119.0;
    t->AddXY(r * std::cos(a), r * std::sin(a));
  }
}

TRasterPanel* Panel(std::unique_ptr<TRaster> r, TTraces& list, const QString& caption) {
  r->CapText = caption;
  r->CapVisible = true;
  r->AssignTraces(&list);
  auto* p = new TRasterPanel(std::move(r));
  p->setMinimumSize(420, 340);
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  TTraces rect, polar, smith, vswr;
  for (int j = 0; j < 2; ++j) {
    rect.Pridaj(j ? "Pref" : "Pinc", nullptr, 4);
    TOneTrace* t = rect.Trace(j);
    t->Attr().LinePen.Color = j ? clBlue : clRed;
    t->Attr().Dots.Visible = j == 1;
    t->Attr().Dots.Tvar = j ? tvTriangleUp : tvSquare;
    for (int i = 0; i <= 100; ++i) t->AddXY(i * 0.1, (j ? 3 : 6) + 2 * std::sin(i * 0.1 + j));
  }
  Spiral(polar, 1.5, 0.1, 0.9);
  Spiral(smith, 2.0, 0.05, 0.7);
  Spiral(vswr, 1.0, 0.1, 0.6);
  TRozne lim;
  lim.Lim.Va = 0.5;
  TRozne vs;
  vs.Lim.Va = 2.0;
  QWidget w;
  auto* grid = new QGridLayout(&w);
  TRasterPanel* panels[4] = {
      Panel(std::make_unique<TRaster>(TRozne{}, Range("Power", 0, 10), Range("Time", 0, 10)), rect,
            "Incident and reflected power"),
      Panel(std::make_unique<TCircRaster>(lim, Range("Im", -1, 1), Range("Re", -1, 1)), polar,
            "Reflection coefficient"),
      Panel(std::make_unique<TSmithRaster>(TRozne{}, Range("", -1, 1), Range("", -1, 1), ZSmith),
            smith, "Load impedance"),
      Panel(std::make_unique<TOvenRaster>(vs, Range("", -1, 1), Range("", -1, 1)), vswr,
            "Load VSWR"),
  };
  for (int i = 0; i < 4; ++i) grid->addWidget(panels[i], i / 2, i % 2);
  w.resize(880, 720);
  w.show();
  QTimer::singleShot(300, [&] {
    panels[0]->Raster().ChildPopupMenuX = 300;
    panels[0]->Raster().ChildPopupMenuY = 60;
    panels[0]->NewLabel()->setText("Peak");
    panels[0]->EndEdit(false);
    const char* names[4] = {"rect", "polar", "smith", "vswr"};
    for (int i = 0; i < 4; ++i) {
      panels[i]->RenderNow();
      panels[i]->grab().save(out + "/chart_" + names[i] + ".png");
    }
    w.grab().save(out + "/charts_all.png");
    QTimer::singleShot(200, &app, &QApplication::quit);
  });
  return app.exec();
}
