#include "ui/dialogs/taantekeningenform.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/diagramdocument.h"

namespace korvimo {

TAantekeningenForm::TAantekeningenForm(DiagramDocument& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("AantekeningenForm"));
    setWindowTitle(QStringLiteral("Aantekeningen"));
    auto* layout = new QVBoxLayout(this);
    m_editor = new QPlainTextEdit(this);
    m_editor->setObjectName(QStringLiteral("AantekeningenMemo"));
    // Long lines wrap at the window's edge; the notes keep their own lines,
    // the wrapping is only how they are shown.
    m_editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(m_editor, 1);
    auto* row = new QHBoxLayout();
    m_show = new QCheckBox(QStringLiteral("Dit venster &tonen bij openen bestand"), this);
    m_show->setObjectName(QStringLiteral("ToonCheckBox"));
    m_close = new QPushButton(QStringLiteral("&Sluiten"), this);
    m_close->setObjectName(QStringLiteral("SluitenButton"));
    row->addWidget(m_show);
    row->addStretch(1);
    row->addWidget(m_close);
    layout->addLayout(row);
    resize(520, 380);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            m_doc.notesChanged = true;
    });
    // Any toggle counts, by mouse or by key: the setting is stored with the
    // diagram, so a change that does not make it modified could be lost.
    connect(m_show, &QCheckBox::clicked, this, [this] { m_doc.notesChanged = true; });
}

void TAantekeningenForm::showEvent(QShowEvent* event)
{
    m_loading = true;
    m_show->setChecked(m_doc.general.shownotesdialog);
    m_editor->setPlainText(m_doc.notes.join(QLatin1Char('\n')));
    m_loading = false;
    QDialog::showEvent(event);
    m_editor->setFocus();
}

void TAantekeningenForm::done(int result)
{
    m_doc.general.shownotesdialog = m_show->isChecked();
    if (m_doc.notesChanged) {
        const QString text = m_editor->toPlainText();
        m_doc.notes = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
        m_doc.notesChanged = false;
        m_changed = true;
    }
    QDialog::done(result);
}

bool TAantekeningenForm::takeChange()
{
    const bool c = m_changed;
    m_changed = false;
    return c;
}

} // namespace korvimo
