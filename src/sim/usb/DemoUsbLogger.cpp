#include "sim/usb/DemoUsbLogger.h"

namespace {
const char* DemoId(int type)
{
    switch (type) {
    case 1: return "U2500010001";
    case 2: return "D2500020002";
    case 3: return "UT500030003";
    default: return "UTH50040004";
    }
}
} // namespace

std::shared_ptr<CVirtualUsbLogger> MakeDemoUsbLogger(int type, time64 now)
{
    constexpr time64 kDay = 24 * 3600;
    auto logger = std::make_shared<CVirtualUsbLogger>(QByteArray(DemoId(type)), now - kDay);
    logger->m_nHighLimit = 3000;
    logger->m_nLowLimit = 1500;
    logger->m_nHumiHigh = 7000;
    logger->m_nHumiLow = 3000;
    logger->m_nBattery = 5;
    logger->SetDescription("Demo logger");
    logger->StartMission(now - kDay, 10);
    logger->Advance(kDay);
    return logger;
}
