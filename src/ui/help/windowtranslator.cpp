#include "ui/help/windowtranslator.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "i18n/windowtranslation.h"
#include "ui/help/widgettexts.h"

namespace korvimo {

namespace {

// The language file generation a window was last translated with.
constexpr const char* kGenerationProperty = "korvimoTranslation";

// Windows of this program that are not among the designed list but carry
// Dutch texts all the same.
const QStringList& extraWindows()
{
    static const QStringList names{QStringLiteral("HelpForm")};
    return names;
}

} // namespace

WindowTranslator::WindowTranslator(QObject* parent) : QObject(parent)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

WindowTranslator::~WindowTranslator()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool WindowTranslator::isTranslatedWindow(const QString& name)
{
    return translatedWindows().contains(name, Qt::CaseInsensitive)
           || extraWindows().contains(name, Qt::CaseInsensitive);
}

void WindowTranslator::setLanguageFile(std::optional<LanguageFile> file)
{
    m_file = std::move(file);
    ++m_generation;
    if (m_file) {
        // In the designed order first, then any other window of the program.
        QList<QWidget*> windows;
        for (const QString& name : translatedWindows()) {
            for (QWidget* w : QApplication::allWidgets()) {
                if (w->isWindow() && w->objectName() == name)
                    windows << w;
            }
        }
        for (QWidget* w : QApplication::allWidgets()) {
            if (w->isWindow() && !windows.contains(w))
                windows << w;
        }
        for (QWidget* w : windows)
            translate(*w);
    }
    Q_EMIT languageChanged();
}

void WindowTranslator::translate(QWidget& window)
{
    if (!m_file || !isTranslatedWindow(window.objectName()))
        return;
    if (window.property(kGenerationProperty).toInt() == m_generation)
        return;
    window.setProperty(kGenerationProperty, m_generation);
    translateWidgetWindow(window, *m_file);
}

bool WindowTranslator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && m_file && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow())
            translate(*w);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace korvimo
