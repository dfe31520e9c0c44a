#include "report/PageFoot.h"

#include "datafile/Fingerprint.h"
#include "record/ZoneNote.h"

void FootLine(ISurface& s, const FontSpec& font, int x, int y, int right, const ReportData& d)
{
    const QString zone = ZoneNote(d.range.start, d.range.end);
    if (d.fingerprint.isEmpty()) {
        s.TextOut(x, y, zone);
        return;
    }
    const QString line = FingerprintLine(d.fingerprint);
    s.TextOut(x, y, line);
    const int gap = s.TextWidth(font, QStringLiteral("    "));
    const int after = x + s.TextWidth(font, line) + gap;
    if (after + s.TextWidth(font, zone) <= right)
        s.TextOut(after, y, zone);
    else
        s.TextOut(x, y + s.LineHeight(font), zone);
}
