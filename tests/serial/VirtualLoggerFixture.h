#pragma once

#include "SerialTestSupport.h"

#include "sim/serial/VirtualSerialLogger.h"

#include <chrono>
#include <functional>

// A serial driver whose port is open on a virtual logger's pty; the test plays
// the main thread: PumpUntil hands posted chunks to the receive routine.
class VirtualLoggerFixture : public SerialLinkFixture {
protected:
    void TearDown() override
    {
        if (m_link)
            m_link->m_ComPort.ClosePort();
        m_logger.reset();
        SerialLinkFixture::TearDown();
    }

    void Connect(VirtualSerialConfig config, int chunkPauseMs = 20)
    {
        m_logger = std::make_unique<VirtualSerialLogger>(std::move(config));
        ASSERT_TRUE(m_logger->Start());
        m_link->m_ComPort.m_nChunkPauseMs = chunkPauseMs;
        ASSERT_TRUE(m_link->OpenPort(m_logger->Port()));
        m_link->Attach(m_logger->Port());
    }

    // Runs the main thread's side until pred holds or timeoutMs pass.
    bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 10000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!pred()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            m_queue.Wait(20);
            Dispatch();
        }
        return true;
    }
    // Pumps until nothing has arrived for quietMs.
    void PumpQuiet(int quietMs)
    {
        while (m_queue.Wait(quietMs))
            Dispatch();
    }
    void Dispatch()
    {
        m_queue.Drain([this](const Message& m) { m_link->TakeMessage(m); });
    }

    std::unique_ptr<VirtualSerialLogger> m_logger;
};
