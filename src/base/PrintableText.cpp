#include "base/PrintableText.h"

QString PrintableText(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    return out;
}
