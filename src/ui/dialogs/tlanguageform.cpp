#include "ui/dialogs/tlanguageform.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/programcontext.h"

namespace korvimo {

namespace {

QListWidget* listIn(QGroupBox* box, const char* name)
{
    auto* l = new QVBoxLayout(box);
    auto* list = new QListWidget(box);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    l->addWidget(list);
    return list;
}

void preselect(QListWidget* list, const QString& name)
{
    list->clearSelection();
    list->setCurrentItem(nullptr);
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchFixedString);
    if (!found.isEmpty()) {
        list->setCurrentItem(found.first());
        found.first()->setSelected(true);
    }
}

QString selected(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

} // namespace

TLanguageForm::TLanguageForm(ProgramContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("LanguageForm"));
    setWindowTitle(QStringLiteral("Language"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* layout = new QVBoxLayout(this);
    auto* lists = new QHBoxLayout();
    auto* program = new QGroupBox(QStringLiteral(" Program: "), this);
    program->setObjectName(QStringLiteral("ntProgramGroupBox"));
    m_languages = listIn(program, "ntLanguageListBox");
    auto* help = new QGroupBox(QStringLiteral(" Help: "), this);
    help->setObjectName(QStringLiteral("ntHelpGroupBox"));
    m_help = listIn(help, "ntHelpListBox");
    lists->addWidget(program);
    lists->addWidget(help);
    layout->addLayout(lists, 1);

    auto* buttons = new QHBoxLayout();
    m_template = new QPushButton(QStringLiteral("All.lng"), this);
    m_template->setObjectName(QStringLiteral("ntTemplateButton"));
    m_template->setFlat(true);
    m_template->setToolTip(QStringLiteral("Write the translation template Lng/All.lng"));
    buttons->addWidget(m_template);
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("ntOKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("ntCancelButton"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TLanguageForm::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_template, &QPushButton::clicked, this, &TLanguageForm::writeTemplate);
    connect(m_languages, &QListWidget::itemDoubleClicked, this, &TLanguageForm::OKButtonClick);
    resize(460, 300);
}

void TLanguageForm::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TLanguageForm::FormActivate()
{
    m_template->setVisible(m_ctx.view.diagnosticMode);
    bool found = true;
    m_languages->clear();
    m_languages->addItems(availableLanguages(m_ctx.paths.languageFolder, &found));
    if (!found)
        m_ctx.messages().error(m_ctx.texts.folderNotFoundMessage(m_ctx.paths.languageFolder));
    m_help->clear();
    m_help->addItems(availableHelpNames(m_ctx.paths.helpFolder, &found));
    if (!found)
        m_ctx.messages().error(m_ctx.texts.folderNotFoundMessage(m_ctx.paths.helpFolder));
    // The languages in use stand selected, so that the dialog shows what is
    // chosen and OK without a change keeps it.
    preselect(m_languages, m_ctx.settings.language);
    preselect(m_help, m_ctx.settings.languageHelp);
}

void TLanguageForm::done(int result)
{
    // Chosen once by any button: the dialog no longer opens by itself.
    languageDialogClosed(m_ctx.settings);
    QDialog::done(result);
}

void TLanguageForm::OKButtonClick()
{
    const bool languageSetBefore = m_ctx.settings.languageSet;
    QString language = selected(m_languages);
    // The base language while its texts are in effect: nothing to change and
    // no restart to ask for.
    if (isBaseLanguage(language) && isBaseLanguage(m_ctx.texts.fixedLanguage()))
        language.clear();
    const QString helpName = selected(m_help);
    accept();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LanguageChoice choice = applyLanguageChoice(m_ctx.settings, m_ctx.texts, m_ctx.paths, languageSetBefore,
                                                      language, helpName, m_ctx.messages());
    if (applyChoice)
        applyChoice(language, choice);
    QApplication::restoreOverrideCursor();
}

void TLanguageForm::writeTemplate()
{
    if (!templateWindows)
        return;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = writeTranslationTemplate(templateWindows(), m_ctx.paths.languageFolder, &error);
    QApplication::restoreOverrideCursor();
    if (!ok)
        m_ctx.messages().error(error);
}

} // namespace korvimo
