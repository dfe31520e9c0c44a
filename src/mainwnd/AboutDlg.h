#pragma once

#include "mainwnd/CommandKeys.h"

#include <QDialog>
#include <vector>

class QGridLayout;

// The About box: icon, program name and version, OK, and below them the
// list of the window's keys.
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(const std::vector<KeyListLine>& keys = {}, QWidget* parent = nullptr);

    // The key list: its keys in the first column, what they do in the second.
    QGridLayout* KeyList() const { return m_pKeys; }

private:
    QGridLayout* m_pKeys = nullptr;
};
