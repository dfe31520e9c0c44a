// The receiving station over virtual loggers attached through the real
// device code: several downloaded and filed at once, a logger pulled out
// mid-download, loggers that share an ID, a logger plugged in again, and the
// audit entries of the downloads filed.
#include "station/ReceivingStation.h"

#include "support/LoggerHoldings.h"
#include "support/TempDir.h"

#include "datafile/LoggerFile.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/DemoUsbLogger.h"
#include "sim/usb/VirtualCh375.h"
#include "workflow/EventLoop.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>
#include <ctime>
#include <memory>

namespace {

constexpr int kTimeoutMs = 30000;

QStringList DataFiles(const QString& root)
{
    QStringList files;
    QDirIterator it(root, {"*.tavo"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// Serial loggers are made (their threads started) before the fixture's
// queue is installed; USB loggers go into its virtual CH375 library.
class Station : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.folder = dir.root();
        settings.watchAllPorts = false;
    }
    void TearDown() override
    {
        station.reset();
        for (auto& logger : serial)
            logger->Stop();
        SetCh375Library(nullptr);
        SetMessagePoster(nullptr);
    }

    VirtualSerialLogger& AddSerial(const VirtualSerialConfig& config)
    {
        serial.push_back(std::make_unique<VirtualSerialLogger>(config));
        EXPECT_TRUE(serial.back()->Start());
        settings.ports << serial.back()->SlavePath();
        return *serial.back();
    }
    std::shared_ptr<CVirtualUsbLogger> AddUsb(int index, int type, time64 start)
    {
        auto logger = MakeDemoUsbLogger(type, start + 24 * 3600);
        usb.Plug(index, logger, false);
        return logger;
    }
    void StartStation()
    {
        queue.Install();
        SetCh375Library(&usb);
        station = std::make_unique<ReceivingStation>(settings, display, [this](const StationEvent& e) { events.push_back(e); });
        loop = std::make_unique<EventLoop>(queue, [this](const Message& m) { station->OnMessage(m); });
        loop->AddTimers(station->Timers(), [this](int id) { station->OnTimer(id); });
        station->SetAudit(audit);
        station->Start();
    }
    bool RunUntil(const std::function<bool()>& done) { return loop->RunUntil(done, kTimeoutMs); }
    bool Settled()
    {
        return !station->Busy();
    }
    int Count(StationEvent::Kind kind, int key) const
    {
        int n = 0;
        for (const StationEvent& e : events)
            n += e.kind == kind && e.row.key == key;
        return n;
    }

    TempDir dir;
    StationSettings settings;
    DisplaySettings display = kDefaultDisplay;
    MessageQueue queue;
    CVirtualCh375 usb;
    std::vector<std::unique_ptr<VirtualSerialLogger>> serial;
    std::unique_ptr<ReceivingStation> station;
    std::unique_ptr<EventLoop> loop;
    std::vector<StationEvent> events;
    IAuditSink* audit = nullptr;
};

TEST_F(Station, FilesSeveralLoggersAtOnceWithEverySampleExact)
{
    std::vector<LoggerHoldings> holds;
    for (int type : {4, 3}) {
        VirtualSerialConfig config = VirtualSerialConfig::Demo(type, 300);
        config.id = type == 4 ? "UTH01000011" : "UT301000012";
        config.paced = false;
        AddSerial(config);
        holds.push_back(Holds(config));
    }
    const auto now = static_cast<time64>(std::time(nullptr));
    holds.push_back(Holds(*AddUsb(0, 4, now - 24 * 3600)));
    holds.push_back(Holds(*AddUsb(1, 1, now - 24 * 3600)));
    StartStation();
    ASSERT_EQ(station->Rows().size(), 4u);
    ASSERT_TRUE(RunUntil([&] { return Settled(); }));

    for (const StationRow& row : station->Rows()) {
        SCOPED_TRACE(row.logger.toStdString());
        ASSERT_EQ(row.state, StationState::Archived) << row.reason.toStdString();
        EXPECT_EQ(Count(StationEvent::Kind::Attached, row.key), 1);
        EXPECT_EQ(Count(StationEvent::Kind::Identified, row.key), 1);
        EXPECT_GE(Count(StationEvent::Kind::Progress, row.key), 1);
        EXPECT_EQ(Count(StationEvent::Kind::Archived, row.key), 1);
        CLoggerRecord filed;
        ASSERT_EQ(OpenDataFileRecord(row.dataFile, filed, kDefaultDisplay), OpenDataResult::Loaded);
        const auto held = std::find_if(holds.begin(), holds.end(), [&](const LoggerHoldings& h) { return h.id == row.logger; });
        ASSERT_NE(held, holds.end());
        ExpectEverySample(filed, *held);
        EXPECT_EQ(row.samples, static_cast<int>(held->temps.size()));
    }
    EXPECT_EQ(DataFiles(dir.root()).size(), 4u);
}

TEST_F(Station, ALoggerPulledOutMidDownloadFailsAloneAndWritesNothing)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(4, 1500); // paced: several seconds
    config.id = "UTH01000021";
    VirtualSerialLogger& pulled = AddSerial(config);
    AddUsb(0, 4, static_cast<time64>(std::time(nullptr)) - 24 * 3600);
    StartStation();
    ASSERT_TRUE(RunUntil([&] {
        const auto rows = station->Rows();
        return std::any_of(rows.begin(), rows.end(), [](const StationRow& r) { return !r.usb && r.received > 0; });
    }));
    pulled.Vanish();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }));

    for (const StationRow& row : station->Rows()) {
        if (row.usb) {
            EXPECT_EQ(row.state, StationState::Archived) << row.reason.toStdString();
            continue;
        }
        EXPECT_EQ(row.state, StationState::Failed);
        EXPECT_FALSE(row.reason.isEmpty());
        EXPECT_TRUE(row.files.isEmpty());
    }
    EXPECT_EQ(DataFiles(dir.root()).size(), 1u);
    EXPECT_FALSE(QDir(dir.path("UTH01000021")).exists() && !QDir(dir.path("UTH01000021")).isEmpty());
}

