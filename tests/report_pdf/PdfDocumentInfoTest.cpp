// The PDF report's document information as a viewer shows it.
#include "support/MissionRecord.h"
#include "support/PdfTools.h"
#include "support/TempDir.h"

#include "base/TextTable.h"
#include "report/pdf/PdfReport.h"

#include <QRegularExpression>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

// The value of one field of pdfinfo's listing.
std::string InfoField(const QString& info, const char* field)
{
    const QRegularExpression line(QStringLiteral("(?:^|\\n)%1: *([^\\n]*)").arg(QLatin1String(field)));
    const auto m = line.match(info);
    return m.hasMatch() ? m.captured(1).toStdString() : "<none>";
}

TEST(PdfDocumentInfo, TitleIsTheLoggerSubjectTheReportCreatorTheProgram)
{
    struct Case {
        std::uint16_t language;
        const char* id;
        const char* subject;
    } const cases[] = {
        {0, "TH20260615A", "Temperature report"},
        {LANG_CHINESE, "T120260615B", "温度报告"},
    };
    const TempDir dir;
    CLoggerRecord r;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subject);
        MakeMission(r, 4, 20);
        r.m_strValue[ROW_ID] = QString::fromUtf8(c.id);
        const QString path = dir.path(QStringLiteral("info.pdf"));
        QString why;
        ASSERT_TRUE(WritePdfReport(r, {TempUnit::Fahrenheit, c.language}, path, &why)) << why.toStdString();
        const QString info = RunTool(QStringLiteral("pdfinfo"), {path}).out;
        EXPECT_EQ(InfoField(info, "Title"), c.id);
        EXPECT_EQ(InfoField(info, "Subject"), c.subject);
        EXPECT_THAT(InfoField(info, "Creator"), testing::MatchesRegex("Halvern TH [0-9]+\\.[0-9]+\\.[0-9]+"));
        EXPECT_EQ(QpdfCheck(path), 0);
    }
}

} // namespace
