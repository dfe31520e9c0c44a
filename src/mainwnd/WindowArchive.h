#pragma once

#include "archive/Archive.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

// The mission archive of the window: the default archive on this computer
// unless the user has set another address (remembered in the window's
// settings), opened when first needed. Save indexes the data files it
// writes here; the Archive view lists what is here.
class CWindowArchive : public QObject {
    Q_OBJECT

public:
    explicit CWindowArchive(QObject* parent = nullptr);

    // The address as the user typed it; empty for the default archive.
    static QString StoredAddress();
    static void StoreAddress(const QString& text);
    // The address in force: the stored one or the default archive. A
    // PostgreSQL address without a connect_timeout waits 10 s at most, so
    // an unreachable server cannot hold the window for minutes. False with
    // error set when the stored text is not an address.
    static bool AddressInForce(ArchiveAddress& address, QString& error);

    // Opens the archive of the address in force unless it is open already;
    // false with error (the reason, for the user) when it cannot be opened.
    // After a failure the same reason is given for a minute without trying
    // again (an unreachable server would hold the window each time), unless
    // Reset is called.
    bool Open(QString& error);
    bool IsOpen() const { return m_open; }
    CArchive& Archive() { return m_archive; }
    // Closes the archive; the next use opens the address in force again.
    void Reset();
    // Indexes a data file, opening the archive first; a connection lost
    // since the last use is made again. A failure closes the archive, so
    // that the next use connects anew.
    ImportResult Import(const QString& path);

signals:
    // A mission was added, or the archive is another one now.
    void Changed();

private:
    CArchive m_archive;
    bool m_open = false;
    QString m_failure;     // why the last open failed
    QElapsedTimer m_failed; // since when; invalid when the last open did not fail
};
