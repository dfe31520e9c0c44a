#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>

// The objects of a PDF file's body and the data of their streams. Objects
// inside object streams are not found.
namespace pdf {

struct Object {
    QByteArrayView dict;   // "<< .. >>", empty when the object is none
    QByteArrayView stream; // the raw stream data, up to "endstream"
    bool hasStream = false;
};

// The objects of file by number (a later one replaces an earlier: an
// incremental update). The views point into file.
QMap<long long, Object> IndexObjects(QByteArrayView file);

// The data of stream object number, stored plainly or with FlateDecode;
// false when it is missing, uses another filter, is damaged or inflates
// past 256 MiB.
bool StreamData(const QMap<long long, Object>& objects, long long number, QByteArray& out);

} // namespace pdf
