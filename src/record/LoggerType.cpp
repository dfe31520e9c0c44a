#include "record/LoggerType.h"

namespace {

using F = SerialClockFrame;

// clang-format off
constexpr LoggerType kTypes[kLoggerTypeCount] = {
//   code text hum   desc   alarm  stopDl stopRe usbPol usbCfg serCfg clock  batt   delay  shortSt long   signM  withIv serialClock    bytes blk settings serBatt
    {0,  0,  false, false, true,  false, false, false, false, false, false, false, true,  false, false, false, false, F::None,       2,  16, 0,       false},
    {1,  63, false, false, true,  false, false, true,  true,  false, false, true,  true,  false, false, true,  false, F::None,       2,  16, 40,      false},
    {2,  62, false, false, false, true,  true,  false, false, false, true,  false, true,  true,  true,  false, false, F::ByIdLetter, 2,  16, 0,       false},
    {3,  64, false, true,  true,  false, false, true,  true,  true,  false, true,  true,  false, true,  false, false, F::Padded,     2,  16, 40,      true},
    {4,  65, true,  true,  true,  false, false, true,  true,  true,  false, true,  true,  false, true,  false, false, F::None,       4,  8,  42,      true},
    {5,  62, false, false, false, true,  true,  false, false, false, true,  true,  false, true,  false, false, false, F::Short,      2,  16, 0,       true},
    {6,  64, false, false, true,  true,  false, false, false, true,  false, true,  false, true,  false, false, true,  F::None,       2,  16, 40,      true},
};
// clang-format on

} // namespace

const LoggerType& LoggerTypeOf(int code)
{
    return IsKnownType(code) ? kTypes[code] : kTypes[0];
}

SerialClockFrame SerialClockFrameOf(int code, const QString& id)
{
    const SerialClockFrame frame = LoggerTypeOf(code).serialClock;
    if (frame != SerialClockFrame::ByIdLetter)
        return frame;
    return id.startsWith(QLatin1Char('i')) ? SerialClockFrame::Padded : SerialClockFrame::Short;
}
