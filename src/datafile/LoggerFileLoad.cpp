// Reading a data file into a record.
#include "datafile/LoggerFile.h"

#include "base/CodePage.h"
#include "datafile/BodyFields.h"
#include "datafile/BodyLayout.h"
#include "datafile/Scramble.h"
#include "record/TimeText.h"

#include <QFile>

namespace {

// The shortest file: type 2 or 5, no samples, no trailer. The longest: type
// 4 with every sample and the trailer; anything larger cannot be valid.
constexpr qint64 kMinFileSize = HEADER_SIZE + 62;
const qint64 kMaxFileSize = HEADER_SIZE + LayoutOfType(4).BodyLength(MAX_SAMPLES) + TRAILER_SIZE;

bool IsValueChar(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ' ';
}

// Every decoded character is checked before the record is touched. Returns
// the check that failed, or nullptr.
const char* CheckBody(const std::string& body)
{
    const char first = body.empty() ? '\0' : body[0];
    if (first != 'D' && first != 'U' && first != 'I' && first != 'i')
        return "the ID does not begin with D, U, I or i";
    const long long end = static_cast<long long>(body.size()) - TRAILER_SIZE;
    for (long long i = 4; i < end; ++i)
        if (!IsValueChar(body[static_cast<std::size_t>(i)]))
            return "a character that is not part of a number";
    return nullptr;
}

struct FileTime {
    long long year, month, day, hour, minute;
    bool Valid() const
    {
        return year >= 1900 && year <= 3000 && month >= 1 && month <= 12 && day >= 1 && day <= 31
            && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
    }
    time64 ToTime() const
    {
        return MakeLocalTime(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day),
                             static_cast<int>(hour), static_cast<int>(minute));
    }
};

FileTime ReadTime(const std::string& body, std::size_t pos)
{
    return {FieldInt(body, pos, 4), FieldInt(body, pos + 4, 2), FieldInt(body, pos + 6, 2),
            FieldInt(body, pos + 8, 2), FieldInt(body, pos + 10, 2)};
}

// Start or stop time into its field and row; false when out of range.
bool LoadTime(const std::string& body, std::size_t pos, time64& field, QString& row)
{
    const FileTime t = ReadTime(body, pos);
    if (!t.Valid())
        return false;
    field = t.ToTime();
    row = FormatDateTime(field);
    return true;
}

void LoadStatistics(CLoggerRecord& r, const std::string& body, const BodyLayout& layout)
{
    const std::size_t stats = static_cast<std::size_t>(layout.StatsPos());
    r.m_fLoggerMax = FieldFloat(body, stats, VALUE_WIDTH);
    r.m_fLoggerMin = FieldFloat(body, stats + VALUE_WIDTH, VALUE_WIDTH);
    r.m_fLoggerAvg = FieldFloat(body, stats + 2 * VALUE_WIDTH, VALUE_WIDTH);
    r.m_nRowFlags |= RF_MAX | RF_MIN | RF_AVG;
    r.m_fHighLimit = r.m_fLowLimit = 0.0f;
    r.m_bTempAlarm = r.m_bHumiAlarm = 0;
    if (layout.limits) {
        const std::size_t limits = static_cast<std::size_t>(layout.LimitsPos());
        r.m_fHighLimit = FieldFloat(body, limits, VALUE_WIDTH);
        r.m_fLowLimit = FieldFloat(body, limits + VALUE_WIDTH, VALUE_WIDTH);
        r.m_nRowFlags |= RF_HIGH_LIMIT | RF_LOW_LIMIT;
        r.m_bTempAlarm = r.m_fLowLimit < r.m_fHighLimit;
    }
    if (layout.humidity) {
        const std::size_t humi = static_cast<std::size_t>(layout.HumidityPos());
        float* const fields[] = {&r.m_fHumiMax, &r.m_fHumiMin, &r.m_fHumiAvg, &r.m_fHumiHighLimit, &r.m_fHumiLowLimit};
        for (std::size_t k = 0; k < 5; ++k)
            *fields[k] = FieldFloat(body, humi + k * VALUE_WIDTH, VALUE_WIDTH);
        r.m_nRowFlags |= RF_HUMI_MAX | RF_HUMI_MIN | RF_HUMI_AVG | RF_HUMI_HIGH_LIMIT | RF_HUMI_LOW_LIMIT;
        r.m_bHumiAlarm = r.m_fHumiLowLimit < r.m_fHumiHighLimit;
    }
}

void LoadSamples(CLoggerRecord& r, const std::string& body, const BodyLayout& layout)
{
    std::size_t pos = static_cast<std::size_t>(layout.SamplesPos());
    for (int i = 0; i < r.m_nCount; ++i) {
        r.m_fTemp[i] = FieldFloat(body, pos, VALUE_WIDTH);
        pos += VALUE_WIDTH;
        if (layout.humidity) {
            r.m_fHumi[i] = FieldFloat(body, pos, VALUE_WIDTH);
            pos += VALUE_WIDTH;
        }
    }
}

