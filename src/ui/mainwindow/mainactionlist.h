#pragma once
// `MainActionList`: every command of the main window as a QAction with its
// caption, shortcut, icon and objectName, and the menu bar and tool bar
// built from them. The menu, the tool bar and the list buttons all trigger
// the same actions.
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMenuBar;
class QToolBar;

namespace korvimo {

struct CommandEntry {
    const char* menu;     // objectName of the menu the command sits in
    const char* name;     // objectName of the action
    const char* caption;  // menu caption, UTF-8
    const char* shortcut; // empty when none
    const char* icon;     // icon name, empty when none
    bool checkable;
};

// The command table in menu order.
const QList<CommandEntry>& commandTable();

class MainActionList final : public QObject {
    Q_OBJECT
public:
    explicit MainActionList(QObject* parent = nullptr);

    // The action with that objectName; never null for a name of the table.
    QAction* action(const QString& name) const;
    QList<QAction*> actions() const { return m_ordered; }

    // Fills the menu bar (`MainMenu1`) and the tool bar (`MainToolBar`).
    void buildMenus(QMenuBar& menuBar) const;
    void buildToolBar(QToolBar& toolBar) const;

private:
    QHash<QString, QAction*> m_actions;
    QList<QAction*> m_ordered;
};

} // namespace korvimo
