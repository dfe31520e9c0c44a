#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <mutex>

// Records every frame written to and read from a logger, on either link, as
// one line each: time stamp, link, direction and the bytes in hex. Off until
// Start is called; the CLI and the GUI switch it on with --trace FILE.
class FrameTrace {
public:
    enum class Dir { Out, In };

    static FrameTrace& Instance();

    bool Start(const QString& path);
    void Stop();
    bool Enabled() const;

    void Record(const char* link, Dir dir, const unsigned char* data, int length);
    void Record(const char* link, Dir dir, const QByteArray& data)
    {
        Record(link, dir, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<int>(data.size()));
    }
    // A free-form note (open, close, errors) between frames.
    void Note(const char* link, const QString& text);

    ~FrameTrace();

private:
    FrameTrace() = default;
    void WriteStamp(const char* link, const char* what);

    mutable std::mutex m_mutex;
    std::FILE* m_file = nullptr;
};
