#include "base/QtMessagePoster.h"

#include <QCoreApplication>
#include <map>
#include <mutex>

namespace {

std::mutex g_receiverMutex;
std::map<MessageTarget, QObject*> g_receivers;

void PostAsEvent(Message message)
{
    std::lock_guard lock(g_receiverMutex);
    const auto it = g_receivers.find(message.target);
    if (it == g_receivers.end() || !it->second)
        return;
    QCoreApplication::postEvent(it->second, new MessageEvent(std::move(message)));
}

} // namespace

MessageEvent::MessageEvent(Message message)
    : QEvent(EventType()), m_message(std::move(message))
{
}

QEvent::Type MessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void InstallQtMessagePoster()
{
    SetMessagePoster(PostAsEvent);
}

void SetMessageReceiver(MessageTarget target, QObject* receiver)
{
    std::lock_guard lock(g_receiverMutex);
    if (receiver)
        g_receivers[target] = receiver;
    else
        g_receivers.erase(target);
}

void ForgetMessageReceiver(QObject* receiver)
{
    std::lock_guard lock(g_receiverMutex);
    for (auto it = g_receivers.begin(); it != g_receivers.end();) {
        if (it->second == receiver)
            it = g_receivers.erase(it);
        else
            ++it;
    }
}
