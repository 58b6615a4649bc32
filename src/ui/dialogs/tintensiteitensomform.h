#pragma once
// `TIntensiteitenSomForm` ("Intensiteiten/waarden-functie"): composes the
// inside of a value expression, names of volume and value lines joined by
// "+" and "-", for a value field of the script editor.
#include <QDialog>

#include "ui/lists/dialogparts.h"

class QLineEdit;
class QListWidget;
class QToolButton;

namespace korvimo {

class DiagramDocument;
struct ProgramContext;

class TIntensiteitenSomForm final : public QDialog {
    Q_OBJECT
public:
    TIntensiteitenSomForm(ProgramContext& ctx, DiagramDocument& doc, QWidget* parent = nullptr);

    void setFunctionText(const QString& text);
    QString functionText() const;

    QListWidget* list() const { return m_list; }
    QLineEdit* functionEdit() const { return m_edit; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addName();
    void okClicked();

    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    QListWidget* m_list;
    QLineEdit* m_edit;
    DialogButtons m_buttons;
};

} // namespace korvimo
