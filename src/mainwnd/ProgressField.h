#pragma once

#include <QProgressBar>
#include <QString>
#include <QTimer>
#include <cstdint>

// The text of a download's progress: the share of the samples received,
// rounded down, and the counts ("37 % · 530 of 1440 samples"); empty
// without a count.
QString DownloadProgressText(int received, int count, std::uint16_t language);

// The progress field of the status line. While a download runs it shows
// the bar and the progress text; when the workflow clears it, the last
// state stays a moment longer, so even a short download is seen to end.
class CProgressField : public QProgressBar {
public:
    static constexpr int kHoldMs = 1000;

    explicit CProgressField(QWidget* parent = nullptr);
    // The workflow's position (0..200, 0: no download) with the record's
    // received and total sample counts.
    void Show(int position, int received, int count, std::uint16_t language);
    // The position the workflow set last (the bar may still hold the one
    // before it).
    int Position() const { return m_nPosition; }
    QTimer& HoldTimer() { return m_hold; }

private:
    void Clear();

    int m_nPosition = 0;
    QTimer m_hold;
};
