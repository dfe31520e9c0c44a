#pragma once

#include "base/DisplaySettings.h"
#include "link/LoggerDriver.h"

#include <cstdint>

// The driver of a CH375 logger: the frame exchange, its read-out and its
// commands. Everything runs on the main thread, through the CH375 library
// selected for the process (GetCh375Library). Every operation returns true
// on success; a failed one leaves the record unchanged (except where
// ReadInfo says otherwise).
class UsbDriver : public ILoggerDriver {
public:
    static constexpr int kReplySize = 64;
    static constexpr int kBlockValues = 20;

    explicit UsbDriver(CLoggerRecord& record);

    Link Kind() const override { return Link::Usb; }
    // The indices 0..15 a device can be opened at.
    std::vector<int> Scan() override;
    // Takes index when a device can be opened there.
    bool Attach(int index) override;
    int Device() const override { return m_nDeviceIndex; }
    // Takes index without looking at it (the scan has).
    void SelectDevice(int index) { m_nDeviceIndex = index; }
    void Detach() override;
    // ReadInfo(stop) on the open device.
    DriverReply Identify(bool stop) override;
    DriverReply Download(bool stop) override;
    // ReadRunState into the record.
    DriverReply ReadStatus() override;
    DriverReply Configure(const MissionSettings& settings) override;
    // The clock frame of the record's ID; refused for an ID without a rate code.
    DriverReply SetClock() override;

    // Closes a device left open, opens the selected index and runs the link
    // checks. True also when no device is at the index: the following write
    // then decides whether a logger answers.
    bool OpenUsbDevice();

    // Reads the information block into the record. bStop makes the logger
    // stop recording. The caller has opened the device.
    bool ReadInfo(bool bStop);
    // Runs its own open sequence; changes nothing unless the reply echoes.
    bool ReadRunState(std::int32_t& runState, std::int32_t& battery);
    // Copies n (1..57) description bytes into buffer. The caller has opened the device.
    bool ReadDescription(std::uint8_t* buffer, int n);
    // Reads nBytes (1..40) of sample memory at a byte address (0..65535) and
    // decodes nBytes / 2 readings into out. The caller has opened the device.
    bool ReadBlock(int address, int nBytes, float* out);
    // Sends a settings or clock frame of n (8..64) bytes after an open
    // sequence; the signature and three zero bytes are put in by this call.
    bool WriteSettings(const std::uint8_t* frame, int n);
    // Sends the description frame carrying text50 (50 bytes) after an open
    // sequence; no reply is read.
    bool WriteDescription(const std::uint8_t* text50);

    CLoggerRecord& Record() const { return *m_pRecord; }
    // How ReadInfo writes the record's texts (kDefaultDisplay unless set).
    void SetUsbDisplay(const DisplaySettings* display) { m_pUsbDisplay = display ? display : &kDefaultDisplay; }

    std::uint8_t m_byReply[kReplySize] = {};
    float m_fBlock[kBlockValues] = {};
    std::intptr_t m_hDevice = -1;
    // Bytes the library reported for the last read.
    int m_nReplyLength = 0;

private:
    unsigned long Index() const;
    bool WriteFrame(const std::uint8_t* frame, int n, unsigned long& written);
    bool ReadReply(unsigned long wanted);
    bool Exchange(const std::uint8_t* request, int n, int dataLength);
    bool EchoMatches(const std::uint8_t* request, int count) const;
    void FinishInfo();

    CLoggerRecord* m_pRecord;
    int m_nDeviceIndex = 0;
    const DisplaySettings* m_pUsbDisplay = &kDefaultDisplay;
};
