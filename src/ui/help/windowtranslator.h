#pragma once
// Keeps the program's windows in the chosen language. Windows are built
// when their command first runs, some long after the language was chosen,
// so besides translating every window that exists when the language
// changes, the translator watches the application and translates a window
// the first time it is shown under the current language file.
#include <QObject>
#include <QString>
#include <optional>

#include "i18n/languagefile.h"

class QWidget;

namespace korvimo {

class WindowTranslator final : public QObject {
    Q_OBJECT
public:
    explicit WindowTranslator(QObject* parent = nullptr);
    ~WindowTranslator() override;

    // The file to translate with from now on (nothing for the base language:
    // its texts are the designed ones and come back only after a restart).
    // Translates every existing window at once.
    void setLanguageFile(std::optional<LanguageFile> file);
    bool hasLanguageFile() const { return m_file.has_value(); }

    // Whether a window of this name is translated (the windows a language
    // file names; never the language dialog, which must stay readable).
    static bool isTranslatedWindow(const QString& name);

    // Translates one window now, when it is a translated window and has not
    // yet been translated with the current file.
    void translate(QWidget& window);

Q_SIGNALS:
    // After setLanguageFile translated the existing windows: texts that the
    // program sets itself follow here.
    void languageChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<LanguageFile> m_file;
    int m_generation = 0;
};

} // namespace korvimo
