#pragma once

#include "sim/LiveMission.h"
#include "sim/serial/VirtualSerialConfig.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

// A serial logger of type 2 .. 6 on the master side of a pseudo-terminal.
// The slave side is registered in the PortTable as a CH341 port, so the real
// port layer opens and talks to it exactly as to a converter. It answers the
// command frames (identification, sample blocks streamed after the first
// request, status, description, settings, stop, clock set), paced at 9600
// baud unless config.paced is false, and offers fault knobs. Its clock runs
// config.timeScale times as fast as the computer's; a mission started by the
// settings (or, for type 6, the clock set with the interval) records as that
// clock moves on.
class VirtualSerialLogger {
public:
    explicit VirtualSerialLogger(VirtualSerialConfig config);
    ~VirtualSerialLogger();
    VirtualSerialLogger(const VirtualSerialLogger&) = delete;
    VirtualSerialLogger& operator=(const VirtualSerialLogger&) = delete;

    // Creates the pty, registers its port number and starts answering.
    bool Start();
    // Stops answering, closes the pty and unregisters the port (no announcement).
    void Stop();
    int Port() const { return m_port; }
    QString SlavePath() const { return m_slavePath; }
    // Announces the port's arrival to the CH341 notification routine.
    void Announce() const;

    // ---- fault knobs (any thread) ----
    void SetNoise(int bytes);        // noise bytes before every reply
    // Before every reply, the head of an information frame whose length
    // byte promises 255 data bytes that never follow.
    void SetFalseHead(bool on);
    void CorruptNextChecksum();      // the next reply frame has a wrong checksum
    void DropBlock(int index);       // sample block `index` is skipped once
    void StallNext(int seconds);     // wait before the next reply
    void IgnoreSettings(bool on);    // settings frames get no reply and change nothing
    // The converter is pulled: the pty closes, the port is unregistered and
    // its removal announced.
    void Vanish();

    // ---- what the logger holds now ----
    VirtualSerialConfig Config() const;
    time64 Clock() const;
    // Moves the logger's clock ahead (a mission records what falls due).
    void Advance(time64 seconds);
    QByteArray LastSettings() const; // payload of the last settings write
    int CommandsReceived() const { return m_commands.load(); }

private:
    void ThreadMain();
    bool ReadCommands();
    int CommandLength(const std::uint8_t* b, int available) const;
    void Handle(const std::uint8_t* b, int length);
    void Reply(QByteArray frame);
    void SendNextBlock();
    int BlockOfOffset(int byteOffset) const;
    bool WriteAll(const char* data, int length);
    bool Sleep(int ms);
    void Pace(int bytes);
    // Takes the samples of a recording mission that fell due by now (mutex held).
    void RecordDue();
    void StartRecording(time64 start, int intervalMinutes);
    int Capacity() const;

    mutable std::mutex m_mutex; // config, clock, knobs
    VirtualSerialConfig m_config;
    LiveClock m_clock;
    bool m_recording = false; // a mission started here is recording (or waits for its start)
    QByteArray m_lastSettings;
    int m_noise = 0;
    bool m_falseHead = false;
    bool m_corruptNext = false;
    int m_dropBlock = -1;
    int m_stallSeconds = 0;
    bool m_ignoreSettings = false;

    int m_master = -1;
    int m_stopEvent = -1;
    int m_port = 0;
    QString m_slavePath;
    std::thread m_thread;
    QByteArray m_input;       // command bytes not yet handled (thread only)
    int m_nextBlock = -1;     // streaming position; -1 when not streaming (thread only)
    int m_lastBlock = 0;      // last block sent (thread only)
    std::uint32_t m_noiseSeed = 0x2545F491;
    std::atomic<int> m_commands{0};
};