// Two loggers answering with one ID: their own missions are both filed, the
// same mission once.
TEST_F(Station, LoggersSharingAnIdNeverWriteOverEachOther)
{
    const auto now = static_cast<time64>(std::time(nullptr));
    AddUsb(0, 4, now - 24 * 3600);
    AddUsb(1, 4, now - 48 * 3600); // the same demo ID, another start
    AddUsb(2, 4, now - 24 * 3600); // the same mission as at index 0
    StartStation();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }));

    int archived = 0, already = 0;
    for (const StationRow& row : station->Rows()) {
        archived += row.state == StationState::Archived;
        already += row.state == StationState::AlreadyArchived;
    }
    EXPECT_EQ(archived, 2);
    EXPECT_EQ(already, 1);
    EXPECT_EQ(DataFiles(dir.root()).size(), 2u);
}

TEST_F(Station, ALoggerPluggedInAgainIsAlreadyArchivedAndPullingOutIsAnEvent)
{
    settings.watchUsb = true;
    auto logger = AddUsb(0, 3, static_cast<time64>(std::time(nullptr)) - 24 * 3600);
    StartStation();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }));
    const QStringList first = DataFiles(dir.root());

    usb.Unplug(0);
    ASSERT_TRUE(RunUntil([&] { return !station->Rows().front().attached; }));
    usb.Plug(0, logger);
    ASSERT_TRUE(RunUntil([&] { return station->Rows().size() == 2 && Settled(); }));

    const auto rows = station->Rows();
    EXPECT_EQ(rows[0].state, StationState::Archived);
    EXPECT_EQ(Count(StationEvent::Kind::Detached, rows[0].key), 1);
    EXPECT_EQ(rows[1].state, StationState::AlreadyArchived);
    EXPECT_EQ(DataFiles(dir.root()), first);
}

struct RecordingSink : IAuditSink {
    void Record(const AuditEvent& event) override { events.push_back(event); }
    std::vector<AuditEvent> events;
};

TEST_F(Station, EachDownloadFiledIsRecordedWithItsDataFileAndFingerprint)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(3, 120);
    config.id = "UT301000012";
    config.paced = false;
    AddSerial(config);
    AddUsb(0, 4, static_cast<time64>(std::time(nullptr)) - 24 * 3600);
    RecordingSink sink;
    audit = &sink;
    StartStation();
    ASSERT_TRUE(RunUntil([&] { return Settled(); }));
    const std::vector<StationRow> rows = station->Rows();
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(sink.events.size(), 2u);
    for (const StationRow& row : rows) {
        SCOPED_TRACE(row.logger.toStdString());
        ASSERT_EQ(row.state, StationState::Archived) << row.reason.toStdString();
        const auto entry = std::find_if(sink.events.begin(), sink.events.end(),
                                        [&](const AuditEvent& e) { return e.logger == row.logger; });
        ASSERT_NE(entry, sink.events.end());
        EXPECT_EQ(entry->action, "download");
        EXPECT_EQ(entry->detail["samples"].toInt(), row.samples);
        EXPECT_EQ(entry->detail["file"].toString(), row.dataFile);
        QFile file(row.dataFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(entry->detail["sha256"].toString(),
                  QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()));
    }
}

} // namespace
