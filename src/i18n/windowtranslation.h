#pragma once
// Translating the program's windows from a language file, without touching a
// widget: the desktop shell copies a window's texts into WindowTexts (one
// ControlTexts per owned component, found by objectName), lets
// translateWindow change them, and copies them back. Components whose name
// begins with kUntranslatedPrefix are left alone; the language dialog's own
// controls carry it, so that dialog always stays readable, and so do the
// menu items whose captions the program sets itself.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "i18n/languagefile.h"

namespace korvimo {

inline constexpr const char* kUntranslatedPrefix = "nt";
bool isUntranslatedComponent(const QString& componentName);

// The windows a language file translates, in the order they are translated.
const QStringList& translatedWindows();

// What one component shows. Only the texts the component really has are set.
struct ControlTexts {
    QString name;
    std::optional<QString> caption;
    std::optional<QString> hint;
    std::optional<QStringList> lines; // memo and rich-text controls
    std::optional<QStringList> items; // combo boxes
};

struct WindowTexts {
    QString name; // component name of the window, e.g. "ArmenForm"
    QString caption;
    QList<ControlTexts> controls; // in creation order
};

// The part of a language file that concerns one window (its section), with
// the file's rules for when a value counts. Every lookup gives the text to
// use, quotes removed, or nothing when the current text stays.
class WindowTranslation {
public:
    WindowTranslation(const LanguageFile& file, const QString& window);

    // Caption, hints, captions of controls and combo items change only for
    // a non-empty text; a memo line changes whenever its key is there, so a
    // line can be emptied.
    std::optional<QString> windowCaption() const;
    std::optional<QString> caption(const QString& component) const;
    std::optional<QString> hint(const QString& component) const;
    std::optional<QString> line(const QString& component, int index) const;
    std::optional<QString> item(const QString& component, int index) const;

private:
    std::optional<QString> nonEmpty(const QString& key) const;
    const LanguageFile& m_file;
    QString m_window;
};

// Applies the file to the window's texts: only existing lines and items are
// replaced, none added or removed; untranslated components are skipped.
void translateWindow(const LanguageFile& file, WindowTexts& window);

// The translation template of diagnostic mode: for every window a section
// with its caption (unless it equals the window's name), and for every
// translated control its caption (unless it equals the control's name, is
// "-" or is empty), its hint (unless empty), its memo lines up to the first
// line that equals the control's name, and its combo items; every value in
// double quotes. Line breaks inside a text become spaces so the file stays
// one entry a line.
QString translationTemplateText(const QList<WindowTexts>& windows);
// Writes the template as languageFolder + "All.lng" (safely, Windows-1252 or
// UTF-8 with a byte-order mark). False with error set on failure.
bool writeTranslationTemplate(const QList<WindowTexts>& windows, const QString& languageFolder,
                              QString* error = nullptr);

} // namespace korvimo
