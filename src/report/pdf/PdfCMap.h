#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

// A font's ToUnicode map: character codes of `bytes` bytes to their text,
// from the map's code space, bfchar and bfrange sections.
namespace pdf {

struct CMap {
    int bytes = 2;
    QHash<quint32, QString> text;

    // The text of a string shown in the font; U+FFFD for a code not mapped.
    QString Decode(const QByteArray& shown) const;
};

CMap ParseCMap(QByteArrayView data);

} // namespace pdf
