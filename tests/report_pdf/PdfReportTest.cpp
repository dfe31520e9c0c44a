// The PDF report read back by poppler and qpdf: pages, texts, fonts, failures.
#include "support/MissionRecord.h"
#include "support/PdfTools.h"
#include "support/ScopedTz.h"
#include "support/TempDir.h"

#include "base/TextTable.h"
#include "record/Units.h"
#include "report/pdf/PdfChart.h"
#include "report/pdf/PdfReport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class PdfReport : public ::testing::Test {
protected:
    CLoggerRecord m_record;
    ScopedTz m_tz{"UTC"};
    TempDir m_dir;
};

TEST_F(PdfReport, PagesHoldEveryRowAndExtractAsPlainText)
{
    struct Case {
        int type;
        int samples;
        int pages;
    } const cases[] = {{1, 0, 1}, {1, 14, 1}, {4, 15, 2}, {1, 52, 2}, {4, 53, 3}, {1, 14 + 38 * 3 + 1, 5}};
    const DisplaySettings celsius{TempUnit::Celsius};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.samples);
        MakeMission(m_record, c.type, c.samples, 600, celsius.unit);
        const QString path = m_dir.path(QStringLiteral("r%1.pdf").arg(c.samples));
        QString why;
        ASSERT_TRUE(WritePdfReport(m_record, celsius, path, &why)) << why.toStdString();
        EXPECT_EQ(PdfReportPages(c.samples), c.pages);
        EXPECT_EQ(PdfPages(path), c.pages);
        EXPECT_EQ(QpdfCheck(path), 0);
        const QString text = PdfText(path);
        const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        ASSERT_EQ(pages.size(), c.pages);
        EXPECT_TRUE(pages[0].contains(QStringLiteral("1/%1").arg(c.pages)));
        EXPECT_TRUE(pages.last().contains(QStringLiteral("%1/%1").arg(c.pages)));
        EXPECT_TRUE(text.contains(QLatin1String("Serial Number:")));
        EXPECT_TRUE(text.contains(QLatin1String("TH20260615A")));
        EXPECT_TRUE(text.contains(QLatin1String("Measure Time")));
        EXPECT_TRUE(text.contains(QString::fromUtf8("Temperature[\u00B0C]")));
        EXPECT_EQ(text.contains(QString::fromUtf8("Humidity[%RH]")), c.type == 4);
        // Every sample row: its number, time and value, on the page it belongs to.
        for (int s = 0; s < c.samples; ++s) {
            const int page = s < 14 ? 0 : 1 + (s - 14) / 38;
            const QString time = QDateTime::fromSecsSinceEpoch(m_record.m_tTime[s]).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
            const QString row = QStringLiteral("%1 +%2 +%3").arg(s + 1).arg(QRegularExpression::escape(time),
                QString::asprintf("%.2f", static_cast<double>(m_record.m_fTempShown[s])));
            EXPECT_TRUE(pages[page].contains(QRegularExpression(QStringLiteral("(^|\\n) *") + row))) << s;
        }
    }
}

TEST_F(PdfReport, ChineseTextsExtractAsChineseAndFahrenheitConvertsTheTable)
{
    MakeMission(m_record, 4, 60);
    const QString path = m_dir.path(QStringLiteral("zh.pdf"));
    QString why;
    ASSERT_TRUE(WritePdfReport(m_record, {TempUnit::Fahrenheit, LANG_CHINESE}, path, &why)) << why.toStdString();
    EXPECT_EQ(QpdfCheck(path), 0);
    const QString text = PdfText(path);
    EXPECT_TRUE(text.contains(QString::fromUtf8("第1页/共3页"))) << text.left(2000).toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("测量时间")));
    EXPECT_TRUE(text.contains(QString::fromUtf8("温度[\u00B0F]")));
    EXPECT_TRUE(text.contains(QString::asprintf("%.2f", m_record.m_fTempShown[0] * 1.8 + 32)));
    // Nothing is embedded: the file names its fonts only.
    const QString fonts = RunTool(QStringLiteral("pdffonts"), {path}).out;
    EXPECT_TRUE(fonts.contains(QLatin1String("Helvetica")));
    EXPECT_TRUE(fonts.contains(QLatin1String("SimSun")));
    EXPECT_FALSE(fonts.contains(QLatin1String(" yes ")));
}

TEST_F(PdfReport, BrokenTimesStillGiveAWholeFile)
{
    // Stop before start: the curve is left out, the table is not.
    // Stop equal to start with a zero interval: every window is the first.
    struct Case {
        time64 stopShift;
        time64 interval;
    } const cases[] = {{-3600, 600}, {0, 0}};
    for (const Case& c : cases) {
        MakeMission(m_record, 4, 40, c.interval);
        m_record.m_tStop = m_record.m_tStart + c.stopShift;
        const QString path = m_dir.path(QStringLiteral("broken.pdf"));
        QString why;
        ASSERT_TRUE(WritePdfReport(m_record, kDefaultDisplay, path, &why)) << why.toStdString();
        EXPECT_EQ(QpdfCheck(path), 0);
        EXPECT_EQ(PdfPages(path), 2);
        EXPECT_TRUE(PdfText(path).contains(QRegularExpression(QStringLiteral("\\n *40 "))));
    }
}

