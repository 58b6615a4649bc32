#include "uikit/theme.h"

#include <QAbstractScrollArea>
#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace korvimo::uikit {

QColor fromWindowsColor(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int toWindowsColor(const QColor& c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

QPalette darkPalette()
{
    const QColor background = fromWindowsColor(dark::kBackground);
    const QColor field = fromWindowsColor(dark::kField);
    const QColor text = fromWindowsColor(dark::kText);
    const QColor hot = fromWindowsColor(dark::kHot);
    const QColor mid = fromWindowsColor(dark::kMidGrey);
    const QColor light = fromWindowsColor(dark::kLightGrey);
    const QColor accent = fromWindowsColor(dark::kAccent);

    QPalette p;
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, field);
    p.setColor(QPalette::AlternateBase, fromWindowsColor(dark::kThirdGrey));
    p.setColor(QPalette::ToolTipBase, background);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, mid);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, fromWindowsColor(dark::kThirdGrey));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, hot);
    p.setColor(QPalette::Midlight, fromWindowsColor(dark::kThirdGrey));
    p.setColor(QPalette::Mid, mid);
    p.setColor(QPalette::Dark, QColor(0x1E, 0x1E, 0x1E));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, fromWindowsColor(dark::kLink));
    p.setColor(QPalette::LinkVisited, light);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, mid);
    p.setColor(QPalette::Disabled, QPalette::Base, background);
    p.setColor(QPalette::Disabled, QPalette::Highlight, mid);
    return p;
}

bool DarkModeAllowed()
{
    static const bool allowed = QStyleFactory::keys().contains(QStringLiteral("Fusion"), Qt::CaseInsensitive);
    return allowed;
}

int appsUseLightTheme(const QPalette& systemPalette)
{
    const QColor window = systemPalette.color(QPalette::Window);
    const QColor text = systemPalette.color(QPalette::WindowText);
    return window.lightness() >= text.lightness() ? 1 : 0;
}

bool wantsDarkInterface(bool darkModeAllowed, int* interfaceTheme, int appsUseLight)
{
    if (!darkModeAllowed) {
        *interfaceTheme = 1;
        return false;
    }
    return *interfaceTheme == 3 || (*interfaceTheme == 1 && appsUseLight == 0);
}

void Theme::SetDarkModeForApplication(QApplication& app)
{
    if (m_darkActive)
        return;
    m_darkActive = true;
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    app.setPalette(darkPalette());
    for (QWidget* w : app.topLevelWidgets()) {
        DarkenForm(*w);
        w->update();
    }
}

void paintScrollArea(QWidget& w)
{
    QPalette p = w.palette();
    p.setColor(QPalette::Window, fromWindowsColor(dark::kScrollArea));
    w.setPalette(p);
    w.setAutoFillBackground(true);
}

void Theme::DarkenForm(QWidget& form) const
{
    if (!m_darkActive)
        return;
    // Scroll boxes take the scroll-area grey; grids keep field-coloured cells
    // under a header drawn in the hot grey.
    const QList<QWidget*> children = form.findChildren<QWidget*>();
    for (QWidget* w : children) {
        if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
            QPalette p = view->palette();
            p.setColor(QPalette::Base, fromWindowsColor(dark::kField));
            view->setPalette(p);
        } else if (auto* header = qobject_cast<QHeaderView*>(w)) {
            QPalette p = header->palette();
            p.setColor(QPalette::Button, fromWindowsColor(dark::kHot));
            header->setPalette(p);
        } else if (auto* area = qobject_cast<QScrollArea*>(w)) {
            // A scroll box shows its viewport: both take the grey, flat.
            area->setFrameShape(QFrame::NoFrame);
            for (QWidget* part : {static_cast<QWidget*>(area), area->viewport()}) {
                paintScrollArea(*part);
            }
        } else if (w->property(kScrollBoxProperty).toBool()) {
            paintScrollArea(*w);
        }
    }
}

} // namespace korvimo::uikit
