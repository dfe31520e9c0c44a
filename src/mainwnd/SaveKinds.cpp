#include "mainwnd/SaveKinds.h"

#include "base/TextTable.h"
#include "datafile/DataFileWriter.h"
#include "export/CsvExport.h"
#include "export/Worksheet.h"
#include "mainwnd/CommandLineFile.h"
#include "record/TimeText.h"
#include "report/pdf/PdfReport.h"

namespace {

// A data file holds the record as it is, whatever the display.
bool WriteData(const CLoggerRecord& record, const DisplaySettings&, const QString& path, QString* why)
{
    return WriteRecordDataFile(record, path, why);
}

const SaveKind kSaveKinds[] = {
    {TextId::DataFileFilter, "tavo", WriteData},
    {TextId::WorksheetFilter, "xlsx", WriteWorksheet},
    {TextId::PdfFilter, "pdf", WritePdfReport},
    {TextId::CsvFilter, "csv", WriteCsvFile},
};

const SaveKind* KindOfExtension(const QString& extension)
{
    for (const SaveKind& kind : kSaveKinds)
        if (extension == QLatin1String(kind.extension))
            return &kind;
    return nullptr;
}

// The part of a file name after its first dot; empty without a dot.
QString ExtensionAfterFirstDot(const QString& name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

} // namespace

std::span<const SaveKind> SaveKinds()
{
    return kSaveKinds;
}

QString FilterText(const SaveKind& kind, std::uint16_t language)
{
    return GetText(kind.filter, language);
}

QStringList SaveFilters(std::uint16_t language)
{
    QStringList filters;
    for (const SaveKind& kind : kSaveKinds)
        filters << FilterText(kind, language);
    return filters;
}

const SaveKind* SaveKindOfFilter(const QString& filter)
{
    for (const SaveKind& kind : kSaveKinds)
        for (const std::uint16_t language : {std::uint16_t(0), LANG_CHINESE})
            if (filter == FilterText(kind, language))
                return &kind;
    return nullptr;
}

SaveTarget ResolveSaveTarget(const QString& chosenPath, const QString& filter)
{
    SaveTarget target{nullptr, chosenPath, FileNameOf(chosenPath)};
    if ((target.kind = KindOfExtension(ExtensionAfterFirstDot(target.name))))
        return target;
    if ((target.kind = SaveKindOfFilter(filter))) {
        const QString suffix = QLatin1Char('.') + QLatin1String(target.kind->extension);
        target.path += suffix;
        target.name += suffix;
    }
    return target;
}

QString DefaultSaveName(const QString& loggerId, time64 start)
{
    const LocalTm t = ToLocal(start);
    return loggerId.trimmed() + QStringLiteral("T")
        + QString::asprintf("%.4d%.2d%.2d%.2d", t.year, t.month, t.day, t.hour);
}
