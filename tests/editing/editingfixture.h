#pragma once
// The main window with its editing wired in, plus helpers that act on a
// modal dialog the way a user would, while the code under test waits in
// the dialog's exec().
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "ui/lists/listediting.h"
#include "ui/shellfixture.h"
#include "ui/views/opstellenpanel.h"
#include "ui/views/viewcontroller.h"

namespace test {

// Runs `step` as soon as the top-level window named `name` is visible.
// Returns at once; the step runs inside the dialog's own event loop.
inline void onWindow(const QString& name, std::function<void(QWidget*)> step)
{
    auto* timer = new QTimer();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, name, step] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == name && w->isVisible()) {
                timer->stop();
                timer->deleteLater();
                // Keyboard accelerators need the dialog to be the active window.
                QApplication::setActiveWindow(w);
                step(w);
                return;
            }
        }
    });
    timer->start();
}

// Alt + key as a user presses it; a button answers its accelerator with an
// animated click, which lands a moment later.
inline void accelerator(QWidget* w, Qt::Key key)
{
    QWidget* target = QApplication::focusWidget() && QApplication::focusWidget()->window() == w->window()
                          ? QApplication::focusWidget()
                          : w;
    QTest::keyClick(target, key, Qt::AltModifier);
    // The animated click holds the button down for a moment; wait until
    // every button of the window is up again, however busy the machine is.
    const QList<QAbstractButton*> buttons = w->window()->findChildren<QAbstractButton*>();
    QTest::qWait(20);
    for (int i = 0; i < 250; ++i) {
        bool down = false;
        for (const QAbstractButton* b : buttons)
            down = down || b->isDown();
        if (!down)
            break;
        QTest::qWait(20);
    }
}

template <class T>
T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// A click on the button's face; check boxes and radio buttons are hit on
// their indicator, which is where a user aims.
inline void click(QWidget* w, const char* name)
{
    if (auto* b = child<QAbstractButton>(w, name)) {
        const bool indicator = b->inherits("QCheckBox") || b->inherits("QRadioButton");
        QTest::mouseClick(b, Qt::LeftButton, {}, indicator ? QPoint(6, b->height() / 2) : b->rect().center());
    }
}

// Selects a row of a list as a click would (-1 clears the selection).
inline void selectRow(QListWidget* list, int row)
{
    list->setCurrentRow(row);
    if (row < 0)
        list->clearSelection();
}

class EditingFixture : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        editing = form->findChild<korvimo::ListEditing*>(QStringLiteral("ListEditing"));
        ASSERT_NE(editing, nullptr);
        QApplication::setActiveWindow(form.get());
        // New makes an empty diagram here; the new-diagram dialog is not
        // what these tests look at.
        form->showNewForm = nullptr;
    }

    void compose()
    {
        act("ShowCreateAction")->trigger();
        QApplication::processEvents();
    }
    korvimo::OpstellenPanel& op() { return form->compose(); }
    // A key pressed in the main window, wherever its focus is.
    void keys(Qt::Key key, Qt::KeyboardModifiers mods)
    {
        QApplication::setActiveWindow(form.get());
        QWidget* target = form->focusWidget() ? form->focusWidget() : form.get();
        QTest::keyClick(target, key, mods);
    }
    QToolButton* button(const char* name) { return child<QToolButton>(&op(), name); }

    korvimo::ListEditing* editing = nullptr;
};

} // namespace test
