// Writes the bundled sample data file: a temperature+humidity logger in a
// cold room, three and a half days at 15-minute intervals, with one door-open
// excursion above both upper alarm limits. The content is the same on every
// run (only the scrambling header numbers depend on the time of saving).
//
//   halvern-make-sample OUT.tavo
#include "datafile/LoggerFile.h"
#include "record/TimeText.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int kSamples = 336;           // 3.5 days
constexpr int kIntervalMinutes = 15;
constexpr double kPi = 3.14159265358979323846;

// Small deterministic noise in [-1, 1].
class Noise {
public:
    double Next()
    {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<double>((m_state >> 8) & 0xFFFF) / 32767.5 - 1.0;
    }

private:
    std::uint32_t m_state = 20260615u;
};

float Hundredths(double v)
{
    return static_cast<float>(std::round(v * 100.0) / 100.0);
}

// Door left open on the second afternoon: a rise of about 6 degrees over
// 90 minutes, then the cooling brings the room back within two hours.
double Excursion(int i)
{
    constexpr int kStart = 96 + 24; // day 2, 14:00 with an 08:00 start
    const int k = i - kStart;
    if (k < 0 || k >= 14)
        return 0.0;
    return k < 6 ? 6.2 * (k + 1) / 6.0 : 6.2 * std::exp(-(k - 5) / 2.2);
}

void FillSamples(CLoggerRecord& r)
{
    Noise noise;
    for (int i = 0; i < kSamples; ++i) {
        const double hours = i * kIntervalMinutes / 60.0;
        const double daily = std::sin(2 * kPi * (hours - 4.0) / 24.0);
        const double door = Excursion(i);
        r.m_fTemp[i] = Hundredths(4.9 + 0.7 * daily + 0.12 * noise.Next() + door);
        r.m_fHumi[i] = Hundredths(54.0 + 4.0 * daily + 1.0 * noise.Next() + door * 3.9);
    }
}

// The statistics a logger reports for its own samples.
void LoggerStatistics(const float* values, int n, float& max, float& min, float& avg)
{
    max = *std::max_element(values, values + n);
    min = *std::min_element(values, values + n);
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += values[i];
    avg = Hundredths(sum / n);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: halvern-make-sample OUT.tavo\n");
        return 2;
    }
    static CLoggerRecord record;
    record.Reset();
    record.m_nType = 4;
    record.m_strValue[ROW_ID] = QStringLiteral("UTH26061501");
    record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Cold room 2, vaccine shelf B");
    record.m_tsInterval = kIntervalMinutes * 60;
    record.m_tStart = MakeLocalTime(2026, 6, 15, 8, 0);
    record.SetCount(kSamples);
    record.m_tStop = record.m_tStart + static_cast<time64>(kSamples - 1) * record.m_tsInterval;
    record.m_fHighLimit = 8.0f;
    record.m_fLowLimit = 2.0f;
    record.m_fHumiHighLimit = 70.0f;
    record.m_fHumiLowLimit = 30.0f;
    FillSamples(record);
    LoggerStatistics(record.m_fTemp.data(), kSamples, record.m_fLoggerMax, record.m_fLoggerMin, record.m_fLoggerAvg);
    LoggerStatistics(record.m_fHumi.data(), kSamples, record.m_fHumiMax, record.m_fHumiMin, record.m_fHumiAvg);

    CLoggerFile file(QString::fromLocal8Bit(argv[1]), CLoggerFile::ModeWrite);
    if (!file.IsOutputOpen() || !file.Save(record, false)) {
        std::fprintf(stderr, "halvern-make-sample: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
