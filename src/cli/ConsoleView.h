#pragma once

#include "workflow/WorkflowView.h"

#include <QString>
#include <cstdio>

// The workflow's view on a terminal: each status text becomes one trimmed
// line on the stream, and the progress position a bar redrawn in place when
// the stream is a terminal, or a line per ten percent when it is not.
// Everything else the dialog would show is read from the record instead.
class ConsoleView : public IWorkflowView {
public:
    explicit ConsoleView(std::FILE* out = stderr);
    ConsoleView(std::FILE* out, bool terminal);

    void SetStatusText(const QString& text) override;
    void SetProgress(int position) override;

private:
    void ClearBar();
    void DrawBar();

    std::FILE* m_out;
    bool m_bTerminal;
    QString m_lastPrinted;
    int m_percent = -1;  // percent shown, -1 when no bar or line is shown
    bool m_bBarDrawn = false;
};
