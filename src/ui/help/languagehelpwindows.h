#pragma once
// The language, help and configuration windows of the main window, built
// when their command first runs, and the steps that keep every window in
// the chosen language (VertaalSchermen).
#include <QObject>
#include <QPointer>
#include <QString>

#include "ui/mainwindow/windowwiring.h"

namespace korvimo {

class HelpSystem;
class TConfigGegevensForm;
class TLanguageForm;
class TOpInternetForm;
class WindowTranslator;

class LanguageHelpWindows final : public QObject {
    Q_OBJECT
public:
    explicit LanguageHelpWindows(const WindowWiring& w);

    // Start-up, after the settings and run-time texts were read: the language
    // dialog while no language was ever chosen, then the windows in the
    // chosen language, then the help set.
    void SelectAndTranslateForms();
    // The window texts of language, and the texts that the program sets
    // itself (web links, read-me item, volume grid headers, version line).
    void VertaalSchermen(const QString& language);

    HelpSystem& help() const { return *m_help; }
    WindowTranslator& translator() const { return *m_translator; }
    TLanguageForm& languageForm();
    TConfigGegevensForm& configForm();
    TOpInternetForm& webLinksForm();

    void showLanguageDialog();
    void showConfigurationInfo();

private:
    void ownTexts();

    WindowWiring m_w;
    HelpSystem* m_help;
    WindowTranslator* m_translator;
    QPointer<TLanguageForm> m_language;
    QPointer<TConfigGegevensForm> m_config;
    QPointer<TOpInternetForm> m_web;
};

} // namespace korvimo
