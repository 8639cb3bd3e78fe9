#include "app/chartrequest.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/cmdline.h"
#include "display/disptypes.h"

namespace qz {
namespace {

TEST(ChartRequest, NamesAreTheWindowCaptionsInLowerCaseInMenuOrder) {
  EXPECT_EQ(ChartTypeNames(), (QStringList{"mag", "logmag", "vswr", "phase", "polar", "z-smith",
                                           "y-smith", "oven", "power", "logpower", "freq"}));
}

TEST(ChartRequest, TypeAndSizeAreReadOrRefusedWithOneLine) {
  struct Case {
    const char* text;
    bool ok;
    TChartRequest req;
    const char* reason;  // start of the reason when refused
  } cases[] = {
      {"z-smith:640x480", true, {diZSmith, 640, 480}, ""},
      {"mag", true, {diMag, 800, 600}, ""},
      {"LogPower", true, {diLogPower, 800, 600}, ""},
      {"freq:64X4096", true, {diFreq, 64, 4096}, ""},
      {"oven:100x100", true, {diOven, 100, 100}, ""},
      {"smith", false, {}, "Unknown chart type \"smith\": use one of mag, logmag,"},
      {"", false, {}, "Unknown chart type \"\""},
      {":640x480", false, {}, "Unknown chart type \"\""},
      {"mag:640", false, {}, "The chart size \"640\" is not WIDTHxHEIGHT"},
      {"mag:", false, {}, "The chart size \"\" is not WIDTHxHEIGHT"},
      {"mag:640x480x2", false, {}, "The chart size \"640x480x2\""},
      {"mag:x480", false, {}, "The chart size \"x480\""},
      {"mag:1e3x480", false, {}, "The chart size \"1e3x480\""},
      {"mag:63x480", false, {}, "The chart size 63x480 is outside 64 to 4096 pixels a side."},
      {"mag:640x4097", false, {}, "The chart size 640x4097 is outside"},
      {"mag:-640x480", false, {}, "The chart size -640x480 is outside"},
      {"mag:99999999999999999999x5", false, {}, "The chart size \"99999999999999999999x5\""},
      // A line break in the text stays out of the reason's one line.
      {"ma\ng", false, {}, "Unknown chart type \"ma?g\""},
      {"mag:64\x1b\n480", false, {}, "The chart size \"64??480\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TChartRequest req{diPhase, 1, 1};
    QString error;
    EXPECT_EQ(ParseChartOption(QString::fromUtf8(c.text), req, error), c.ok);
    if (c.ok) {
      EXPECT_EQ(req, c.req);
      EXPECT_TRUE(error.isEmpty());
    } else {
      EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.reason))) << error.toStdString();
      EXPECT_FALSE(error.contains(QChar('\n')));
      EXPECT_EQ(req, (TChartRequest{diPhase, 1, 1}));  // untouched
    }
  }
}

TEST(ChartRequest, FormatByExtensionLetterCaseIgnored) {
  struct Case {
    const char* path;
    TChartFormat format;
  } cases[] = {
      {"x.png", TChartFormat::Png},         {"/a/b/X.PNG", TChartFormat::Png},
      {"x.bmp", TChartFormat::Bmp},         {"x.gif", TChartFormat::Gif},
      {"x.jpg", TChartFormat::Jpeg},        {"x.JPEG", TChartFormat::Jpeg},
      {"x.tif", TChartFormat::Unknown},     {"x", TChartFormat::Unknown},
      {"/a.png/x", TChartFormat::Unknown},  {"", TChartFormat::Unknown},
      {"x.png.txt", TChartFormat::Unknown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ChartFormatOf(QString::fromUtf8(c.path)), c.format);
  }
}

TEST(ChartRequest, ARequestIsCheckedBeforeAnythingIsDrawn) {
  struct Case {
    const char* type;
    int64_t w, h;
    const char* path;
    int code;
    int32_t wanted;
  } cases[] = {
      {"polar", 800, 600, "p.png", 0, diPolar},
      {"Y-SMITH", 64, 64, "p.jpeg", 0, diYSmith},
      {"z-smith:640x480", 640, 480, "p.png", 2, -1},  // the size has its own arguments
      {"nothing", 800, 600, "p.png", 2, -1},
      {"mag", 0, 600, "p.png", 2, -1},
      {"mag", 800, 600, "p.svg", 2, -1},
      {"mag", 800, 600, "", 2, -1},
      {"mag", 800, 600, "a\nb.svg", 2, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    int32_t type = -1;
    const TChartResult r =
        CheckChartRequest(QString::fromUtf8(c.type), c.w, c.h, QString::fromUtf8(c.path), type);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.error.isEmpty(), c.code == 0) << r.error.toStdString();
    EXPECT_FALSE(r.error.contains(QChar('\n')));
    EXPECT_EQ(type, c.wanted);
  }
}

