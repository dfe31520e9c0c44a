#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QFileDevice;

// One output of the program. A regular file, or a path where nothing exists
// yet, is written to a temporary file in the same folder that replaces the
// target only when committed whole, so a failure leaves any earlier file
// as it was. Anything else (a character device, a FIFO, /dev/stdout, and
// "-", standard output) is written straight to, never replaced.
class COutputFile {
public:
    explicit COutputFile(const QString& path);
    ~COutputFile(); // an output not committed is discarded
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    // False with Error() set when the target cannot be written.
    bool Open();
    // Writes data and completes the output; false with Error() set when
    // any of it could not be written.
    bool Commit(const QByteArray& data);
    // Drops a written-through temporary file; the target stays as it was.
    void Cancel();
    // Why the last step failed, worded in lower case ("no space left on device").
    const QString& Error() const { return m_error; }

    // Whether path is written straight to rather than replaced.
    static bool IsDirect(const QString& path);

private:
    bool Fail();

    QString m_path;
    std::unique_ptr<QFileDevice> m_file;
    QString m_error;
};
