#include "sim/serial/VirtualSerialConfig.h"

#include <cmath>

VirtualSerialConfig VirtualSerialConfig::Demo(int type, int count)
{
    VirtualSerialConfig config;
    config.type = type;
    config.description = QStringLiteral("Virtual serial logger");
    for (int i = 0; i < count; ++i) {
        const double phase = 2.0 * M_PI * i / 144.0;
        config.temps.push_back(static_cast<float>(std::round((5.0 + 2.5 * std::sin(phase)) * 100.0) / 100.0));
        if (type == 4)
            config.humis.push_back(static_cast<float>(std::round((55.0 + 10.0 * std::cos(phase)) * 100.0) / 100.0));
    }
    return config;
}

QString VirtualSerialConfig::EffectiveId() const
{
    if (!id.isEmpty())
        return id.leftJustified(11, QLatin1Char('0'), true);
    switch (type) {
    case 2: return QStringLiteral("D2010000001");
    case 3: return QStringLiteral("UT301000001");
    case 4: return QStringLiteral("UTH01000001");
    case 5: return QStringLiteral("I2010000001");
    case 6: return QStringLiteral("DI201000001");
    default: return QStringLiteral("X0000000000");
    }
}
