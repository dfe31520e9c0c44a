#include "sim/SimulateSpec.h"

#include <QStringList>

namespace {

struct TypeRange {
    int low, high;
};

TypeRange TypesOf(bool serial)
{
    return serial ? TypeRange{2, 6} : TypeRange{1, 4};
}

} // namespace

bool ParseSimulateKind(const QString& text, SimulateSpec& chosen, QString& error)
{
    const QString kind = text.section(QLatin1Char(':'), 0, 0);
    if (kind != QLatin1String("serial") && kind != QLatin1String("usb")) {
        error = QStringLiteral("--simulate takes usb[:TYPE] or serial[:TYPE], not '%1'").arg(text);
        return false;
    }
    chosen.serial = kind == QLatin1String("serial");
    if (!text.contains(QLatin1Char(':')))
        return true;
    const QString typeText = text.section(QLatin1Char(':'), 1);
    const TypeRange range = TypesOf(chosen.serial);
    bool ok = false;
    const int type = typeText.toInt(&ok);
    if (!ok || type < range.low || type > range.high) {
        error = QStringLiteral("a virtual %1 logger is of type %2..%3, not '%4'").arg(kind).arg(range.low).arg(range.high).arg(typeText);
        return false;
    }
    chosen.type = type;
    return true;
}

bool ParseTimeScale(const QString& text, SimulateSpec& chosen, QString& error)
{
    bool ok = false;
    const double scale = text.toDouble(&ok);
    if (!ok || !(scale > 0.0) || scale > 100000.0) {
        error = QStringLiteral("--time-scale takes a number above 0 up to 100000, not '%1'").arg(text);
        return false;
    }
    chosen.timeScale = scale;
    return true;
}

QString SimulatedId(const QString& base, int ordinal)
{
    if (ordinal <= 0 || base.size() < 3)
        return base;
    return base.left(base.size() - 3) + QStringLiteral("9%1").arg(ordinal % 100, 2, 10, QLatin1Char('0'));
}

bool ParseSimulateList(const QString& text, const SimulateSpec& base, std::vector<SimulateSpec>& chosen, QString& error)
{
    constexpr int kMostLoggers = 16;
    chosen.clear();
    const QStringList kinds = text.split(QLatin1Char(','));
    if (kinds.size() > kMostLoggers) {
        error = QStringLiteral("--simulate takes at most %1 loggers").arg(kMostLoggers);
        return false;
    }
    for (const QString& kind : kinds) {
        SimulateSpec one = base;
        one.ordinal = static_cast<int>(chosen.size());
        if (!ParseSimulateKind(kind.trimmed(), one, error))
            return false;
        chosen.push_back(one);
    }
    return true;
}
