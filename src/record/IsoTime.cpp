#include "record/IsoTime.h"

#include <cstdlib>
#include <ctime>

QString FormatIsoLocal(time64 t)
{
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (!localtime_r(&tt, &tm))
        return {};
    const long offset = tm.tm_gmtoff;
    const long minutes = std::labs(offset) / 60;
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", tm.tm_year + 1900, tm.tm_mon + 1,
                             tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, offset < 0 ? '-' : '+', minutes / 60,
                             minutes % 60);
}
