#include "uikit/messageboxes.h"

#include <QAbstractButton>
#include <QPushButton>

#include "core/programpaths.h"
#include "i18n/languagetexts.h"

namespace korvimo::uikit {

namespace {

const char* const kResultProperty = "korvimoResult";

QString orFallback(const QString& text, const char* fallback)
{
    return text.isEmpty() ? QString::fromLatin1(fallback) : text;
}

QPushButton* addButton(QMessageBox& box, const QString& text, QMessageBox::ButtonRole role, int result,
                       const char* objectName)
{
    QPushButton* b = box.addButton(text, role);
    b->setProperty(kResultProperty, result);
    b->setObjectName(QString::fromLatin1(objectName));
    return b;
}

void setTexts(QMessageBox& box, const QString& caption, const QString& title, const QString& message)
{
    box.setWindowTitle(caption);
    // The title is the main line above the message; most calls leave it
    // empty and the message stands alone.
    if (title.isEmpty()) {
        box.setText(message);
    } else {
        box.setText(title);
        box.setInformativeText(message);
    }
}

int run(std::unique_ptr<QMessageBox> box)
{
    box->exec();
    return boxResult(*box);
}

} // namespace

std::unique_ptr<QMessageBox> makeOkBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                       const QString& title, const QString& okText, const QString& message)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(icon);
    setTexts(*box, caption, title, message);
    QPushButton* ok = addButton(*box, orFallback(okText, "&OK"), QMessageBox::AcceptRole, kResultOk, "OkButton");
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    return box;
}

std::unique_ptr<QMessageBox> makeYesNoCancelBox(QWidget* parent, const QString& caption, const QString& title,
                                                int defaultButton, const QString& cancelText,
                                                const QString& noText, const QString& yesText,
                                                const QString& message)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(QMessageBox::Question);
    setTexts(*box, caption, title, message);
    QPushButton* yes = addButton(*box, orFallback(yesText, "&Yes"), QMessageBox::YesRole, kResultYes, "YesButton");
    QPushButton* no = addButton(*box, orFallback(noText, "&No"), QMessageBox::NoRole, kResultNo, "NoButton");
    QPushButton* cancel =
        addButton(*box, orFallback(cancelText, "&Cancel"), QMessageBox::RejectRole, kResultCancel, "CancelButton");
    box->setDefaultButton(defaultButton == 1 ? no : yes);
    box->setEscapeButton(cancel);
    return box;
}

int boxResult(const QMessageBox& box)
{
    const QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        return kResultCancel;
    bool ok = false;
    const int result = clicked->property(kResultProperty).toInt(&ok);
    return ok ? result : kResultCancel;
}

int MesError(QWidget* parent, const QString& caption, const QString& title, const QString& okText,
             const QString& message)
{
    return run(makeOkBox(parent, QMessageBox::Critical, caption, title, okText, message));
}

int MesInfo(QWidget* parent, const QString& caption, const QString& title, const QString& okText,
            const QString& message)
{
    return run(makeOkBox(parent, QMessageBox::Information, caption, title, okText, message));
}

int MesWarning(QWidget* parent, const QString& caption, const QString& title, const QString& okText,
               const QString& message)
{
    return run(makeOkBox(parent, QMessageBox::Warning, caption, title, okText, message));
}

int MesYesNoCancel(QWidget* parent, const QString& caption, const QString& title, int defaultButton,
                   const QString& cancelText, const QString& noText, const QString& yesText,
                   const QString& message)
{
    return run(makeYesNoCancelBox(parent, caption, title, defaultButton, cancelText, noText, yesText, message));
}

QString UiKitMessenger::okText() const
{
    return m_texts.contains(QStringLiteral("ZB00020")) ? m_texts.text(QStringLiteral("ZB00020"))
                                                       : QStringLiteral("&OK");
}

void UiKitMessenger::error(const QString& text)
{
    MesError(m_parent, QString::fromLatin1(kProgramName), QString(), okText(), text);
}

void UiKitMessenger::information(const QString& text)
{
    MesInfo(m_parent, QString::fromLatin1(kProgramName), QString(), okText(), text);
}

void UiKitMessenger::warning(const QString& text)
{
    MesWarning(m_parent, QString::fromLatin1(kProgramName), QString(), okText(), text);
}

int UiKitMessenger::question(const QString& title, const QString& text, const QString& yesCaption,
                             const QString& noCaption, const QString& cancelCaption)
{
    return MesYesNoCancel(m_parent, QString::fromLatin1(kProgramName), title, 0, cancelCaption, noCaption,
                          yesCaption, text);
}

} // namespace korvimo::uikit
