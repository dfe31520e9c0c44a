#pragma once

#include <QByteArray>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

// Messages posted to the main thread: by the serial read thread and the
// device libraries' threads, and calls the main thread queues for itself.
enum UserMessage : int {
    // The graph page starts over: complete data shown (wParam 1) or not.
    WMU_GRAPH_RESET = 1135,
    // Internal: a chunk of bytes received by the serial read thread, carried
    // in the payload, for the receive routine on the main thread.
    WMU_SERIAL_DATA = 1200,
    // Internal: a device-library notification, posted by its thread and
    // applied on the main thread: the CH375 event code in wParam, the signed
    // CH341 port value in lParam.
    WMU_USB_NOTIFY = 1201,
    WMU_SERIAL_NOTIFY = 1202,
    // Internal: a call the main thread queued for itself behind the messages
    // already waiting (Message::call), made when the message is handled.
    WMU_QUEUED_CALL = 1203,
};

// Who a message is for. Messages for a window that is not open are dropped
// by the poster that serves it.
enum class MessageTarget { MainDialog, GraphView };

struct Message {
    MessageTarget target = MessageTarget::MainDialog;
    int id = 0;
    std::intptr_t wParam = 0;
    std::intptr_t lParam = 0;
    QByteArray payload;
    std::function<void()> call {}; // WMU_QUEUED_CALL only
};

// The one way across threads: every thread hands its messages to the poster,
// which delivers them on the main thread. The GUI installs a poster over
// QCoreApplication::postEvent; tests and the CLI install a MessageQueue.
using MessagePoster = std::function<void(Message)>;
void SetMessagePoster(MessagePoster poster);
void PostMessageTo(Message message);
void PostToMain(int id, std::intptr_t wParam, std::intptr_t lParam, QByteArray payload = {});

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
