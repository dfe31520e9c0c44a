#include "base/Messages.h"

#include <atomic>
#include <chrono>

namespace {
std::mutex g_posterMutex;
MessagePoster g_poster;
std::atomic<MessageAddress> g_lastAddress{0};
} // namespace

MessageAddress NewMessageAddress()
{
    return ++g_lastAddress;
}

void SetMessagePoster(MessagePoster poster)
{
    std::lock_guard lock(g_posterMutex);
    g_poster = std::move(poster);
}

void PostMessageTo(Message message)
{
    MessagePoster poster;
    {
        std::lock_guard lock(g_posterMutex);
        poster = g_poster;
    }
    if (poster)
        poster(std::move(message));
}

void PostToMain(MessageAddress address, MessageBody body)
{
    PostMessageTo(Message{MessageTarget::MainDialog, address, std::move(body)});
}

void MessageQueue::Push(Message message)
{
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(std::move(message));
    }
    m_cv.notify_all();
}

int MessageQueue::Drain(const std::function<void(const Message&)>& handler)
{
    int handled = 0;
    for (;;) {
        Message message;
        {
            std::lock_guard lock(m_mutex);
            if (m_messages.empty())
                return handled;
            message = std::move(m_messages.front());
            m_messages.pop_front();
        }
        handler(message);
        ++handled;
    }
}

bool MessageQueue::Wait(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !m_messages.empty(); });
}

bool MessageQueue::Empty() const
{
    std::lock_guard lock(m_mutex);
    return m_messages.empty();
}

void MessageQueue::Install()
{
    SetMessagePoster([this](Message m) { Push(std::move(m)); });
}
