// What a reader finds in the written report: legend words, marked
// past-limit values, zero-padded dates and a time axis of round times,
// read back with poppler (word boxes, top-down points) and qpdf (drawing).
#include "support/MissionRecord.h"
#include "support/PdfTools.h"
#include "support/ScopedTz.h"
#include "support/TempDir.h"

#include "base/TextTable.h"
#include "record/Units.h"
#include "report/pdf/PdfReport.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct Word {
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

// The words of page 1 with their boxes, y counted down from the top (900).
std::vector<Word> FirstPageWords(const QString& pdf)
{
    const QString html = RunTool(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                  QStringLiteral("1"), pdf, QStringLiteral("-")}).out;
    static const QRegularExpression kWord(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> words;
    for (auto it = kWord.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble(), m.captured(5)});
    }
    return words;
}

// Words whose top lies in [top, bottom), left to right.
std::vector<Word> Band(const std::vector<Word>& words, double top, double bottom)
{
    std::vector<Word> band;
    std::copy_if(words.begin(), words.end(), std::back_inserter(band),
                 [&](const Word& w) { return w.yMin >= top && w.yMin < bottom; });
    std::sort(band.begin(), band.end(), [](const Word& a, const Word& b) { return a.xMin < b.xMin; });
    return band;
}

// Words starting in [left, right).
std::vector<Word> Between(const std::vector<Word>& words, double left, double right)
{
    std::vector<Word> part;
    std::copy_if(words.begin(), words.end(), std::back_inserter(part),
                 [&](const Word& w) { return w.xMin >= left && w.xMin < right; });
    return part;
}

QString Joined(const std::vector<Word>& words)
{
    QStringList texts;
    for (const Word& w : words)
        texts << w.text;
    return texts.join(QLatin1Char(' '));
}

// The page's drawing operators, uncompressed.
QString Operators(const QString& pdf, const QString& qdf)
{
    RunTool(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), pdf, qdf});
    QFile f(qdf);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.readAll());
}

class PdfChartReading : public ::testing::Test {
protected:
    QString Write(const DisplaySettings& display, const QString& name)
    {
        const QString path = m_dir.path(name);
        QString why;
        EXPECT_TRUE(WritePdfReport(m_record, display, path, &why)) << why.toStdString();
        return path;
    }

    CLoggerRecord m_record;
    ScopedTz m_tz{"UTC"};
    TempDir m_dir;
};

// The band above the plot (top-down y 200 .. 220) holds the legend words:
// the temperature's right of its dash (x 65 .. 80), the humidity's ending
// left of its dash (x 515 .. 530), apart from each other.
TEST_F(PdfChartReading, LegendWordsBesideTheirDashes)
{
    struct Case {
        int type;
        DisplaySettings display;
        const char* temperature;
        const char* humidity;
    } const cases[] = {
        {4, {TempUnit::Celsius, 0}, "Temperature \u00B0C", "Humidity %RH"},
        {1, {TempUnit::Fahrenheit, 0}, "Temperature \u00B0F", ""},
        {4, {TempUnit::Fahrenheit, LANG_CHINESE}, "温度 \u00B0F", "湿度 %RH"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.temperature);
        MakeMission(m_record, c.type, 20);
        const std::vector<Word> band = Band(FirstPageWords(Write(c.display, QStringLiteral("legend.pdf"))), 200, 220);
        std::vector<Word> left, right;
        for (const Word& w : band)
            (w.xMin < 300 ? left : right).push_back(w);
        EXPECT_EQ(Joined(left), QString::fromUtf8(c.temperature));
        EXPECT_EQ(Joined(right), QString::fromUtf8(c.humidity));
        for (const Word& w : band)
            EXPECT_LE(w.yMax, 220) << "on the plot's top edge: " << w.text.toStdString();
        if (!left.empty()) {
            EXPECT_GT(left.front().xMin, 80);
        }
        if (!right.empty()) {
            EXPECT_LT(right.back().xMax, 515);
            EXPECT_GT(right.front().xMin, left.back().xMax);
        }
    }
}

