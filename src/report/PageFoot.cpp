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
    // One line, in a smaller font when the zone's changes make it long;
    // the zone on a line of its own only when even that does not fit.
    for (const int percent : {100, 85, 70}) {
        FontSpec smaller = font;
        smaller.pixelHeight = font.pixelHeight * percent / 100;
        const int after = x + s.TextWidth(smaller, line) + s.TextWidth(smaller, QStringLiteral("    "));
        if (after + s.TextWidth(smaller, zone) > right)
            continue;
        s.SetFont(smaller);
        s.TextOut(x, y, line);
        s.TextOut(after, y, zone);
        s.SetFont(font);
        return;
    }
    s.TextOut(x, y, line);
    s.TextOut(x, y + s.LineHeight(font), zone);
}
