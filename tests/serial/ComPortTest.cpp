#include "PtyEnd.h"

#include "link/serial/ComPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <thread>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Collects the chunks the read thread delivers.
class Chunks {
public:
    static void OnData(void* self, const unsigned char* bytes, int count)
    {
        static_cast<Chunks*>(self)->Add(bytes, count);
    }
    void Add(const unsigned char* bytes, int count)
    {
        std::lock_guard lock(m_mutex);
        m_chunks.emplace_back(bytes, bytes + count);
        m_cv.notify_all();
    }
    // Waits until `total` bytes have arrived; returns the chunks.
    std::vector<Bytes> WaitFor(size_t total, int timeoutMs = 5000)
    {
        std::unique_lock lock(m_mutex);
        m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return Total() >= total; });
        return m_chunks;
    }
    // Waits until the last byte received is `last`.
    bool WaitForLast(std::uint8_t last, int timeoutMs = 5000)
    {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return !m_chunks.empty() && m_chunks.back().back() == last; });
    }

private:
    size_t Total() const
    {
        size_t n = 0;
        for (const Bytes& c : m_chunks)
            n += c.size();
        return n;
    }
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Bytes> m_chunks;
};

Bytes Concat(const std::vector<Bytes>& chunks)
{
    Bytes all;
    for (const Bytes& c : chunks)
        all.insert(all.end(), c.begin(), c.end());
    return all;
}

Bytes Pattern(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return b;
}

class ComPortOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(m_pty.Port(), 0);
        m_port.m_pUserData = &m_chunks;
        m_port.m_pfnOnData = &Chunks::OnData;
        m_port.m_nChunkPauseMs = 50;
        ASSERT_TRUE(m_port.OpenPort(m_pty.Port()));
    }

    PtyEnd m_pty;
    Chunks m_chunks;
    LsComm::CComPort m_port;
};

TEST_F(ComPortOverPty, WritesReachTheDeviceAndReceivedBytesArriveInChunksEndedByAPause)
{
    const Bytes frame = {0xFF, 0xCF, 0xBF, 0x5F, 0x00, 0x00, 0x00};
    EXPECT_EQ(m_port.WritePort(frame.data(), 7), 7);
    EXPECT_EQ(m_pty.Read(7), frame);

    ASSERT_TRUE(m_pty.Write({1, 2, 3}));
    EXPECT_EQ(m_chunks.WaitFor(3).size(), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // well past the pause
    ASSERT_TRUE(m_pty.Write({4, 5}));
    const auto chunks = m_chunks.WaitFor(5);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[1], (Bytes {4, 5}));
}

TEST_F(ComPortOverPty, ALongBurstIsHandedOverInChunksOfAtMost2048Bytes)
{
    const Bytes data = Pattern(5000);
    ASSERT_TRUE(m_pty.Write(data));
    const auto chunks = m_chunks.WaitFor(data.size());
    EXPECT_EQ(Concat(chunks), data);
    EXPECT_GE(chunks.size(), 3u);
    for (const Bytes& c : chunks)
        EXPECT_LE(c.size(), 2048u);
}

TEST_F(ComPortOverPty, WritePortDoesNotBlockWhenTheDeviceIsNotReading)
{
    const Bytes data = Pattern(64 * 1024);
    for (size_t i = 0; i < data.size(); i += 64)
        ASSERT_EQ(m_port.WritePort(data.data() + i, 64), 64);
    EXPECT_EQ(m_pty.Read(data.size()), data); // the read thread writes out the rest in order
}

TEST_F(ComPortOverPty, ThePortIsHeldExclusivelyAndScanCountsItAsAbsent)
{
    PtyEnd other;
    LsComm::CComPort second;
    EXPECT_FALSE(second.OpenPort(m_pty.Port()));
    const int found = m_port.ScanPorts();
    EXPECT_EQ(m_port.m_nPortNo[m_pty.Port() - 1], m_pty.Port());
    EXPECT_EQ(m_port.m_nPresent[m_pty.Port() - 1], 0);
    EXPECT_EQ(m_port.m_nPresent[other.Port() - 1], 1);
    EXPECT_EQ(found, std::accumulate(std::begin(m_port.m_nPresent), std::end(m_port.m_nPresent), 0));

    m_port.ClosePort();
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_EQ(m_port.m_pSerialPort, nullptr);
    EXPECT_TRUE(second.OpenPort(m_pty.Port())); // released by the close
}

TEST_F(ComPortOverPty, WhenTheOtherEndVanishesTheThreadEndsByItselfAndCloseStillWorks)
{
    EXPECT_TRUE(m_port.HoldsPort(m_pty.Port()));
    m_pty.Close();
    for (int i = 0; i < 500 && !m_port.ThreadFinished(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(m_port.ThreadFinished());
    EXPECT_FALSE(m_port.HoldsPort(m_pty.Port()));
    EXPECT_TRUE(m_port.IsOpen()); // open as far as the object knows, until ClosePort
    m_port.ClosePort();
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(ComPortOverPty, CloseEndsAThreadThatIsDeliveringAndReopenStartsAfresh)
{
    ASSERT_TRUE(m_pty.Write(Pattern(1000)));
    m_port.ClosePort();
    EXPECT_TRUE(m_port.ThreadFinished());
    Chunks afterReopen;
    m_port.m_pUserData = &afterReopen;
    ASSERT_TRUE(m_port.OpenPort(m_pty.Port()));
    ASSERT_TRUE(m_pty.Write({0xA5}));
    EXPECT_TRUE(afterReopen.WaitForLast(0xA5));
}

TEST(ComPort, APortThatDoesNotExistLeavesTheHandleInvalidAndCloseDoesNothing)
{
    LsComm::CComPort port;
    EXPECT_FALSE(port.OpenPort(256)); // /dev/ttyUSB255
    ASSERT_NE(port.m_pSerialPort, nullptr);
    EXPECT_EQ(port.m_pSerialPort->m_hPort, -1);
    EXPECT_EQ(port.m_pReadThread, nullptr);
    port.ClosePort();
    EXPECT_NE(port.m_pSerialPort, nullptr);
    EXPECT_EQ(port.WritePort(reinterpret_cast<const unsigned char*>("x"), 1), 0);
    EXPECT_FALSE(port.OpenPort(0));
    EXPECT_FALSE(port.OpenPort(257));
}

} // namespace

namespace {

constexpr int kCannotDropPrivileges = 77;

// Opens path in a child that runs as `nobody`: 0 when the open worked,
// kCannotDropPrivileges when the child could not become that user.
int OpenAsNobody(const QString& path)
{
    const QByteArray name = path.toLocal8Bit();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(kCannotDropPrivileges);
        const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ::_exit(fd >= 0 ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

TEST_F(ComPortOverPty, AClosedPortCanBeOpenedByAnotherUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run the second open as another user";
    m_port.ClosePort();
    ASSERT_EQ(::chmod(m_pty.Path().toLocal8Bit().constData(), 0666), 0);
    const int result = OpenAsNobody(m_pty.Path());
    if (result == kCannotDropPrivileges)
        GTEST_SKIP() << "cannot become user nobody";
    EXPECT_EQ(result, 0);
}
