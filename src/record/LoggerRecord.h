#pragma once

#include "base/DisplaySettings.h"

#include <QString>
#include <cstdint>
#include <vector>

using time64 = std::int64_t; // seconds since 1970-01-01 00:00 UTC

constexpr int MAX_SAMPLES = 60000;
constexpr int SUMMARY_ROWS = 20;

// Summary rows (index into m_strValue; SummaryCaption gives their captions).
enum SummaryRow {
    ROW_ID = 0, ROW_START = 1, ROW_STOP = 2, ROW_INTERVAL = 3, ROW_COUNT = 4,
    ROW_MAX = 5, ROW_MIN = 6, ROW_AVG = 7, ROW_HIGH_LIMIT = 8, ROW_LOW_LIMIT = 9,
    ROW_HUMI_MAX = 10, ROW_HUMI_MIN = 11, ROW_HUMI_AVG = 12,
    ROW_HUMI_HIGH_LIMIT = 13, ROW_HUMI_LOW_LIMIT = 14,
    ROW_DESCRIPTION = 15, ROW_MKT = 17,
};

// Bits of m_nRowFlags: which summary rows hold a value.
enum RowFlag : std::int32_t {
    RF_ID = 0x1, RF_START = 0x2, RF_STOP = 0x4, RF_INTERVAL = 0x8, RF_COUNT = 0x10,
    RF_DESCRIPTION = 0x20, RF_MAX = 0x40, RF_MIN = 0x80, RF_AVG = 0x100,
    RF_HIGH_LIMIT = 0x200, RF_LOW_LIMIT = 0x400,
    RF_HUMI_MAX = 0x800, RF_HUMI_MIN = 0x1000, RF_HUMI_AVG = 0x2000,
    RF_HUMI_HIGH_LIMIT = 0x4000, RF_HUMI_LOW_LIMIT = 0x8000,
    RF_LOGGER_CLOCK = 0x20000,
};

// Bit of m_byDataFlags: the sample arrays hold data.
constexpr std::uint8_t DATA_FLAG_SAMPLES = 2;

// One logger's mission: identity, settings, statistics, summary texts and samples.
// The sample vectors hold m_nCount entries (at most MAX_SAMPLES): whoever
// changes the count does it through SetCount.
class CLoggerRecord {
public:
    CLoggerRecord();

    void Reset();
    // Sets m_nCount and sizes the sample vectors to it, at most MAX_SAMPLES
    // entries; the samples below both the old and the new count stay.
    void SetCount(int count);
    // Holds no samples: the count and the received samples are 0.
    void ClearSamples();
    void BuildTimeTable();
    // The description row: the type's name in language.
    void SetTypeText(std::uint16_t language);

    // The statistics texts of the summary rows, temperatures in unit.
    void FormatStatTexts(TempUnit unit);
    void ComputeMkt(TempUnit unit);
    void Recompute(bool bPlain, TempUnit unit);

    bool HasHumidity() const;
    // The received samples the vectors hold: m_nReceived within 0 .. the
    // vectors' size.
    int ReceivedRows() const;

    // Stores n downloaded samples at indexes first .. first + n - 1 (those
    // beyond MAX_SAMPLES are dropped), also as the shown temperatures, and
    // marks the arrays as holding data.
    // values holds n temperatures, or n temperature/humidity pairs for a
    // logger with humidity. Both links deliver their samples through here.
    void StoreSamples(int first, const float* values, int n);

    std::int32_t m_nType = 0;
    std::int32_t m_nBattery = 0;
    std::int32_t m_nRunState = 0;
    std::uint8_t m_bStatusValid = 0;
    QString m_strValue[SUMMARY_ROWS];
    time64 m_tStart = 0;
    time64 m_tStop = 0;
    time64 m_tLoggerClock = 0;
    time64 m_tsInterval = 0;
    std::int32_t m_nCount = 0;
    std::int32_t m_nReceived = 0;
    float m_fLoggerMax = 0;
    float m_fLoggerMin = 0;
    float m_fLoggerAvg = 0;
    float m_fMkt = 0;
    float m_fMax = 0;
    float m_fMin = 0;
    float m_fAvg = 0;
    float m_fHighLimit = 0;
    float m_fLowLimit = 0;
    float m_fHumiMax = 0;
    float m_fHumiMin = 0;
    float m_fHumiAvg = 0;
    float m_fHumiHighLimit = 0;
    float m_fHumiLowLimit = 0;
    std::uint8_t m_byDataFlags = 0;
    std::uint8_t m_bTempAlarm = 0;
    std::uint8_t m_bHumiAlarm = 0;
    std::int32_t m_nLoggerFlag = -1;
    std::uint8_t m_bDescRead = 0;
    std::uint8_t m_bTimesValid = 0;
    std::int32_t m_nRowFlags = 0;
    // A selected time range of another record: saved with the range marker.
    bool m_bRange = false;
    std::vector<float> m_fTemp;
    std::vector<float> m_fHumi;
    std::vector<time64> m_tTime;
    QString m_strDescription;
    std::vector<double> m_dMktTerm;
    std::vector<float> m_fTempShown;

private:
    bool ChooseMovingMkt(bool bPlain);
    void FillPlain();
    void FillMovingMkt();
};

// The entry at index, or zero past the entries v holds.
template <class T>
T SampleAt(const std::vector<T>& v, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < v.size() ? v[static_cast<std::size_t>(index)] : T {};
}

// Type codes decided from the first letters of a logger ID. The USB read-out
// and the serial protocol test the letters in different orders.
int TypeFromIdUsb(const QString& id);
int TypeFromIdSerial(const QString& id);

// Text id of a type's description ("Temp Record", ...); 0 for type 0.
int TypeTextId(int type);

// The caption of a summary row in language.
QString SummaryCaption(int row, std::uint16_t language);
