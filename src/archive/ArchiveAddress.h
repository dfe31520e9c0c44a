#pragma once

#include <QString>
#include <QStringList>

// Where the mission archive lives: a SQLite file on this machine, or a
// PostgreSQL database shared between stations. A password is never part of
// an address: the PostgreSQL client library finds it in ~/.pgpass,
// PGPASSFILE, PGPASSWORD or a service file.
struct ArchiveAddress {
    enum class Kind { Sqlite, Postgres };
    Kind kind = Kind::Sqlite;
    QString path; // the SQLite file
    QString user;
    QString host; // a name, an address, or a folder holding the server's socket
    int port = 0; // 0: the client library's default
    QString database;
    QStringList options; // key=value pairs handed to the driver as given

    // The address as messages name it: the file, or USER@HOST[:PORT]/DB.
    QString Display() const;
};

// Parses postgresql://USER@HOST[:PORT]/DB[?key=value&...] (also postgres://;
// a host given as %2F... is a socket folder), sqlite:PATH, or a plain path
// of a SQLite file. False with error set when text is none of these or
// carries a password.
bool ParseArchiveAddress(const QString& text, ArchiveAddress& address, QString& error);

// The default archive: archive.sqlite in the program's folder under
// $XDG_DATA_HOME (~/.local/share when unset). The folder is not created here.
QString DefaultArchivePath();

// The archive a command uses when none is named: $HALVERN_ARCHIVE_DB when
// set (an address as above), else the default archive file.
QString DefaultArchiveAddress();
