#pragma once

#include "base/Messages.h"

#include <QEvent>
#include <QObject>

// Delivers posted messages as Qt events on the main thread. A window that
// wants messages registers itself for its target; messages for a target
// with no receiver are dropped, as posts to a closed window are.
class MessageEvent : public QEvent {
public:
    explicit MessageEvent(Message message);
    static QEvent::Type EventType();
    const Message& message() const { return m_message; }

private:
    Message m_message;
};

// Installs the poster; safe to call more than once.
void InstallQtMessagePoster();
// Registers (or, with null, removes) the receiver of a target.
void SetMessageReceiver(MessageTarget target, QObject* receiver);
// Removes receiver wherever it is registered (for destructors).
void ForgetMessageReceiver(QObject* receiver);
