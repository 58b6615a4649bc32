#include "i18n/windowtranslation.h"

#include <QDir>

#include "document/textfile.h"

namespace korvimo {

namespace {

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString entry(const QString& key, const QString& value)
{
    return key + QStringLiteral("=\"") + oneLine(value) + QLatin1Char('"');
}

} // namespace

bool isUntranslatedComponent(const QString& componentName)
{
    return componentName.startsWith(QLatin1String(kUntranslatedPrefix), Qt::CaseInsensitive);
}

const QStringList& translatedWindows()
{
    static const QStringList all{
        QStringLiteral("HoofdForm"),        QStringLiteral("OpstartInfoForm"),
        QStringLiteral("NieuwForm"),        QStringLiteral("AantekeningenForm"),
        QStringLiteral("AlleIntensiteitenWijzigenForm"), QStringLiteral("ProgInstelForm"),
        QStringLiteral("OpInternetForm"),   QStringLiteral("CoordForm"),
        QStringLiteral("IntForm"),          QStringLiteral("ScriptForm"),
        QStringLiteral("OpmaakForm"),       QStringLiteral("TextForm"),
        QStringLiteral("ZoomFactorForm"),   QStringLiteral("IntensiteitenSomForm"),
        QStringLiteral("KleurForm"),        QStringLiteral("ArmenForm"),
        QStringLiteral("ExporterenForm"),   QStringLiteral("AfdrukkenForm")};
    return all;
}

WindowTranslation::WindowTranslation(const LanguageFile& file, const QString& window)
    : m_file(file), m_window(window)
{
}

std::optional<QString> WindowTranslation::nonEmpty(const QString& key) const
{
    const std::optional<QString> v = m_file.value(m_window, key);
    if (!v)
        return std::nullopt;
    QString text = stripQuotes(*v);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

std::optional<QString> WindowTranslation::windowCaption() const
{
    return nonEmpty(m_window + QStringLiteral(".Caption"));
}

std::optional<QString> WindowTranslation::caption(const QString& component) const
{
    return nonEmpty(m_window + QLatin1Char('.') + component + QStringLiteral(".Caption"));
}

std::optional<QString> WindowTranslation::hint(const QString& component) const
{
    return nonEmpty(m_window + QLatin1Char('.') + component + QStringLiteral(".Hint"));
}

std::optional<QString> WindowTranslation::line(const QString& component, int index) const
{
    const std::optional<QString> v
        = m_file.value(m_window, m_window + QLatin1Char('.') + component + QStringLiteral(".Lines[%1]").arg(index));
    if (!v)
        return std::nullopt;
    return stripQuotes(*v);
}

std::optional<QString> WindowTranslation::item(const QString& component, int index) const
{
    return nonEmpty(m_window + QLatin1Char('.') + component + QStringLiteral(".Items[%1]").arg(index));
}

void translateWindow(const LanguageFile& file, WindowTexts& window)
{
    const WindowTranslation t(file, window.name);
    if (const auto c = t.windowCaption())
        window.caption = *c;
    for (ControlTexts& control : window.controls) {
        if (isUntranslatedComponent(control.name))
            continue;
        if (control.caption) {
            if (const auto c = t.caption(control.name))
                control.caption = *c;
        }
        if (control.hint) {
            if (const auto h = t.hint(control.name))
                control.hint = *h;
        }
        if (control.lines) {
            for (int i = 0; i < control.lines->size(); ++i) {
                if (const auto l = t.line(control.name, i))
                    (*control.lines)[i] = *l;
            }
        }
        if (control.items) {
            for (int i = 0; i < control.items->size(); ++i) {
                if (const auto it = t.item(control.name, i))
                    (*control.items)[i] = *it;
            }
        }
    }
}

QString translationTemplateText(const QList<WindowTexts>& windows)
{
    QStringList out;
    for (const WindowTexts& w : windows) {
        if (!out.isEmpty())
            out << QString();
        out << QLatin1Char('[') + w.name + QLatin1Char(']');
        if (w.caption != w.name)
            out << entry(w.name + QStringLiteral(".Caption"), w.caption);
        for (const ControlTexts& c : w.controls) {
            if (isUntranslatedComponent(c.name))
                continue;
            const QString key = w.name + QLatin1Char('.') + c.name;
            if (c.caption && !c.caption->isEmpty() && *c.caption != c.name && *c.caption != QLatin1String("-"))
                out << entry(key + QStringLiteral(".Caption"), *c.caption);
            if (c.hint && !c.hint->isEmpty())
                out << entry(key + QStringLiteral(".Hint"), *c.hint);
            if (c.lines) {
                // A memo that still shows its own name holds no designed text.
                for (int i = 0; i < c.lines->size() && c.lines->at(i) != c.name; ++i)
                    out << entry(key + QStringLiteral(".Lines[%1]").arg(i), c.lines->at(i));
            }
            if (c.items) {
                for (int i = 0; i < c.items->size(); ++i)
                    out << entry(key + QStringLiteral(".Items[%1]").arg(i), c.items->at(i));
            }
        }
    }
    const QString crlf = QStringLiteral("\r\n");
    return out.join(crlf) + crlf;
}

bool writeTranslationTemplate(const QList<WindowTexts>& windows, const QString& languageFolder, QString* error)
{
    if (!QDir().mkpath(languageFolder)) {
        if (error)
            *error = QStringLiteral("Cannot create folder %1").arg(languageFolder);
        return false;
    }
    return textfile::writeBytes(languageFilePath(languageFolder, QStringLiteral("All")),
                                textfile::encodeLines(textfile::splitLines(translationTemplateText(windows))),
                                error);
}

} // namespace korvimo
