#pragma once

#include <QString>

// Why the serial port at path cannot be opened for reading and writing
// ("in use by another program" when another program holds it exclusively,
// "permission denied", ...); empty when it opens.
QString PortOpenRefusal(const QString& path);