TTrueImage Picture(int32_t w, int32_t h) {
  TTrueImage img;
  img.width = w;
  img.height = h;
  for (int32_t i = 0; i < w * h; ++i) img.pixels.push_back(0xFF000000u | uint32_t(i * 977));
  return img;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

TEST(ChartRequest, TheFileIsWrittenInTheFormatOfItsExtension) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  struct Case {
    const char* name;
    QByteArray magic;
  } cases[] = {
      {"a.png", QByteArray("\x89PNG\r\n\x1A\n", 8)},
      {"a.BMP", "BM"},
      {"a.gif", "GIF8"},
      {"a.jpeg", QByteArray("\xFF\xD8", 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(QString::fromUtf8(c.name));
    const TChartResult r = WriteChartFile(Picture(70, 65), path);
    EXPECT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(ReadAll(path).left(c.magic.size()), c.magic);
  }
}

// A chart that cannot be written leaves whatever had the name as it was and says why in one
// line; nothing is left beside it.
TEST(ChartRequest, AFailedWriteKeepsTheOldFileAndGivesCodeOne) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString missing = dir.filePath("no/such/folder/c.png");
  TChartResult r = WriteChartFile(Picture(70, 65), missing);
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.error.startsWith("Cannot write file \"" + missing + "\": "))
      << r.error.toStdString();
  EXPECT_FALSE(r.error.contains(QChar('\n')));

  // A folder under the chart's name is no file to replace.
  const QString folder = dir.filePath("c.png");
  ASSERT_TRUE(QDir().mkdir(folder));
  r = WriteChartFile(Picture(70, 65), folder);
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(QFileInfo(folder).isDir());

  // An empty picture is refused before the file is touched.
  const QString old = dir.filePath("old.png");
  QFile f(old);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("old chart");
  f.close();
  r = WriteChartFile(TTrueImage{}, old);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(ReadAll(old), QByteArray("old chart"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.png"});

  EXPECT_EQ(WriteChartFile(Picture(70, 65), dir.filePath("c.tiff")).code, 2);
}

TEST(ChartCommandLine, ChartOptionsAreReadOrRefusedBeforeTheRun) {
  struct Case {
    QStringList args;
    const char* error;  // start of the error; "" accepted
  } cases[] = {
      {{"--headless", "--chart", "z-smith:640x480", "--save-chart", "x.png"}, ""},
      {{"--headless", "--passes", "5", "--chart", "vswr", "--save-chart", "x.GIF"}, ""},
      {{"--headless", "--chart", "zsmith", "--save-chart", "x.png"}, "Unknown chart type"},
      {{"--headless", "--chart", "mag", "--save-chart", "x.svg"},
       "The chart file \"x.svg\" needs the extension .png, .bmp, .gif or .jpg."},
      {{"--headless", "--chart", "mag"}, "--chart and --save-chart go together."},
      {{"--headless", "--save-chart", "x.png"}, "--chart and --save-chart go together."},
      {{"--chart", "mag", "--save-chart", "x.png"}, "--chart needs --headless."},
      {{"--headless", "--chart", "mag", "--save-chart", ""}, "--save-chart needs a file name."},
      {{"--headless", "--chart", "mag", "--save-chart", "x.png", "--save-results", "x.png"},
       "--save-results and --save-chart name the same file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const CommandLine cl = ParseCommandLine(QStringList{"QzSim"} + c.args);
    if (*c.error)
      EXPECT_TRUE(cl.error.startsWith(QString::fromUtf8(c.error))) << cl.error.toStdString();
    else
      EXPECT_TRUE(cl.error.isEmpty()) << cl.error.toStdString();
  }
  const CommandLine cl = ParseCommandLine(
      {"QzSim", "--headless", "--chart", "z-smith:640x480", "--save-chart", "x.png"});
  EXPECT_TRUE(cl.chart);
  EXPECT_EQ(cl.chartRequest, (TChartRequest{diZSmith, 640, 480}));
  EXPECT_EQ(cl.saveChartFile, "x.png");
  EXPECT_FALSE(ParseCommandLine({"QzSim", "--headless"}).chart);
  // --help lists the types.
  EXPECT_TRUE(cl.helpText.contains("--chart <TYPE[:WIDTHxHEIGHT]>"));
  EXPECT_TRUE(cl.helpText.simplified().contains(
      "mag, logmag, vswr, phase, polar, z-smith, y-smith, oven, power, "
      "logpower, freq"));
}

}  // namespace
}  // namespace qz
