#include "base/CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input; an unconvertible or broken sequence costs one
    // input byte and yields `replacement`.
    QByteArray run(const QByteArray& input, const QByteArray& replacement)
    {
        QByteArray out;
        out.reserve(input.size() * 2 + 8);
        char buffer[256];
        char* in = const_cast<char*>(input.constData());
        size_t inLeft = static_cast<size_t>(input.size());
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
            if (rc != static_cast<size_t>(-1) || errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: skip the offending byte (for UTF-8 input, the
            // whole character).
            size_t skip = 1;
            if (m_skipUtf8Char)
                while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80)
                    ++skip;
            in += skip;
            inLeft -= skip;
            out.append(replacement);
        }
        return out;
    }

    bool m_skipUtf8Char = false;

private:
    iconv_t m_cd;
};

QByteArray Encode(const QString& text)
{
    Converter c(CodePageName().constData(), "UTF-8");
    if (!c.valid())
        return text.toLatin1();
    c.m_skipUtf8Char = true;
    return c.run(text.toUtf8(), "?");
}

QString Decode(const QByteArray& bytes)
{
    Converter c("UTF-8", CodePageName().constData());
    if (!c.valid())
        return QString::fromLatin1(bytes);
    return QString::fromUtf8(c.run(bytes, "\xEF\xBF\xBD"));
}

} // namespace

QByteArray EncodeAs(const QString& text, const char* encoding, const QByteArray& replacement)
{
    Converter c(encoding, "UTF-8");
    if (!c.valid())
        return QByteArray(text.size(), '?');
    c.m_skipUtf8Char = true;
    return c.run(text.toUtf8(), replacement);
}

QByteArray CodePageName()
{
    const QByteArray env = qgetenv("HALVERN_CODEPAGE");
    return env.isEmpty() ? QByteArray("CP936") : env;
}

QByteArray ToOem(const QString& text) { return Encode(text); }
QString FromOem(const QByteArray& bytes) { return Decode(bytes); }
QByteArray ToAnsi(const QString& text) { return Encode(text); }
QString FromAnsi(const QByteArray& bytes) { return Decode(bytes); }
