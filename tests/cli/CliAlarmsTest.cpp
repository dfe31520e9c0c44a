// halvern-th-cli alarms and info --json on the sample mission, and the
// language of the CLI's texts.
#include "cli/CliRun.h"
#include "support/TempDir.h"

#include "datafile/LoggerFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QString kSample = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");

// Runs the CLI with extra environment variables.
CliRun CliWith(const QStringList& args, const QStringList& environment)
{
    return Cli(args, 0, [&](QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : environment)
            env.insert(entry.section('=', 0, 0), entry.section('=', 1));
        p.setProcessEnvironment(env);
    });
}

QJsonObject ParseObject(const QString& text)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << text.toStdString();
    EXPECT_TRUE(doc.isObject());
    return doc.object();
}

TEST(CliAlarms, TextLinesPerExcursionAndTotalsPerChannel)
{
    const CliRun c = Cli({QStringLiteral("alarms"), kSample, QStringLiteral("--unit"), QStringLiteral("C")});
    ASSERT_EQ(c.code, 0) << c.err.toStdString();
    EXPECT_EQ(c.out, QString::fromUtf8(
                         "Temperature\tUpper Limit\t8.00\u00B0C\t2026-6-16 14:30\t2026-6-16 15:30\t01:15:00\t11.52\u00B0C\n"
                         "Humidity\tUpper Limit\t70.00%RH\t2026-6-16 14:45\t2026-6-16 15:30\t01:00:00\t81.81%RH\n"
                         "Temperature\tExcursions: 1\tTime above: 01:15:00\tTime below: 00:00:00\tLongest: 01:15:00\n"
                         "Humidity\tExcursions: 1\tTime above: 01:00:00\tTime below: 00:00:00\tLongest: 01:00:00\n"));
    EXPECT_TRUE(c.err.isEmpty());

    // A range without the excursion: none listed, the totals still there, exit 0.
    const CliRun day = Cli({QStringLiteral("alarms"), kSample, QStringLiteral("--from"), QStringLiteral("2026-06-17 00:00")});
    ASSERT_EQ(day.code, 0) << day.err.toStdString();
    EXPECT_EQ(day.out, QStringLiteral("Temperature\tExcursions: 0\tTime above: 00:00:00\tTime below: 00:00:00\tLongest: 00:00:00\n"
                                      "Humidity\tExcursions: 0\tTime above: 00:00:00\tTime below: 00:00:00\tLongest: 00:00:00\n"));

    // A range that cuts into the excursion: the run ends with the range.
    const CliRun cut = Cli({QStringLiteral("alarms"), kSample, QStringLiteral("--from"), QStringLiteral("2026-06-16 15:00"),
                            QStringLiteral("--to"), QStringLiteral("2026-06-16 15:15"), QStringLiteral("--unit=C")});
    ASSERT_EQ(cut.code, 0) << cut.err.toStdString();
    EXPECT_TRUE(cut.out.startsWith(QString::fromUtf8(
        "Temperature\tUpper Limit\t8.00\u00B0C\t2026-6-16 15:00\t2026-6-16 15:15\t00:30:00\t11.52\u00B0C\n")))
        << cut.out.toStdString();

    const CliRun missing = Cli({QStringLiteral("alarms"), QStringLiteral("/nonexistent/x.tavo"), QStringLiteral("--json")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_EQ(Cli({QStringLiteral("alarms"), kSample, QStringLiteral("--csv"), QStringLiteral("x.csv")}).code, 2);
}

TEST(CliAlarms, JsonForScripts)
{
    const CliRun c = CliWith({QStringLiteral("alarms"), kSample, QStringLiteral("--json")}, {QStringLiteral("TZ=Europe/Berlin")});
    ASSERT_EQ(c.code, 0) << c.err.toStdString();
    // Keys in a fixed order, numbers as numbers.
    EXPECT_TRUE(c.out.startsWith(QString::fromUtf8("{\"unit\": \"\u00B0F\", \"excursions\": [{\"channel\": \"temperature\", "
                                                   "\"limit\": \"upper\", \"limit_value\": 46.4, \"first\": \"2026-06-16T14:30:00+02:00\", ")))
        << c.out.toStdString();
    EXPECT_TRUE(c.out.endsWith(QStringLiteral("}\n")));
    const QJsonObject root = ParseObject(c.out);
    EXPECT_EQ(root.value("unit").toString(), QString::fromUtf8("\u00B0F"));
    const QJsonArray excursions = root.value("excursions").toArray();
    ASSERT_EQ(excursions.size(), 2);
    const QJsonObject t = excursions[0].toObject();
    EXPECT_EQ(t.value("channel").toString(), "temperature");
    EXPECT_EQ(t.value("last").toString(), "2026-06-16T15:30:00+02:00");
    EXPECT_EQ(t.value("samples").toInt(), 5);
    EXPECT_EQ(t.value("duration_s").toInt(), 4500);
    EXPECT_DOUBLE_EQ(t.value("peak").toDouble(), 52.74);
    const QJsonObject h = excursions[1].toObject();
    EXPECT_EQ(h.value("channel").toString(), "humidity");
    EXPECT_EQ(h.value("limit").toString(), "upper");
    EXPECT_DOUBLE_EQ(h.value("limit_value").toDouble(), 70.0);
    EXPECT_DOUBLE_EQ(h.value("peak").toDouble(), 81.81);
    EXPECT_EQ(h.value("first").toString(), "2026-06-16T14:45:00+02:00");
    const QJsonObject totals = root.value("totals").toObject();
    EXPECT_EQ(totals.keys(), (QStringList{"humidity", "temperature"}));
    const QJsonObject tt = totals.value("temperature").toObject();
    EXPECT_EQ(tt.value("excursions").toInt(), 1);
    EXPECT_EQ(tt.value("above_s").toInt(), 4500);
    EXPECT_EQ(tt.value("below_s").toInt(), 0);
    EXPECT_EQ(tt.value("longest_s").toInt(), 4500);

    const CliRun celsius = Cli({QStringLiteral("alarms"), kSample, QStringLiteral("--json"), QStringLiteral("--unit=C")});
    const QJsonObject c2 = ParseObject(celsius.out);
    EXPECT_EQ(c2.value("unit").toString(), QString::fromUtf8("\u00B0C"));
    EXPECT_DOUBLE_EQ(c2.value("excursions").toArray()[0].toObject().value("limit_value").toDouble(), 8.0);
    EXPECT_DOUBLE_EQ(c2.value("excursions").toArray()[0].toObject().value("peak").toDouble(), 11.52);
}

TEST(CliAlarms, AChannelWithoutItsAlarmIsLeftOut)
{
    // A copy of the mission with equal temperature limits: no alarm.
    TempDir dir;
    const QString copy = dir.path("equal.tavo");
    CLoggerRecord record;
    ASSERT_EQ(OpenDataFileRecord(kSample, record, kDefaultDisplay), OpenDataResult::Loaded);
    record.m_fHighLimit = record.m_fLowLimit = 2.0f;
    record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Shelf \"B\" \\ 2\tend");
    {
        CLoggerFile file(copy, CLoggerFile::ModeWrite);
        ASSERT_TRUE(file.IsOutputOpen() && file.Save(record, false));
    }
    const QJsonObject root = ParseObject(Cli({QStringLiteral("alarms"), copy, QStringLiteral("--json")}).out);
    const QJsonArray excursions = root.value("excursions").toArray();
    ASSERT_EQ(excursions.size(), 1);
    EXPECT_EQ(excursions[0].toObject().value("channel").toString(), "humidity");
    EXPECT_EQ(root.value("totals").toObject().keys(), QStringList{"humidity"});

    // info --json leaves the limits out too; quotes and backslashes come back whole.
    const QJsonObject info = ParseObject(Cli({QStringLiteral("info"), copy, QStringLiteral("--json")}).out);
    EXPECT_FALSE(info.value("temperature").toObject().contains("upper_limit"));
    EXPECT_TRUE(info.value("temperature").toObject().contains("max"));
    EXPECT_EQ(info.value("description").toString(), QString::fromUtf8("Shelf \"B\" \\ 2\uFFFDend"));
}

TEST(CliInfo, JsonSummaryWithNumbersAsNumbers)
{
    const CliRun c = CliWith({QStringLiteral("info"), kSample, QStringLiteral("--json")}, {QStringLiteral("TZ=Europe/Berlin")});
    ASSERT_EQ(c.code, 0) << c.err.toStdString();
    const QJsonObject root = ParseObject(c.out);
    EXPECT_EQ(root.value("id").toString(), "UTH26061501");
    EXPECT_EQ(root.value("start").toString(), "2026-06-15T08:00:00+02:00");
    EXPECT_EQ(root.value("stop").toString(), "2026-06-18T19:45:00+02:00");
    EXPECT_EQ(root.value("interval_s").toInt(), 900);
    EXPECT_EQ(root.value("samples").toInt(), 336);
    const QJsonObject t = root.value("temperature").toObject();
    EXPECT_DOUBLE_EQ(t.value("max").toDouble(), 52.74);
    EXPECT_DOUBLE_EQ(t.value("upper_limit").toDouble(), 46.4);
    EXPECT_DOUBLE_EQ(t.value("lower_limit").toDouble(), 35.6);
    EXPECT_TRUE(t.value("mkt").isDouble());
    const QJsonObject h = root.value("humidity").toObject();
    EXPECT_DOUBLE_EQ(h.value("max").toDouble(), 81.81);
    EXPECT_DOUBLE_EQ(h.value("lower_limit").toDouble(), 30.0);
    EXPECT_EQ(root.value("description").toString(), "Cold room 2, vaccine shelf B");
}

TEST(CliLanguage, CaptionsFollowTheLocaleAndTheOption)
{
    const QStringList info{QStringLiteral("info"), kSample};
    EXPECT_TRUE(CliWith(info, {QStringLiteral("LANG=zh_CN.UTF-8")}).out.startsWith(QString::fromUtf8("ID序列号:\tUTH26061501\n")));
    EXPECT_TRUE(CliWith(QStringList{QStringLiteral("--lang"), QStringLiteral("en")} + info, {QStringLiteral("LANG=zh_CN.UTF-8")})
                    .out.startsWith(QStringLiteral("Serial Number:\tUTH26061501\n")));
    EXPECT_TRUE(CliWith(info, {QStringLiteral("LANG=zh_CN.UTF-8"), QStringLiteral("LC_ALL=C.UTF-8")})
                    .out.startsWith(QStringLiteral("Serial Number:")));
    // Chinese texts, the unit stays degrees F.
    const CliRun zh = Cli(QStringList{QStringLiteral("--lang=zh"), QStringLiteral("alarms"), kSample});
    EXPECT_TRUE(zh.out.startsWith(QString::fromUtf8("温度\t上限\t46.40\u00B0F\t"))) << zh.out.toStdString();
    const CliRun failed = Cli({QStringLiteral("--lang"), QStringLiteral("zh"), QStringLiteral("info"), QStringLiteral("/nonexistent/x.tavo")});
    EXPECT_EQ(failed.code, 1);
    EXPECT_TRUE(failed.err.startsWith(QString::fromUtf8(" 文件打开失败: x.tavo: "))) << failed.err.toStdString();

    const CliRun wrong = Cli({QStringLiteral("--lang"), QStringLiteral("fr"), QStringLiteral("info"), kSample});
    EXPECT_EQ(wrong.code, 2);
    EXPECT_EQ(wrong.err, QStringLiteral("halvern-th-cli: --lang must be en or zh, not 'fr'\n"));
    EXPECT_EQ(Cli({QStringLiteral("--lang")}).code, 2);
}

// Each file command runs under the language option in both languages, in
// either spelling of the option, and writes what it is asked to.
TEST(CliLanguage, EveryFileCommandRunsInEitherLanguage)
{
    TempDir dir;
    struct Case {
        QStringList args;
        QString written; // "" when the command writes no file
    };
    std::vector<Case> cases = {
        {{"info", kSample}, {}},
        {{"samples", kSample}, {}},
        {{"alarms", kSample}, {}},
        {{"export", kSample, "--tavo", dir.path("e.tavo")}, dir.path("e.tavo")},
        {{"export", kSample, "--csv", dir.path("e.csv")}, dir.path("e.csv")},
        {{"export", kSample, "--xlsx", dir.path("e.xlsx")}, dir.path("e.xlsx")},
        {{"export", kSample, "--pdf", dir.path("e.pdf")}, dir.path("e.pdf")},
    };
    if (Cli({"print", "--help"}).code == 0) // built with the GUI libraries
        cases.push_back({{"print", kSample, "--output", dir.path("p.pdf")}, dir.path("p.pdf")});
    for (const QStringList& lang : {QStringList{"--lang", "zh"}, QStringList{"--lang=en"}}) {
        for (const Case& c : cases) {
            SCOPED_TRACE((lang + c.args).join(' ').toStdString());
            const CliRun run = Cli(lang + c.args);
            EXPECT_EQ(run.code, 0) << run.err.toStdString();
            if (c.written.isEmpty()) {
                EXPECT_FALSE(run.out.isEmpty());
                continue;
            }
            EXPECT_GT(QFileInfo(c.written).size(), 0);
            QFile::remove(c.written);
        }
    }
}

} // namespace
