#pragma once

#include "base/Messages.h"
#include "link/serial/SerialDriver.h"
#include "record/LoggerRecord.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Builds a reply frame byte by byte from explicit positions, with its own
// checksum arithmetic, so the parser's tables are checked against
// independently written fixtures.
class ReplyBuilder {
public:
    ReplyBuilder(std::initializer_list<int> head7, int length)
        : m_b(static_cast<size_t>(length + 10), 0)
    {
        int i = 0;
        for (int v : head7)
            m_b[i++] = static_cast<std::uint8_t>(v);
        m_b[7] = static_cast<std::uint8_t>(length);
    }
    ReplyBuilder& Set(int pos, std::initializer_list<int> values)
    {
        for (int v : values)
            m_b.at(static_cast<size_t>(pos++)) = static_cast<std::uint8_t>(v);
        return *this;
    }
    ReplyBuilder& U16(int pos, int v) { return Set(pos, {v & 0xFF, (v >> 8) & 0xFF}); }
    // minute, hour, day, month, year % 100, year / 100
    ReplyBuilder& Time(int pos, int y, int mo, int d, int h, int mi) { return Set(pos, {mi, h, d, mo, y % 100, y / 100}); }
    // second, minute, hour, day, month, year % 100, year / 100
    ReplyBuilder& Clock(int pos, int y, int mo, int d, int h, int mi, int s)
    {
        return Set(pos, {s, mi, h, d, mo, y % 100, y / 100});
    }
    Bytes Done(char checksum = 'A') const
    {
        Bytes b = m_b;
        const size_t h = b.size() - 2;
        std::uint32_t s = 0;
        for (size_t i = 0; i < h; ++i)
            s = checksum == 'A' ? (s ^ b[i]) + b[i] : s + b[i];
        if (checksum == 'X')
            s = 0x1234; // wrong on purpose
        b[h] = static_cast<std::uint8_t>(s & 0xFF);
        b[h + 1] = static_cast<std::uint8_t>((s >> 8) & 0xFF);
        return b;
    }

private:
    Bytes m_b;
};

inline Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// What the serial side reported, counted.
struct RecordingSerialEvents : ISerialEvents {
    void OnCommandSent(int retries) override { sent.push_back(retries); }
    void OnPortLost() override { ++lost; }
    void OnInformation() override { ++information; }
    void OnReplyArrived() override { ++replies; }
    void OnLoggerClock() override { ++clocks; }
    void OnCalibrationOffered() override { ++calibrationOffers; }
    void OnBlock(bool stored) override { ++(stored ? blocksStored : blocksDropped); }

    std::vector<int> sent;
    int lost = 0, information = 0, replies = 0, clocks = 0, calibrationOffers = 0;
    int blocksStored = 0, blocksDropped = 0;
};

// The protocol with its request for the first block of a download counted.
class ProbeProtocol : public SerialProtocol {
public:
    using SerialProtocol::SerialProtocol;
    int firstBlockRequests = 0;

protected:
    void OnDownloadInformation() override { ++firstBlockRequests; }
};

// The serial protocol over its own record, with its events recorded.
class SerialProtocolFixture : public ::testing::Test {
protected:
    bool Feed(const Bytes& bytes) { return m_protocol.Receive(bytes.data(), static_cast<int>(bytes.size())); }

    ScopedTz m_tz {"UTC"};
    std::unique_ptr<CLoggerRecord> m_record = std::make_unique<CLoggerRecord>();
    RecordingSerialEvents m_events;
    ProbeProtocol m_protocol {m_record.get(), &m_events};
};

// A serial driver over its own record, with its events recorded and the
// messages posted (received chunks) collected.
class SerialLinkFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_queue.Install();
        m_link->m_pEvents = &m_events;
    }
    void TearDown() override { SetMessagePoster(nullptr); }

    ScopedTz m_tz {"UTC"};
    MessageQueue m_queue;
    RecordingSerialEvents m_events;
    std::unique_ptr<CLoggerRecord> m_record = std::make_unique<CLoggerRecord>();
    std::unique_ptr<SerialDriver> m_link = std::make_unique<SerialDriver>(*m_record);
};
