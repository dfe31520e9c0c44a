#pragma once

#include "base/Messages.h"
#include "record/LoggerRecord.h"

#include <vector>

struct MissionSettings;

// What a command sent through a driver came to.
enum class DriverReply {
    Refused, // not sent: the logger type does not take it on this link
    Sent,    // sent; the answer comes later, through the driver's events
    Done,    // sent and answered
    Failed,  // sent, but the logger did not answer as it should
};

// One kind of link to a logger. A driver talks to one device at a time and
// fills the record it was made with; everything but the read thread it may
// run is called on the main thread. A driver with a read thread posts what
// it receives addressed to Address().
class ILoggerDriver {
public:
    enum class Link { Usb, Serial };

    virtual ~ILoggerDriver() = default;

    virtual Link Kind() const = 0;
    MessageAddress Address() const { return m_address; }

    // The devices of this kind there are now, by number (CH375 index,
    // serial port number), ascending.
    virtual std::vector<int> Scan() = 0;
    // Talks to device from now on; false when there is no such device.
    virtual bool Attach(int device) = 0;
    virtual int Device() const = 0;
    // Closes the device.
    virtual void Detach() = 0;
    // A logger is there: the USB device passed its link checks, or the
    // serial logger sent something since the port was opened.
    bool Present() const { return m_bPresent; }
    void ForgetPresence() { m_bPresent = false; }

    // Reads the logger's identification and mission into the record; stop
    // makes the logger stop recording.
    virtual DriverReply Identify(bool stop) = 0;
    // Starts a download: the identification again, then the samples.
    virtual DriverReply Download(bool stop) = 0;
    // Reads run state and battery into the record.
    virtual DriverReply ReadStatus() = 0;
    // Sends the settings that start a mission.
    virtual DriverReply Configure(const MissionSettings& settings) = 0;
    // Sets the logger clock to the PC's.
    virtual DriverReply SetClock() = 0;

protected:
    ILoggerDriver() : m_address(NewMessageAddress()) {}
    ILoggerDriver(const ILoggerDriver&) = delete;
    ILoggerDriver& operator=(const ILoggerDriver&) = delete;

    void SetPresent(bool present) { m_bPresent = present; }

private:
    const MessageAddress m_address;
    bool m_bPresent = false;
};
