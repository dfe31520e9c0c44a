#pragma once

#include "report/ReportRange.h"
#include "report/Surface.h"

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

enum class ReportKind { Curve, Text };

// Curve pages are printed landscape, text pages portrait.
QPageLayout::Orientation PageOrientation(ReportKind kind);

// Draws page (1-based) of kind on surface, scaled so that it fills the
// surface's printable area in its tighter direction; a curve page keeps the
// preview's line weights at the surface's resolution.
void DrawReportPage(ISurface& surface, const ReportData& data, ReportKind kind, int page);

// Draws every page of kind (data.totalPages of them) on device, a printer or
// a PDF writer set to the kind's orientation, one device page each, scaled so that the page fills the printable area in its tighter
// direction. False with the reason in *why when the job cannot be started
// or a page cannot be added.
bool RenderReport(QPagedPaintDevice& device, const ReportData& data, ReportKind kind, QString* why);

// The pages of kind as a PDF file at path (A4, 600 dpi, titled with the
// logger ID), written through a temporary file in the same folder; for a
// user without a printer and for the command line.
bool PrintReportToPdf(const QString& path, const ReportData& data, ReportKind kind, QString* why);
