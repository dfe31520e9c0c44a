#pragma once

#include <QByteArray>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <variant>

// Messages posted to the main thread: by the serial read threads and the
// device libraries' hot-plug threads, and calls the main thread queues for
// itself. Each carries what it is about as a typed body, and the address of
// the one it concerns (a connection's workflow or a serial driver), so that
// several loggers in one process each take only their own.
using MessageAddress = std::uint64_t;
// A fresh address, never 0 and never handed out before in this process.
MessageAddress NewMessageAddress();

// Bytes the serial read thread received.
struct SerialChunk {
    QByteArray bytes;
};
// The serial line went quiet after bytes arrived.
struct LineQuiet {};
// A CH375 arrival or removal (the library's event code).
struct UsbNotify {
    unsigned long event = 0;
};
// A CH341 port arrived (its number) or went away (the negated number).
struct SerialNotify {
    int port = 0;
};
// A call the main thread queued for itself behind the messages already
// waiting, made when the message is handled.
struct QueuedCall {
    std::function<void()> call;
};
using MessageBody = std::variant<SerialChunk, LineQuiet, UsbNotify, SerialNotify, QueuedCall>;

// Which window a message is for. Messages for a window that is not open are
// dropped by the poster that serves it.
enum class MessageTarget { MainDialog };

struct Message {
    MessageTarget target = MessageTarget::MainDialog;
    MessageAddress address = 0;
    MessageBody body;
};

// The one way across threads: every thread hands its messages to the poster,
// which delivers them on the main thread. The GUI installs a poster over
// QCoreApplication::postEvent; tests and the CLI install a MessageQueue.
using MessagePoster = std::function<void(Message)>;
void SetMessagePoster(MessagePoster poster);
void PostMessageTo(Message message);
// Posts body to the main dialog's thread, addressed to address.
void PostToMain(MessageAddress address, MessageBody body);

// A thread-safe queue that a test or the CLI drains on its own thread.
class MessageQueue {
public:
    void Push(Message message);
    // Pops every waiting message into handler, in order; returns how many.
    int Drain(const std::function<void(const Message&)>& handler);
    // Waits up to timeoutMs for at least one message.
    bool Wait(int timeoutMs);
    bool Empty() const;
    // Installs this queue as the process's poster.
    void Install();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Message> m_messages;
};
