#include "report/pdf/PdfObjects.h"

#include "report/pdf/PdfSyntax.h"

#include <algorithm>
#include <climits>
#include <zlib.h>

namespace {

// No page content of a report comes near this; a stream that inflates past
// it is refused rather than filling the memory.
constexpr qsizetype kMaxInflated = qsizetype(256) << 20;

bool Inflate(QByteArrayView in, QByteArray& out)
{
    z_stream z{};
    if (in.size() > UINT_MAX || inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    out.resize(std::min(kMaxInflated, std::max<qsizetype>(4096, in.size() * 4)));
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (z.total_out == static_cast<uLong>(out.size())) {
            if (out.size() >= kMaxInflated)
                break;
            out.resize(std::min(out.size() * 2, kMaxInflated));
        }
        z.next_out = reinterpret_cast<Bytef*>(out.data() + z.total_out);
        z.avail_out = static_cast<uInt>(out.size() - static_cast<qsizetype>(z.total_out));
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_BUF_ERROR && z.avail_in == 0)
            break; // the data ends before the stream's end
    }
    out.resize(static_cast<qsizetype>(z.total_out));
    inflateEnd(&z);
    return rc == Z_STREAM_END;
}

// The number N of the "N G obj" whose word "obj" is at pos; -1 when the
// word there starts no object.
long long NumberBefore(QByteArrayView s, qsizetype pos)
{
    const qsizetype after = pos + 3;
    if (after < s.size() && !pdf::IsSpace(s[after]) && !pdf::IsDelimiter(s[after]))
        return -1;
    qsizetype j = pos - 1;
    auto skip = [&](bool (*what)(char)) {
        const qsizetype from = j;
        while (j >= 0 && what(s[j]))
            --j;
        return from - j;
    };
    if (skip(pdf::IsSpace) == 0 || skip(pdf::IsDigit) == 0 || skip(pdf::IsSpace) == 0 || skip(pdf::IsDigit) == 0)
        return -1;
    if (j >= 0 && !pdf::IsSpace(s[j]) && !pdf::IsDelimiter(s[j]))
        return -1;
    long long number = -1;
    pdf::ReadInt(s, j + 1, number);
    return number;
}

// The dictionary and stream of the object whose body starts at p (after
// "obj"); returns where the object's data ends, -1 for a dictionary that
// does not end.
qsizetype ReadObject(QByteArrayView s, qsizetype p, pdf::Object& object)
{
    p = pdf::SkipSpaces(s, p);
    if (!s.sliced(p).startsWith("<<"))
        return p;
    const qsizetype end = pdf::DictEnd(s, p);
    if (end < 0)
        return -1;
    object.dict = s.sliced(p, end - p);
    p = pdf::SkipSpaces(s, end);
    if (!s.sliced(p).startsWith("stream"))
        return p;
    p += 6;
    if (p < s.size() && s[p] == '\r')
        ++p;
    if (p < s.size() && s[p] == '\n')
        ++p;
    qsizetype stop = s.indexOf(QByteArrayView("endstream"), p);
    if (stop < 0)
        stop = s.size();
    object.stream = s.sliced(p, stop - p);
    object.hasStream = true;
    return stop;
}

} // namespace

namespace pdf {

QMap<long long, Object> IndexObjects(QByteArrayView s)
{
    QMap<long long, Object> objects;
    qsizetype pos = 0;
    while ((pos = s.indexOf(QByteArrayView("obj"), pos)) >= 0) {
        const qsizetype after = pos + 3;
        const long long number = NumberBefore(s, pos);
        pos = after;
        if (number < 0)
            continue;
        Object object;
        const qsizetype end = ReadObject(s, after, object);
        if (end < 0)
            break;
        objects.insert(number, object);
        pos = std::max(end, after);
    }
    return objects;
}

bool StreamData(const QMap<long long, Object>& objects, long long number, QByteArray& out)
{
    const auto it = objects.find(number);
    if (it == objects.end() || !it->hasStream)
        return false;
    if (FindKey(it->dict, "/FlateDecode") >= 0)
        return Inflate(it->stream, out);
    if (FindKey(it->dict, "/Filter") >= 0)
        return false; // a filter this reader does not know
    out = it->stream.toByteArray();
    return true;
}

} // namespace pdf