// A value past an alarm limit in force carries the limit it passed, in the
// table's unit; within the limits, or without an alarm, the value stands alone.
TEST_F(PdfChartReading, PastLimitValuesAreMarkedInTheTable)
{
    const float temps[] = {1.5f, 2.0f, 8.0f, 8.01f};
    const float humis[] = {39.5f, 40.0f, 60.0f, 60.5f};
    struct Case {
        TempUnit unit;
        bool alarms;
        const char* temp[4];
        const char* humi[4];
    } const cases[] = {
        {TempUnit::Celsius, true, {"1.50 [<2.00]", "2.00", "8.00", "8.01 [>8.00]"},
         {"39.50 [<40.00]", "40.00", "60.00", "60.50 [>60.00]"}},
        {TempUnit::Fahrenheit, true, {"34.70 [<35.60]", "35.60", "46.40", "46.42 [>46.40]"},
         {"39.50 [<40.00]", "40.00", "60.00", "60.50 [>60.00]"}},
        {TempUnit::Celsius, false, {"1.50", "2.00", "8.00", "8.01"}, {"39.50", "40.00", "60.00", "60.50"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.temp[0]);
        MakeMission(m_record, 4, 4);
        std::copy(std::begin(temps), std::end(temps), m_record.m_fTempShown.begin());
        std::copy(std::begin(humis), std::end(humis), m_record.m_fHumi.begin());
        m_record.m_bTempAlarm = m_record.m_bHumiAlarm = c.alarms;
        const QString text = PdfText(Write({c.unit, 0}, QStringLiteral("marks.pdf")));
        for (int s = 0; s < 4; ++s) {
            const QString row = QStringLiteral("\\n *%1 +2026-06-15 %2 +%3 +%4 *\\n")
                                    .arg(s + 1)
                                    .arg(QStringLiteral("08:%1").arg(s * 10, 2, 10, QLatin1Char('0')),
                                         QRegularExpression::escape(QString::fromUtf8(c.temp[s])),
                                         QRegularExpression::escape(QString::fromUtf8(c.humi[s])));
            EXPECT_TRUE(text.contains(QRegularExpression(row))) << s << "\n" << text.left(3000).toStdString();
        }
    }
}

// Dates are zero-padded wherever the report shows one: summary, axis, table.
// The time axis marks round times (whole hours here) at their x and labels
// them in two rows inside x 100 .. 500 without overlap: times above, dates
// below the first label and each new day's first.
TEST_F(PdfChartReading, DatesAndTheTimeAxis)
{
    struct Case {
        int samples;
        time64 interval;
        QStringList dates; // of the axis, left to right
    } const cases[] = {
        {67, 600, {"2026-06-15"}},
        {300, 900, {"2026-06-15", "2026-06-16", "2026-06-17", "2026-06-18"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.samples);
        MakeMission(m_record, 4, c.samples, c.interval);
        const QString path = Write(kDefaultDisplay, QStringLiteral("axis.pdf"));
        const QString text = PdfText(path);
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("\\d{4}- *\\d-|\\d{4}-\\d\\d- *\\d\\b"))))
            << text.left(3000).toStdString();
        const std::vector<Word> words = FirstPageWords(path);
        const QString stop = QDateTime::fromSecsSinceEpoch(m_record.m_tStop).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        const std::vector<Word> timeRow = Band(words, 75, 80);
        EXPECT_EQ(Joined(Between(timeRow, 125, 260)), QStringLiteral("2026-06-15 08:00"));
        EXPECT_EQ(Joined(Between(timeRow, 335, 470)), stop);
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n *1 +2026-06-15 08:00 "))));

        const std::vector<Word> times = Band(words, 475, 488);
        const std::vector<Word> dates = Band(words, 488, 500);
        ASSERT_GE(times.size(), 3u);
        EXPECT_EQ(Joined(dates), c.dates.join(QLatin1Char(' ')));
        for (const std::vector<Word>* row : {&times, &dates}) {
            for (std::size_t i = 0; i < row->size(); ++i) {
                const Word& w = (*row)[i];
                EXPECT_GE(w.xMin, 100 - 0.01) << w.text.toStdString();
                EXPECT_LE(w.xMax, 500 + 0.01) << w.text.toStdString();
                if (i > 0) {
                    EXPECT_GT(w.xMin, (*row)[i - 1].xMax + 2) << w.text.toStdString();
                }
            }
        }
        for (const Word& w : times)
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:00$")).match(w.text).hasMatch()) << w.text.toStdString();
        // The first label carries its date: the two share their left part.
        EXPECT_LT(dates.front().xMin, times.front().xMax);

        // Marks below the plot: at whole hours, evenly spaced, one under
        // each time label (at most half a date's width from its middle).
        const QString ops = Operators(path, m_dir.path(QStringLiteral("qdf.pdf")));
        const double secondsPerPoint = static_cast<double>(m_record.m_tStop - m_record.m_tStart) / 400;
        std::vector<double> marks;
        static const QRegularExpression kMark(QStringLiteral("\\n([\\d.]+) 428 m\\n\\1 434 l"));
        for (auto it = kMark.globalMatch(ops); it.hasNext();)
            marks.push_back(it.next().captured(1).toDouble());
        ASSERT_GE(marks.size(), times.size());
        for (std::size_t i = 0; i < marks.size(); ++i) {
            const double t = static_cast<double>(m_record.m_tStart) + (marks[i] - 100) * secondsPerPoint;
            EXPECT_NEAR(std::remainder(t, 3600.0), 0, 1) << marks[i];
            if (i > 1) {
                EXPECT_NEAR(marks[i] - marks[i - 1], marks[1] - marks[0], 0.01);
            }
        }
        for (const Word& w : times) {
            const double middle = (w.xMin + w.xMax) / 2;
            const auto nearest = std::min_element(marks.begin(), marks.end(), [middle](double a, double b) {
                return std::abs(a - middle) < std::abs(b - middle);
            });
            EXPECT_LE(std::abs(*nearest - middle), 21) << w.text.toStdString();
            const time64 t = m_record.m_tStart + std::llround((*nearest - 100) * secondsPerPoint);
            EXPECT_EQ(w.text, QDateTime::fromSecsSinceEpoch(t).toString(QStringLiteral("HH:mm")));
        }
    }
}

} // namespace