// The page's drawing operators, uncompressed.
QString Operators(const QString& pdf, const QString& qdf)
{
    RunTool(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), pdf, qdf});
    QFile f(qdf);
    f.open(QIODevice::ReadOnly);
    return QString::fromLatin1(f.readAll());
}

TEST_F(PdfReport, LimitsOnTheBandEdgesAndPageNumbersInPlace)
{
    MakeMission(m_record, 4, 60);
    m_record.m_fLowLimit = -80;
    m_record.m_fHighLimit = 90;
    m_record.m_fHumiLowLimit = 45; // inside the humidity scale
    const QString path = m_dir.path(QStringLiteral("limits.pdf"));
    QString why;
    ASSERT_TRUE(WritePdfReport(m_record, kDefaultDisplay, path, &why)) << why.toStdString();
    const QString ops = Operators(path, m_dir.path(QStringLiteral("qdf.pdf")));
    EXPECT_TRUE(ops.contains(QLatin1String("[2 3 ] 0 d\n100 660 m\n500 660 l\n100 450 m\n500 450 l\nS")));
    const float humiY = std::trunc((45 - m_record.m_fHumiMin) * 200 / (m_record.m_fHumiMax - m_record.m_fHumiMin) + 455);
    EXPECT_TRUE(ops.contains(QStringLiteral("100 %1 m\n500 %1 l\nS").arg(humiY)));
    // Legends: temperature red, humidity blue.
    EXPECT_TRUE(ops.contains(QLatin1String("1 0 0 RG\n65 680 m\n80 680 l")));
    EXPECT_TRUE(ops.contains(QLatin1String("0 0 1 RG\n515 680 m\n530 680 l")));
    // Page numbers at x 500 on page 1, 470 after.
    const QString boxes = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}).out;
    EXPECT_TRUE(boxes.contains(QRegularExpression(QStringLiteral("xMin=\"500\\.0+\"[^>]*>1/3<"))));
    EXPECT_TRUE(boxes.contains(QRegularExpression(QStringLiteral("xMin=\"470\\.0+\"[^>]*>2/3<"))));
    EXPECT_TRUE(boxes.contains(QRegularExpression(QStringLiteral("xMin=\"470\\.0+\"[^>]*>3/3<"))));
}

// Writes the report of record in a child process limited to limit bytes of
// file. Returns the child's exit code: 0 written, 1 refused with a reason.
int WriteLimited(const CLoggerRecord& record, const QString& path, rlim_t limit)
{
    const pid_t child = fork();
    if (child == 0) {
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        std::signal(SIGXFSZ, SIG_IGN);
        QString why;
        const bool written = WritePdfReport(record, kDefaultDisplay, path, &why);
        _exit(written ? 0 : why.contains(QLatin1String("file too large")) ? 1 : 2);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(PdfReport, FailedWriteKeepsTheEarlierFile)
{
    MakeMission(m_record, 4, 500);
    const QString path = m_dir.path(QStringLiteral("report.pdf"));
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
    }
    EXPECT_EQ(WriteLimited(m_record, path, 4096), 1);
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
    EXPECT_EQ(QDir(m_dir.root()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    QString why;
    EXPECT_FALSE(WritePdfReport(m_record, kDefaultDisplay, m_dir.path(QStringLiteral("none/report.pdf")), &why));
    EXPECT_TRUE(why.contains(QLatin1String("no such file"))) << why.toStdString();
    EXPECT_FALSE(WritePdfReport(m_record, kDefaultDisplay, QString(), &why));
    EXPECT_EQ(WriteLimited(m_record, path, 1 << 24), 0);
    EXPECT_EQ(QpdfCheck(path), 0);
}

TEST(PdfWindowExtremes, FirstOfEqualExtremesInTimeOrder)
{
    CLoggerRecord r;
    MakeMission(r, 1, 6, 60);
    const float values[] = {3, 7, 1, 7, 1, 5};
    std::copy(std::begin(values), std::end(values), r.m_fTempShown.begin());
    const time64 t = r.m_tStart;
    struct Case {
        time64 t0, t1;
        int first, second;
    } const cases[] = {
        {t, t + 300, 1, 2},          // max at 1, min at 2
        {t + 120, t + 240, 2, 3},    // min 2 (first of the equal ones), max 3
        {t + 300, t + 300, 5, 5},    // one sample
        {t - 500, t + 30, 0, 0},     // clamped to the start
        {t + 301, t + 900, -1, -1},  // past the stop
        {t + 200, t + 100, -1, -1},  // reversed
    };
    for (const Case& c : cases) {
        const auto [a, b] = WindowExtremes(r, r.m_fTempShown.data(), c.t0, c.t1);
        EXPECT_EQ(a, c.first) << c.t0 - t;
        EXPECT_EQ(b, c.second) << c.t0 - t;
    }
}

} // namespace
