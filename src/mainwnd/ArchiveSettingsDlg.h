#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QLineEdit;

// Where the window's mission archive lives: empty for the archive on this
// computer, a SQLite file, or postgresql://USER@HOST[:PORT]/DB. OK stores a
// valid address in the window's settings; a text that is no address (or
// carries a password) is refused with the reason and the dialog stays.
class CArchiveSettingsDlg : public QDialog {
public:
    explicit CArchiveSettingsDlg(std::uint16_t language, QWidget* parent = nullptr);

    QLineEdit* AddressEdit() const { return m_pAddress; }
    // Why OK was refused; empty when it was not.
    QString Refusal() const;

    void accept() override;

private:
    std::uint16_t m_language;
    QLineEdit* m_pAddress = nullptr;
    QLabel* m_pRefusal = nullptr;
};
