#pragma once

#include <QByteArray>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

// User messages of the dialogs (WM_USER + 101 .. + 112; those the serial
// link once posted to its own thread are now calls to the workflow).
enum UserMessage : int {
    WMU_USB_EVENT = 1125,
    WMU_PROGRESS = 1126,
    WMU_SERIAL_EVENT = 1127,
    WMU_LOGGER_CLOCK = 1132, // to the configuration dialog
    WMU_SERIAL_REIDENTIFY = 1134,
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
enum class MessageTarget { MainDialog, ConfigDialog, GraphView };

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
