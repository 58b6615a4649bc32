#include "ui/dialogs/tconfiggegevensform.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/programpaths.h"
#include "uikit/messageboxes.h"

namespace korvimo {

TConfigGegevensForm::TConfigGegevensForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ConfigGegevensForm"));
    setWindowTitle(QStringLiteral("Configuration info"));
    setModal(false);
    resize(620, 560);

    auto* layout = new QVBoxLayout(this);
    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName(QStringLiteral("ValueListEditor"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    m_list->verticalHeader()->setVisible(false);
    // Many rows: as close as a list box shows them.
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAlternatingRowColors(true);
    layout->addWidget(m_list, 1);

    m_copyMemo = new QPlainTextEdit(this);
    m_copyMemo->setObjectName(QStringLiteral("CopyMemo"));
    m_copyMemo->setVisible(false);
    layout->addWidget(m_copyMemo);

    auto* buttons = new QHBoxLayout();
    auto* copy = new QPushButton(QStringLiteral("Copy to clipboard"), this);
    copy->setObjectName(QStringLiteral("CopyButton"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setDefault(true);
    buttons->addWidget(copy);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(copy, &QPushButton::clicked, this, &TConfigGegevensForm::CopyButtonClick);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    const QString program = QString::fromLatin1(kProgramName);
    tellInfo = [this, program](const QString& title, const QString& text) {
        uikit::MesInfo(this, program, title, QString(), text);
    };
    tellError = [this, program](const QString& title, const QString& text) {
        uikit::MesError(this, program, title, QString(), text);
    };
}

PrinterFacts TConfigGegevensForm::printerFacts()
{
    PrinterFacts facts;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return facts;
    facts.name = info.printerName();
    QPrinter printer(info, QPrinter::HighResolution);
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    facts.sizePhysical = QStringLiteral("%1 x %2").arg(paper.width()).arg(paper.height());
    facts.sizeAvailable = QStringLiteral("%1 x %2").arg(page.width()).arg(page.height());
    facts.resolution = QStringLiteral("%1 x %2").arg(printer.logicalDpiX()).arg(printer.logicalDpiY());
    facts.maxColors = info.defaultColorMode() == QPrinter::Color ? QStringLiteral("256+") : QStringLiteral("2");
    return facts;
}

void TConfigGegevensForm::open(ConfigInput input)
{
    if (configurationInfoDisabled(input.programFolder)) {
        tellInfo(windowTitle(), QStringLiteral("This function is disabled."));
        return;
    }
    show();
    raise();
    activateWindow();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QList<ConfigFailure> failures;
    try {
        input.printer = printerFacts();
    } catch (const std::exception& e) {
        failures.append({QStringLiteral("Printer"), QStringLiteral("std::exception"), QString::fromLocal8Bit(e.what())});
    }
    m_list->setRowCount(0);
    m_rows = collectConfigurationInfo(input, &failures);
    m_list->setRowCount(int(m_rows.size()));
    for (int i = 0; i < m_rows.size(); ++i) {
        m_list->setItem(i, 0, new QTableWidgetItem(m_rows[i].name));
        m_list->setItem(i, 1, new QTableWidgetItem(m_rows[i].value));
    }
    m_list->resizeColumnToContents(0);
    QApplication::restoreOverrideCursor();
    for (const ConfigFailure& f : failures) {
        tellError(QStringLiteral("Error-") + f.fact, QStringLiteral("Exception class name = ") + f.className
                                                          + QStringLiteral("\r\nException message = ") + f.message);
    }
}

QString TConfigGegevensForm::copyText() const { return m_copyMemo->toPlainText(); }

void TConfigGegevensForm::CopyButtonClick()
{
    QString text = configurationClipboardText(m_rows);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_copyMemo->setPlainText(text);
    m_copyMemo->selectAll();
    // The clipboard gets the lines as the program writes text files.
    QApplication::clipboard()->setText(configurationClipboardText(m_rows));
}

} // namespace korvimo
