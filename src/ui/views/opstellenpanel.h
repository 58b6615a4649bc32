#pragma once
// The compose panel `OpstellenPanel`: the script list on top, below a
// splitter the coordinate list above the list of volumes and values, and the
// compose picture at the right. The lists mirror the document; their
// buttons belong to list editing and stay disabled until it is wired in.
// Buttons: ScriptAddButton, ScriptEditButton, ScriptDelButton,
// ScriptCopyButton, ScriptPasteButton, CoordAddButton, ..., IntDelButton.
#include <QWidget>

class QLabel;
class QListWidget;
class QScrollArea;
class QSplitter;
class QToolButton;

namespace korvimo {

class PictureWidget;

class OpstellenPanel final : public QWidget {
    Q_OBJECT
public:
    explicit OpstellenPanel(QWidget* parent = nullptr);

    void showLists(const QStringList& script, const QStringList& coordinates, const QStringList& intensities);

    QListWidget* scriptList() const { return m_script; }
    QListWidget* coordsList() const { return m_coords; }
    QListWidget* intList() const { return m_int; }
    QLabel* coordsLabel() const { return m_coordsLabel; }
    QScrollArea* scrollBox() const { return m_scrollBox; }
    PictureWidget* picture() const { return m_picture; }
    QSplitter* splitter() const { return m_splitter; }
    QList<QToolButton*> listButtons() const { return m_buttons; }

private:
    QWidget* listPanel(const QString& name, const QString& header, QListWidget* list, QLabel* extra,
                       const QStringList& buttons);

    QListWidget* m_script;
    QListWidget* m_coords;
    QListWidget* m_int;
    QLabel* m_coordsLabel;
    QScrollArea* m_scrollBox;
    PictureWidget* m_picture;
    QSplitter* m_splitter;
    QList<QToolButton*> m_buttons;
};

} // namespace korvimo
