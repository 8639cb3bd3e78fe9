// The manual in share/qzsim/help: every help request finds its page and anchor, every page is a
// real page (150 words at least, its window's caption named), every link and anchor leads
// somewhere, every page is reached from the index, and the automation pages name every option
// of the command line and every member of the remote control. Each rule is also shown failing
// on a damaged scratch copy.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMetaMethod>
#include <QMetaObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <functional>

#include "app/chartrequest.h"
#include "app/cmdline.h"
#include "app/controlbus.h"
#include "app/helppages.h"
#include "app/helpsearch.h"
#include "app/ui/helprequests.h"

namespace qz {
namespace {

const QString kShipped = QStringLiteral(QZ_TEST_DATA_DIR) + "/../../share/qzsim/help";

QString Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void Write(const QString& path, const QString& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text.toUtf8());
}

// Every option "QzSim --help" lists, as "--name".
QStringList CommandLineOptions() {
  const QString help = ParseCommandLine({QStringLiteral("QzSim")}).helpText;
  QStringList opts;
  static const QRegularExpression re(QStringLiteral("--([a-z][a-z-]*)"));
  for (auto it = re.globalMatch(help); it.hasNext();) {
    const QString o = it.next().captured(0);
    if (!opts.contains(o)) opts << o;
  }
  return opts;
}

// Every method, signal and property of the remote control's own meta-object.
QStringList ControlMembers() {
  const QMetaObject& mo = TControlBus::staticMetaObject;
  QStringList m;
  for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
    m << QString::fromLatin1(mo.method(i).name());
  for (int i = mo.propertyOffset(); i < mo.propertyCount(); ++i)
    m << QString::fromLatin1(mo.property(i).name());
  m.removeDuplicates();
  return m;
}

// The pictures a page shows (img src values).
QStringList Pictures(const QString& html) {
  static const QRegularExpression re(QStringLiteral("<img\\b[^>]*\\bsrc\\s*=\\s*\"([^\"]*)\""),
                                     QRegularExpression::CaseInsensitiveOption);
  QStringList l;
  for (auto it = re.globalMatch(html); it.hasNext();) l << it.next().captured(1);
  return l;
}

// What is wrong with the manual in `folder` (its pictures in `pictures`, the build's help
// folder); empty when nothing is.
QStringList CheckManual(const QString& folder, const QString& pictures) {
  QStringList bad;
  const QDir dir(folder);
  QHash<QString, QString> html;
  for (const QString& n : dir.entryList({QStringLiteral("*.html")}, QDir::Files))
    html[n] = Read(dir.filePath(n));
  auto anchors = [&](const QString& page) { return THelpIndex::Anchors(html.value(page)); };
  // The rows.
  for (const THelpRequest& r : HelpRequests()) {
    const QString page = HelpPageFile(r);
    if (!html.contains(page)) {
      bad << page + ": missing (" + r.origin + ")";
      continue;
    }
    if (!THelpIndex::PlainText(html[page]).contains(r.caption))
      bad << page + ": lacks the caption \"" + r.caption + "\"";
    QStringList wanted;
    if (r.anchor == QStringLiteral("*"))
      wanted = ChartTypeNames();
    else if (!r.anchor.isEmpty())
      wanted << r.anchor;
    for (const QString& a : wanted)
      if (!anchors(page).contains(a)) bad << page + ": no anchor \"" + a + "\"";
  }
  // Every page of a window shows its picture: made by the build, not of one colour.
  for (const THelpRequest& r : HelpRequests())
    if (html.contains(HelpPageFile(r)) && Pictures(html[HelpPageFile(r)]).isEmpty())
      bad << HelpPageFile(r) + ": shows no picture";
  for (auto it = html.cbegin(); it != html.cend(); ++it) {
    for (const QString& src : Pictures(it.value())) {
      const QImage img(pictures + "/" + src);
      if (img.isNull()) {
        bad << it.key() + ": picture " + src + " is missing";
        continue;
      }
      const QImage small = img.convertToFormat(QImage::Format_RGB32);
      bool oneColour = true;
      for (int y = 0; y < small.height() && oneColour; ++y)
        for (int x = 0; x < small.width() && oneColour; ++x)
          oneColour = small.pixel(x, y) == small.pixel(0, 0);
      if (oneColour || img.width() < 50 || img.height() < 50)
        bad << it.key() + ": picture " + src + " shows no window";
    }
  }
  // The pages, their links and how they are reached.
  for (auto it = html.cbegin(); it != html.cend(); ++it) {
    const int words = int(THelpIndex::Words(THelpIndex::PlainText(it.value())).size());
    if (words < 150) bad << it.key() + ": " + QString::number(words) + " words, under 150";
    for (const QString& link : THelpIndex::Links(it.value())) {
      const QString file = link.section('#', 0, 0);
      const QString anchor = link.section('#', 1);
      const QString target = file.isEmpty() ? it.key() : file;
      if (!html.contains(target)) {
        bad << it.key() + ": link \"" + link + "\" leads nowhere";
      } else if (!anchor.isEmpty() && !anchors(target).contains(anchor)) {
        bad << it.key() + ": anchor \"" + link + "\" leads nowhere";
      }
    }
  }
  QSet<QString> reached;
  QStringList todo{QString::fromLatin1(kHelpIndexPage)};
  while (!todo.isEmpty()) {
    const QString p = todo.takeFirst();
    if (reached.contains(p) || !html.contains(p)) continue;
    reached << p;
    for (const QString& link : THelpIndex::Links(html[p])) todo << link.section('#', 0, 0);
  }
  for (auto it = html.cbegin(); it != html.cend(); ++it)
    if (!reached.contains(it.key())) bad << it.key() + ": not reached from the index";
  // The automation pages.
  const QString cl = THelpIndex::PlainText(html.value(QStringLiteral("command-line.html")));
  for (const QString& o : CommandLineOptions())
    if (!cl.contains(o)) bad << "command-line.html: lacks " + o;
  const QString rc = THelpIndex::PlainText(html.value(QStringLiteral("remote-control.html")));
  for (const QString& m : ControlMembers())
    if (!QRegularExpression(QStringLiteral("\\b") + m + QStringLiteral("\\b")).match(rc).hasMatch())
      bad << "remote-control.html: lacks " + m;
  return bad;
}

TEST(HelpManual, TheShippedManualHoldsEveryPageLinkAndFact) {
  ASSERT_TRUE(QFile::exists(kShipped + "/index.html")) << kShipped.toStdString();
  EXPECT_EQ(QDir(kShipped).entryList({QStringLiteral("*.html")}, QDir::Files).size(), 28);
  const QStringList bad = CheckManual(kShipped, HelpFolder());
  EXPECT_TRUE(bad.isEmpty()) << bad.join("\n").toStdString();
  // The lists the checks go by are not empty by accident.
  EXPECT_GE(CommandLineOptions().size(), 10);
  for (const char* m : {"Run", "SaveChart", "RunEnded", "FramesAccepted"})
    EXPECT_TRUE(ControlMembers().contains(m)) << m;
}

// Facts engineers misread, stated where they look for them.
TEST(HelpManual, StatedFactsArePresent) {
  const struct {
    const char* page;
    const char* text;
  } cases[] = {
      {"numbers-and-planes.html", "length along the guide"},
      {"numbers-and-planes.html", "air-line equivalent"},
      {"numbers-and-planes.html", "moves the load value only"},
      {"numbers-and-planes.html", "0.5\u2220131.53\u00B0"},
      {"numbers-and-planes.html", "148.84\u00B0"},
      {"numbers-and-planes.html", "embeds"},
      {"numbers-and-planes.html", "fixture's inverse"},
      {"numbers-and-planes.html", "249.16\u00B0 from the input flange"},
      {"numbers-and-planes.html", "20\u00B7log10|\u0393|"},
      {"numbers-and-planes.html", "The return loss is its negative"},
      {"results-windows.html", "return loss is its negative"},
      {"tuner-autotune.html", "pairs the pre-tune \u0393 with the tuned stubs"},
      {"scenarios.html", "pairs the pre-tune \u0393 with the tuned stub positions"},
      {"charts.html", "not-xor"},
      {"charts.html", "the crossing shows in a different colour"},
      {"chart-dialogs.html", "the crossing shows in another colour"},
      {"setups-files.html", "Consult Help for correct file structure."},
  };
  for (const auto& c : cases) {
    const QString text = THelpIndex::PlainText(Read(kShipped + "/" + c.page));
    EXPECT_TRUE(text.contains(QString::fromUtf8(c.text))) << c.page << ": " << c.text;
  }
}

// Each rule of the check, shown failing once on a damaged copy of the manual.
TEST(HelpManual, EachRuleFailsOnADamagedCopy) {
  const struct {
    const char* what;
    std::function<void(const QString&)> damage;
    const char* expected;
  } cases[] = {
      {"a row lacks its page", [](const QString& d) { QFile::remove(d + "/model.html"); },
       "model.html: missing"},
      {"a page under 150 words",
       [](const QString& d) {
         Write(d + "/tx-timing.html",
               "<html><head><title>TX Timing</title></head><body>TX Timing <a "
               "href=\"index.html\">Index</a></body></html>");
       },
       "words, under 150"},
      {"a page lacks its caption",
       [](const QString& d) {
         const QString p = d + "/system-info.html";
         Write(p, Read(p).replace("System Info", "System information"));
       },
       "system-info.html: lacks the caption"},
      {"a link leads nowhere",
       [](const QString& d) {
         const QString p = d + "/labels.html";
         Write(p, Read(p).replace("</body>", "<a href=\"nowhere.html\">x</a></body>"));
       },
       "leads nowhere"},
      {"an anchor leads nowhere",
       [](const QString& d) {
         const QString p = d + "/labels.html";
         Write(p, Read(p).replace("</body>", "<a href=\"charts.html#nosuch\">x</a></body>"));
       },
       "anchor \"charts.html#nosuch\" leads nowhere"},
      {"a display type lacks its anchor",
       [](const QString& d) {
         const QString p = d + "/charts.html";
         Write(p, Read(p).replace("id=\"oven\"", "id=\"ofen\""));
       },
       "charts.html: no anchor \"oven\""},
      {"a page not reached from the index",
       [](const QString& d) {
         QString words;
         for (int i = 0; i < 200; ++i) words += QStringLiteral("word ");
         Write(d + "/orphan.html", "<html><body>" + words + "</body></html>");
       },
       "orphan.html: not reached from the index"},
      {"command-line.html lacks an option",
       [](const QString& d) {
         const QString p = d + "/command-line.html";
         Write(p, Read(p).replace("--serve", "--sirve"));
       },
       "command-line.html: lacks --serve"},
      {"a picture is missing", [](const QString& d) { QFile::remove(d + "/img/model.png"); },
       "model.html: picture img/model.png is missing"},
      {"a picture of one colour",
       [](const QString& d) {
         QImage grey(300, 200, QImage::Format_RGB32);
         grey.fill(Qt::gray);
         ASSERT_TRUE(grey.save(d + "/img/tx-timing.png"));
       },
       "tx-timing.html: picture img/tx-timing.png shows no window"},
      {"remote-control.html lacks a member",
       [](const QString& d) {
         const QString p = d + "/remote-control.html";
         Write(p, Read(p).replace("MoveStubs", "Move stubs"));
       },
       "remote-control.html: lacks MoveStubs"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    for (const QString& n : QDir(kShipped).entryList({QStringLiteral("*.html")}, QDir::Files))
      ASSERT_TRUE(QFile::copy(kShipped + "/" + n, scratch.filePath(n)));
    ASSERT_TRUE(QDir(scratch.path()).mkdir("img"));
    const QDir img(HelpFolder() + "img");
    for (const QString& n : img.entryList({QStringLiteral("*.png")}, QDir::Files))
      ASSERT_TRUE(QFile::copy(img.filePath(n), scratch.filePath("img/" + n)));
    ASSERT_TRUE(CheckManual(scratch.path(), scratch.path()).isEmpty());
    c.damage(scratch.path());
    const QStringList bad = CheckManual(scratch.path(), scratch.path());
    EXPECT_TRUE(bad.join("\n").contains(c.expected)) << bad.join("\n").toStdString();
  }
}

}  // namespace
}  // namespace qz
