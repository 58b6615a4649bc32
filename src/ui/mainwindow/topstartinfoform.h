#pragma once
// `TOpstartInfoForm`: program icon, logo, name, version and web address.
// Shown without blocking for a moment at start-up, and modally by Info,
// where "&Sluiten" or any key closes it.
#include <QDialog>

class QLabel;
class QPushButton;

namespace korvimo {

class Messenger;

struct VersionInfo {
    int major = 0, minor = 0, release = 0, build = 0;
    QString productVersion;
    // From the build's version text "major.minor.release[.build]".
    static VersionInfo fromText(const QString& text);
    // "major.minor.release build N".
    QString versionText() const;
};

class TOpstartInfoForm final : public QDialog {
    Q_OBJECT
public:
    TOpstartInfoForm(const VersionInfo& version, const QString& webAddress, bool dutch, QWidget* parent = nullptr);

    void setMessenger(Messenger* messenger) { m_messenger = messenger; }
    // At start-up the close button is hidden; afterwards it shows.
    void setCloseButtonVisible(bool on);
    QLabel* nameLabel() const { return m_name; }
    QLabel* versionLabel() const { return m_version; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    VersionInfo m_info;
    QLabel* m_name;
    QLabel* m_version;
    QPushButton* m_close;
    Messenger* m_messenger = nullptr;
};

} // namespace korvimo
