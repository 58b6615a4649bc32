#include "ui/help/widgettexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSet>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>

namespace korvimo {

namespace {

bool isQtInternal(const QString& name) { return name.startsWith(QLatin1String("qt_")); }

// The tab widget a page sits in, and its index there.
QTabWidget* tabOf(const QWidget* w, int* index)
{
    auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
    if (!stack)
        return nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    if (!tabs)
        return nullptr;
    *index = tabs->indexOf(const_cast<QWidget*>(w));
    return *index >= 0 ? tabs : nullptr;
}

bool isMemo(const QObject* o)
{
    if (qobject_cast<const QPlainTextEdit*>(o))
        return true;
    // A browser shows pages, not designed lines.
    return qobject_cast<const QTextEdit*>(o) && !qobject_cast<const QTextBrowser*>(o);
}

QString memoText(const QObject* o)
{
    if (const auto* p = qobject_cast<const QPlainTextEdit*>(o))
        return p->toPlainText();
    return qobject_cast<const QTextEdit*>(o)->toPlainText();
}

void setMemoText(QObject* o, const QString& text)
{
    if (auto* p = qobject_cast<QPlainTextEdit*>(o))
        p->setPlainText(text);
    else
        qobject_cast<QTextEdit*>(o)->setPlainText(text);
}

// Gives a nameless form-layout label the name of its field + "Label".
void nameBuddyLabel(QLabel* label)
{
    if (!label->objectName().isEmpty() || !label->buddy() || label->buddy()->objectName().isEmpty())
        return;
    label->setObjectName(label->buddy()->objectName() + QStringLiteral("Label"));
}

ControlTexts textsOf(QObject* o)
{
    ControlTexts c;
    c.name = o->objectName();
    if (auto* a = qobject_cast<QAction*>(o)) {
        c.caption = a->text();
        if (!a->toolTip().isEmpty())
            c.hint = a->toolTip();
        return c;
    }
    if (auto* m = qobject_cast<QMenu*>(o)) {
        c.caption = m->title();
        return c;
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (!w)
        return c;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        auto* tool = qobject_cast<QToolButton*>(w);
        if (!(tool && tool->defaultAction()))
            c.caption = b->text();
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        if (l->pixmap().isNull() && !l->movie())
            c.caption = l->text();
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        c.caption = g->title();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        c.items = items;
    } else if (isMemo(w)) {
        const QString text = memoText(w);
        c.lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }
    int tab = -1;
    if (QTabWidget* tabs = tabOf(w, &tab))
        c.caption = tabs->tabText(tab);
    if (!w->toolTip().isEmpty())
        c.hint = w->toolTip();
    return c;
}

void putBack(QObject* o, const ControlTexts& was, const ControlTexts& now)
{
    if (auto* a = qobject_cast<QAction*>(o)) {
        if (now.caption && now.caption != was.caption)
            a->setText(*now.caption);
        if (now.hint && now.hint != was.hint) {
            if (a->statusTip() == was.hint.value_or(QString()))
                a->setStatusTip(*now.hint);
            a->setToolTip(*now.hint);
        }
        return;
    }
    if (auto* m = qobject_cast<QMenu*>(o)) {
        if (now.caption && now.caption != was.caption)
            m->setTitle(*now.caption);
        return;
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (!w)
        return;
    if (now.caption && now.caption != was.caption) {
        int tab = -1;
        if (QTabWidget* tabs = tabOf(w, &tab))
            tabs->setTabText(tab, *now.caption);
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(*now.caption);
        else if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(*now.caption);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(*now.caption);
    }
    if (now.items && now.items != was.items) {
        auto* combo = qobject_cast<QComboBox*>(w);
        for (int i = 0; combo && i < now.items->size() && i < combo->count(); ++i)
            combo->setItemText(i, now.items->at(i));
    }
    if (now.lines && now.lines != was.lines)
        setMemoText(w, now.lines->join(QLatin1Char('\n')));
    if (now.hint && now.hint != was.hint)
        w->setToolTip(*now.hint);
}

// Every component of the window in creation order, each name once (the
// first component of a name stands for the others when texts are read;
// all of them take the translation).
struct Walk {
    QList<QObject*> components;
    QStringList unnamed;

    void visit(QObject* parent)
    {
        for (QObject* child : parent->children()) {
            if (auto* w = qobject_cast<QWidget*>(child)) {
                // Another window: it has its own section.
                if (w->isWindow() && (qobject_cast<QDialog*>(w) || qobject_cast<QMainWindow*>(w)))
                    continue;
                if (auto* l = qobject_cast<QLabel*>(w))
                    nameBuddyLabel(l);
            }
            const QString name = child->objectName();
            // Qt's own inner widgets (a tab widget's page stack, a scroll
            // area's viewport) hold the real controls.
            if (isQtInternal(name)) {
                visit(child);
                continue;
            }
            if (name.isEmpty())
                noteUnnamed(child);
            else
                components << child;
            visit(child);
        }
    }

    void noteUnnamed(QObject* o)
    {
        // A tool bar's button shows its action, which has a name.
        if (auto* tool = qobject_cast<QToolButton*>(o); tool && tool->defaultAction())
            return;
        const ControlTexts c = textsOf(o);
        QStringList shown;
        if (c.caption && needsTranslation(*c.caption) && !qobject_cast<QAction*>(o))
            shown << *c.caption;
        if (c.hint && needsTranslation(*c.hint) && !qobject_cast<QAction*>(o))
            shown << *c.hint;
        if (c.items)
            shown << c.items->filter(QRegularExpression(QStringLiteral("\\p{L}")));
        for (const QString& s : shown)
            unnamed << QString::fromLatin1(o->metaObject()->className()) + QStringLiteral(": ") + s;
    }
};

} // namespace

bool needsTranslation(const QString& text)
{
    for (const QChar c : text) {
        if (c.isLetter())
            return true;
    }
    return false;
}

CollectedWindow collectWindowTexts(QWidget& window)
{
    Walk walk;
    walk.visit(&window);
    CollectedWindow out;
    out.texts.name = window.objectName();
    out.texts.caption = window.windowTitle();
    QSet<QString> seen;
    for (QObject* o : walk.components) {
        if (seen.contains(o->objectName().toLower()))
            continue;
        seen.insert(o->objectName().toLower());
        out.texts.controls << textsOf(o);
    }
    out.unnamed = walk.unnamed;
    return out;
}

void translateWidgetWindow(QWidget& window, const LanguageFile& file)
{
    Walk walk;
    walk.visit(&window);
    WindowTexts texts;
    texts.name = window.objectName();
    texts.caption = window.windowTitle();
    for (QObject* o : walk.components)
        texts.controls << textsOf(o);
    const WindowTexts before = texts;
    translateWindow(file, texts);
    if (texts.caption != before.caption)
        window.setWindowTitle(texts.caption);
    for (qsizetype i = 0; i < walk.components.size(); ++i)
        putBack(walk.components[i], before.controls[i], texts.controls[i]);
}

} // namespace korvimo
