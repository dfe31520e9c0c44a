#include "report/ui/ReportPrinting.h"

#include "base/OutputFile.h"
#include "report/CurvePage.h"
#include "report/TextPage.h"
#include "report/ui/PainterSurface.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace {

bool Fail(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return false;
}

} // namespace

void DrawReportPage(ISurface& surface, const ReportData& data, ReportKind kind, int page)
{
    const int w = surface.Width(), h = surface.Height();
    const double a = w * 25.4 / surface.DpiX(), b = h * 25.4 / surface.DpiY();
    if (kind == ReportKind::Curve) {
        CurveLayout layout = ComputeCurveLayout(surface.DpiX(), surface.DpiY(), PrintScale(a, b, true), data.range,
                                                data.screenPlotWidth);
        layout.pageWidth = w;
        layout.pageHeight = h;
        DrawCurvePage(surface, layout, data, page);
    } else {
        TextLayout layout = ComputeTextLayout(surface.DpiX(), surface.DpiY(), PrintScale(a, b, false));
        layout.pageWidth = w;
        layout.pageHeight = h;
        DrawTextPage(surface, layout, data, page);
    }
}

QPageLayout::Orientation PageOrientation(ReportKind kind)
{
    return kind == ReportKind::Curve ? QPageLayout::Landscape : QPageLayout::Portrait;
}

bool RenderReport(QPagedPaintDevice& device, const ReportData& data, ReportKind kind, QString* why)
{
    QPainter painter;
    if (!painter.begin(&device))
        return Fail(why, QStringLiteral("the print job could not be started"));
    CPainterSurface surface(painter, device.logicalDpiX(), device.logicalDpiY(), device.width(), device.height());
    for (int page = 1; page <= data.totalPages; ++page) {
        if (page > 1 && !device.newPage()) {
            painter.end();
            return Fail(why, QStringLiteral("page %1 could not be started").arg(page));
        }
        DrawReportPage(surface, data, kind, page);
    }
    if (!painter.end())
        return Fail(why, QStringLiteral("the print job could not be finished"));
    return true;
}

bool PrintReportToPdf(const QString& path, const ReportData& data, ReportKind kind, QString* why)
{
    if (path.isEmpty())
        return Fail(why, QStringLiteral("no file name"));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(4, 4, 4, 4), QPageLayout::Millimeter);
        writer.setPageOrientation(PageOrientation(kind));
        writer.setTitle(data.record ? data.record->m_strValue[ROW_ID] : QString());
        writer.setCreator(QStringLiteral("Halvern TH"));
        if (!RenderReport(writer, data, kind, why))
            return false;
    }
    COutputFile out(path);
    if (!out.Open() || !out.Commit(bytes))
        return Fail(why, out.Error());
    return true;
}