unsigned LittleEndian32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<unsigned>(b[3]) << 24);
}

} // namespace

bool CLoggerFile::Damaged(const char* check)
{
    m_error = QStringLiteral("damaged: %1").arg(QLatin1String(check));
    return false;
}

bool CLoggerFile::Load(CLoggerRecord& record, const DisplaySettings& display)
{
    if (!IsInputOpen())
        return false;
    m_nFileSize = m_in->size();
    if (m_nFileSize < kMinFileSize)
        return Damaged("shorter than the smallest data file");
    if (m_nFileSize > kMaxFileSize)
        return Damaged("larger than the largest data file");
    const QByteArray data = m_in->seek(0) ? m_in->readAll() : QByteArray();
    if (data.size() != m_nFileSize) {
        m_error = m_in->errorString().isEmpty() ? QStringLiteral("read error") : m_in->errorString().toLower();
        return false;
    }
    return LoadBytes(data, record, display);
}

// Each three-character header field as a decimal number, kept as a byte.
bool CLoggerFile::ParseHeader(const QByteArray& data)
{
    const std::string header(data.constData(), HEADER_SIZE);
    for (int k = 0; k < HEADER_NUMBERS; ++k)
        m_byHeader[k] = static_cast<std::uint8_t>(FieldInt(header, static_cast<std::size_t>(3 * k), 3) & 0xFF);
    // The key divides by the third number: a file with 0 there has no key.
    if (m_byHeader[2] == 0)
        return false;
    m_byKey = KeyFromHeader(m_byHeader);
    return true;
}

bool CLoggerFile::LoadBytes(const QByteArray& data, CLoggerRecord& record, const DisplaySettings& display)
{
    m_bLoadedArea = false;
    m_error.clear();
    const qint64 size = data.size();
    if (size < kMinFileSize)
        return Damaged("shorter than the smallest data file");
    if (size > kMaxFileSize)
        return Damaged("larger than the largest data file");
    if (!ParseHeader(data))
        return Damaged("the header's third number is 0");
    const char* tail = data.constData() + size - TRAILER_SIZE;
    const QByteArray descBytes(tail, qstrnlen(tail, DESCRIPTION_SIZE));
    const bool area = LittleEndian32(data.constData() + size - 4) == AREA_MARKER;
    const std::string body = UnscrambleBody(data.constData() + HEADER_SIZE, static_cast<std::size_t>(size - HEADER_SIZE), m_byKey);
    if (const char* check = CheckBody(body))
        return Damaged(check);

    CLoggerRecord& r = record;
    r.m_strValue[ROW_ID] = QString::fromLatin1(body.data(), ID_WIDTH);
    r.m_nType = TypeFromIdSerial(r.m_strValue[ROW_ID]);
    r.m_nRowFlags = RF_ID;
    if (!LoadTime(body, TIME_START_POS, r.m_tStart, r.m_strValue[ROW_START]))
        return Damaged("the start time is no valid time");
    r.m_nRowFlags |= RF_START;
    if (!LoadTime(body, TIME_STOP_POS, r.m_tStop, r.m_strValue[ROW_STOP]))
        return Damaged("the stop time is no valid time");
    r.m_nRowFlags |= RF_STOP;

    const BodyLayout layout = LayoutOfType(r.m_nType);
    r.m_tsInterval = FieldInt(body, INTERVAL_POS, static_cast<std::size_t>(layout.intervalWidth)) * 60;
    r.m_strValue[ROW_INTERVAL] = FormatInterval(r.m_tsInterval);
    const long long count = FieldInt(body, static_cast<std::size_t>(layout.CountPos()), static_cast<std::size_t>(layout.countWidth));
    r.m_strValue[ROW_COUNT] = QString::number(count);
    r.m_nRowFlags |= RF_INTERVAL | RF_COUNT;
    LoadStatistics(r, body, layout);

    const bool countOk = count >= 0 && count <= MAX_SAMPLES;
    const qint64 expected = countOk ? HEADER_SIZE + layout.BodyLength(count) : -1;
    const bool trailer = countOk && size == expected + TRAILER_SIZE;
    const bool ok = countOk && (size == expected || trailer);
    // A refused sample part leaves the record without samples.
    r.SetCount(ok ? static_cast<int>(count) : 0);
    if (ok) {
        r.m_byDataFlags |= DATA_FLAG_SAMPLES;
        LoadSamples(r, body, layout);
    }

    if (trailer && !descBytes.isEmpty())
        r.m_strValue[ROW_DESCRIPTION] = FromAnsi(descBytes);
    else
        r.SetTypeText(display.language);
    r.m_nRowFlags |= RF_DESCRIPTION;

    r.m_nReceived = r.m_nCount;
    r.Recompute(area, display.unit);
    m_bLoadedArea = area;
    if (!countOk)
        return Damaged("a sample count outside 0 to 60000");
    if (!ok)
        return Damaged("its size does not match its sample count");
    return true;
}
