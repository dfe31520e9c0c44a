#include "station/StationRow.h"

QString EventName(StationEvent::Kind kind)
{
    switch (kind) {
    case StationEvent::Kind::Attached: return QStringLiteral("attached");
    case StationEvent::Kind::Identified: return QStringLiteral("identified");
    case StationEvent::Kind::Progress: return QStringLiteral("progress");
    case StationEvent::Kind::Archived: return QStringLiteral("archived");
    case StationEvent::Kind::AlreadyArchived: return QStringLiteral("already-archived");
    case StationEvent::Kind::Failed: return QStringLiteral("failed");
    case StationEvent::Kind::Detached: return QStringLiteral("detached");
    }
    return {};
}
