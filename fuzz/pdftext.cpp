// Feeds arbitrary bytes to the PDF text reader as the content of a whole
// file, then looks for fingerprints in what it read, as verify does.
#include "datafile/Fingerprint.h"
#include "report/pdf/PdfText.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString text;
    QString why;
    if (ReadPdfText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), text, &why))
        (void)FingerprintsInText(text);
    return 0;
}
