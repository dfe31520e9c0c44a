// Report costs on a full record of 60000 samples: the PDF report, one curve
// page and one text page rendered as the preview renders them, and the 1000
// text pages printed into a PDF file.
#include "record/LoggerRecord.h"
#include "record/TimeText.h"
#include "record/Units.h"
#include "report/CurvePage.h"
#include "report/TextPage.h"
#include "report/pdf/PdfReport.h"
#include "report/ui/PainterSurface.h"
#include "report/ui/ReportPrinting.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

CLoggerRecord g_record;

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "bench_report";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    }
}

ReportData FullReport(int totalPages)
{
    CLoggerRecord& r = g_record;
    if (r.m_nCount != MAX_SAMPLES) {
        r.Reset();
        r.m_nType = 4;
        r.m_tsInterval = 60;
        r.m_tStart = MakeLocalTime(2024, 1, 1, 0, 0);
        r.SetCount(MAX_SAMPLES);
        r.m_nReceived = r.m_nCount;
        r.m_tStop = r.m_tStart + (MAX_SAMPLES - 1) * 60;
        r.m_bTempAlarm = r.m_bHumiAlarm = 1;
        r.m_fLowLimit = 2;
        r.m_fHighLimit = 8;
        r.m_fHumiLowLimit = 40;
        r.m_fHumiHighLimit = 70;
        for (int i = 0; i < MAX_SAMPLES; ++i) {
            r.m_fTemp[i] = 5.0f + 3.5f * static_cast<float>(std::sin(i / 700.0)) + static_cast<float>(i % 7) * 0.05f;
            r.m_fHumi[i] = 55.0f + 20.0f * static_cast<float>(std::sin(i / 1300.0));
        }
        r.m_fLoggerMax = 8.9f;
        r.m_fLoggerMin = 1.5f;
        r.m_fHumiMax = 75;
        r.m_fHumiMin = 35;
        r.BuildTimeTable();
        r.m_byDataFlags = DATA_FLAG_SAMPLES;
        r.m_strValue[ROW_ID] = QStringLiteral("UTH26061501");
        r.Recompute(true, kDefaultDisplay.unit);
    }
    ReportData d;
    d.record = &r;
    SelectRange(r, r.m_tStart, r.m_tStop, d.range);
    d.totalPages = totalPages;
    d.ComputeAxisLabels();
    return d;
}

void BM_PdfReport60000(benchmark::State& state)
{
    EnsureApplication();
    FullReport(1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    for (auto _ : state) {
        QString why;
        if (!WritePdfReport(g_record, kDefaultDisplay, path, &why))
            state.SkipWithError(why.toUtf8().constData());
    }
    state.counters["pages"] = PdfReportPages(MAX_SAMPLES);
}
BENCHMARK(BM_PdfReport60000)->Unit(benchmark::kMillisecond);

template <bool Curve>
void BM_PreviewPage(benchmark::State& state)
{
    EnsureApplication();
    const ReportData d = FullReport(Curve ? 1 : 1001);
    const CurveLayout curve = ComputeCurveLayout(96, 96, 1, d.range);
    const TextLayout text = ComputeTextLayout(96, 96, 1);
    const QSize size = Curve ? QSize(curve.pageWidth, curve.pageHeight) : QSize(text.pageWidth, text.pageHeight);
    for (auto _ : state) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CPainterSurface surface(painter, 96, 96, size.width(), size.height());
        if (Curve)
            DrawCurvePage(surface, curve, d, 1);
        else
            DrawTextPage(surface, text, d, 2);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK_TEMPLATE(BM_PreviewPage, true)->Name("BM_PreviewCurvePage")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PreviewPage, false)->Name("BM_PreviewTextPage")->Unit(benchmark::kMillisecond);

void BM_PrintTextPages60000(benchmark::State& state)
{
    EnsureApplication();
    const ReportData d = FullReport(TextPageCount(MAX_SAMPLES));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("text.pdf"));
    for (auto _ : state) {
        QString why;
        if (!PrintReportToPdf(path, d, ReportKind::Text, &why))
            state.SkipWithError(why.toUtf8().constData());
    }
    state.counters["pages"] = d.totalPages;
}
BENCHMARK(BM_PrintTextPages60000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
