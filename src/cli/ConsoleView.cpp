#include "cli/ConsoleView.h"

#include "cli/ConsoleText.h"

#include <unistd.h>

namespace {

constexpr int kBarWidth = 40;

} // namespace

ConsoleView::ConsoleView(std::FILE* out)
    : ConsoleView(out, ::isatty(::fileno(out)) == 1)
{
}

ConsoleView::ConsoleView(std::FILE* out, bool terminal)
    : m_out(out), m_bTerminal(terminal)
{
}

void ConsoleView::SetStatusText(const QString& text)
{
    const QString line = text.trimmed();
    // The workflow repeats a text when a state is entered again; one line says it.
    if (line.isEmpty() || line == m_lastPrinted)
        return;
    m_lastPrinted = line;
    ClearBar();
    Print(m_out, line + QLatin1Char('\n'));
    DrawBar();
    std::fflush(m_out);
}

void ConsoleView::SetProgress(int position)
{
    if (position <= 0) {
        ClearBar();
        m_percent = -1;
        std::fflush(m_out);
        return;
    }
    const int percent = position >= 200 ? 100 : position / 2;
    if (m_bTerminal) {
        if (percent == m_percent)
            return;
        m_percent = percent;
        DrawBar();
    } else {
        // One line per ten percent reached, so a log stays short.
        const int step = percent / 10 * 10;
        if (step == 0 || step <= m_percent)
            return;
        m_percent = step;
        Print(m_out, QStringLiteral("%1%\n").arg(step));
    }
    std::fflush(m_out);
}

void ConsoleView::ClearBar()
{
    if (!m_bBarDrawn)
        return;
    std::fputs("\r\033[K", m_out);
    m_bBarDrawn = false;
}

void ConsoleView::DrawBar()
{
    if (!m_bTerminal || m_percent < 0)
        return;
    const int filled = m_percent * kBarWidth / 100;
    const QString bar = QStringLiteral("\r[%1%2] %3%")
                            .arg(QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char('-')))
                            .arg(m_percent, 3);
    Print(m_out, bar);
    m_bBarDrawn = true;
}
