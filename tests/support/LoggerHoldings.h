#pragma once

// What a virtual logger holds, in hundredths, to check a download against
// every sample.
#include "record/LoggerRecord.h"
#include "sim/serial/VirtualSerialConfig.h"
#include "sim/usb/VirtualUsbLogger.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

inline int Hundredths(float value)
{
    return static_cast<int>(std::lround(value * 100.0f));
}

struct LoggerHoldings {
    QString id;
    std::vector<int> temps;
    std::vector<int> humis; // empty without humidity
};

inline LoggerHoldings Holds(const CVirtualUsbLogger& logger)
{
    LoggerHoldings e{QString::fromLatin1(logger.m_id), {logger.m_temp.begin(), logger.m_temp.end()}, {}};
    if (logger.Type() == 4)
        e.humis.assign(logger.m_humi.begin(), logger.m_humi.end());
    return e;
}

inline LoggerHoldings Holds(const VirtualSerialConfig& config)
{
    LoggerHoldings e{config.EffectiveId(), {}, {}};
    for (float t : config.temps)
        e.temps.push_back(Hundredths(t));
    for (float h : config.humis)
        e.humis.push_back(Hundredths(h));
    return e;
}

// The record holds exactly the logger's samples (temperatures in degrees C).
inline void ExpectEverySample(const CLoggerRecord& r, const LoggerHoldings& e)
{
    EXPECT_EQ(r.m_strValue[ROW_ID].trimmed(), e.id.trimmed());
    ASSERT_EQ(r.m_nReceived, static_cast<int>(e.temps.size()));
    for (size_t i = 0; i < e.temps.size(); ++i)
        ASSERT_EQ(Hundredths(r.m_fTemp[i]), e.temps[i]) << e.id.toStdString() << " sample " << i;
    for (size_t i = 0; i < e.humis.size(); ++i)
        ASSERT_EQ(Hundredths(r.m_fHumi[i]), e.humis[i]) << e.id.toStdString() << " sample " << i;
}
