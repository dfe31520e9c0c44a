#pragma once

#include "link/usb/UsbDriver.h"
#include "link/usb/SettingsFrame.h"
#include "record/LoggerRecord.h"
#include "record/TimeText.h"
#include "record/Units.h"
#include "sim/usb/VirtualCh375.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>
#include <memory>

// A USB driver whose CH375 library is the virtual one, with one virtual
// logger at index 0, filling a record of its own; local time is UTC and the
// unit degrees C.
class UsbFixture : public ::testing::Test {
protected:
    static constexpr time64 kNow = 1700000000; // 2023-11-14 22:13:20 UTC

    UsbFixture()
    {
        SetCh375Library(&lib);
        link->SetUsbDisplay(&display);
    }
    ~UsbFixture() override
    {
        SetCh375Library(nullptr);
    }

    std::shared_ptr<CVirtualUsbLogger> Plug(const char* id, int index = 0)
    {
        auto logger = std::make_shared<CVirtualUsbLogger>(QByteArray(id), kNow);
        lib.Plug(index, logger, false);
        return logger;
    }

    // The identification of a fresh logger: open, then two information reads.
    bool Identify()
    {
        record->m_nType = 0;
        return link->OpenUsbDevice() && link->ReadInfo(false) && link->ReadInfo(false);
    }

    ScopedTz tz{"UTC"};
    DisplaySettings display{TempUnit::Celsius};
    CVirtualCh375 lib;
    std::unique_ptr<CLoggerRecord> record = std::make_unique<CLoggerRecord>();
    std::unique_ptr<UsbDriver> link = std::make_unique<UsbDriver>(*record);
};
