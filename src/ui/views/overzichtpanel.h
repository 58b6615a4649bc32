#pragma once
// The overview panel `OverzichtPanel`: the scale field, the redraw button and
// the volume grid in a left column, the overview picture beside them.
#include <QSpinBox>
#include <QTableWidget>
#include <QWidget>

#include "ui/views/volumegrid.h"

class QFrame;
class QCheckBox;
class QLabel;
class QPushButton;

namespace korvimo {

class PictureWidget;

// `SchaalEdit`: a number field whose up-down buttons stop at 32000 while the
// typed value may go as high as a scale may be.
class ScaleEdit final : public QSpinBox {
    Q_OBJECT
public:
    explicit ScaleEdit(QWidget* parent = nullptr);
    void stepBy(int steps) override;

Q_SIGNALS:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// `OvIntStringGrid`: direction names (read-only) and volumes (editable).
class VolumeGrid final : public QTableWidget {
    Q_OBJECT
public:
    explicit VolumeGrid(QWidget* parent = nullptr);

    void setRows(const QList<GridRow>& rows);
    QList<GridRow> rows() const;
    int dataRowCount() const { return rowCount(); }

Q_SIGNALS:
    void editorOpened();
    // Enter in the grid, after moving to the next row.
    void enterPressed();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void enterAction();
};

class OverzichtPanel final : public QWidget {
    Q_OBJECT
public:
    explicit OverzichtPanel(QWidget* parent = nullptr);

    void setHeaderTexts(const QString& direction, const QString& volume);

    ScaleEdit* schaalEdit() const { return m_schaal; }
    QPushButton* redrawButton() const { return m_redraw; }
    // Diagnostic mode only: arcs drawn with the test method (Bezier curves).
    QCheckBox* testPolyCheckBox() const { return m_testPoly; }
    VolumeGrid* grid() const { return m_grid; }
    QFrame* scrollBox() const { return m_scrollBox; }
    PictureWidget* picture() const { return m_picture; }

private:
    ScaleEdit* m_schaal;
    QPushButton* m_redraw;
    QCheckBox* m_testPoly;
    QLabel* m_gridLabel;
    VolumeGrid* m_grid;
    QFrame* m_scrollBox;
    PictureWidget* m_picture;
};

} // namespace korvimo
