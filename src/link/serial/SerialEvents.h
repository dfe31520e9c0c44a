#pragma once

// What the serial side reports to its owner (the logger workflow). Every
// call comes on the main thread, in the middle of a command or of the
// receive routine; an owner that must not react before the current handler
// returns queues its reaction. The defaults ignore the event.
class ISerialEvents {
public:
    virtual ~ISerialEvents() = default;

    // A command that waits for an answer went out; retries: its retry budget.
    virtual void OnCommandSent(int retries) { (void)retries; }
    // The port went away while a command was being sent.
    virtual void OnPortLost() {}
    // An information frame was decoded into the record (once per chunk).
    virtual void OnInformation() {}
    // The answer the pending command waits for has arrived (m_nReply).
    virtual void OnReplyArrived() {}
    // A status frame brought the logger clock into the record.
    virtual void OnLoggerClock() {}
    // The information says the logger's times are unset: offer Calibration Time.
    virtual void OnCalibrationOffered() {}
    // The logger answered a stop command (whatever else the reply code says).
    virtual void OnStopAnswered() {}
    // The logger answered a clock set that carried the sample interval.
    virtual void OnIntervalSet() {}
    // A sample block frame arrived; stored: its samples went into the record.
    virtual void OnBlock(bool stored) { (void)stored; }
};
