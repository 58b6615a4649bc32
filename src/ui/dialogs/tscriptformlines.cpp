// TScriptForm: the mapping between its fields and a script line, both ways,
// and the buttons that change fields through other dialogs.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "render/scriptline.h"
#include "ui/dialogs/tintensiteitensomform.h"
#include "ui/dialogs/tkleurform.h"
#include "ui/dialogs/tscriptform.h"
#include "ui/lists/listlines.h"
#include "ui/uitext.h"

namespace korvimo {

namespace {

QString quoted(const QString& text) { return QStringLiteral("[\"") + text + QStringLiteral("\"]"); }

} // namespace

QString TScriptForm::code() const { return m_type->currentText(); }

QString TScriptForm::text(const char* name) const
{
    const auto* e = qobject_cast<QLineEdit*>(m_fields.value(QString::fromLatin1(name)));
    return e ? e->text() : QString();
}

QString TScriptForm::point(const char* name) const
{
    const auto* c = qobject_cast<QComboBox*>(m_fields.value(QString::fromLatin1(name)));
    return c && c->currentIndex() >= 0 ? c->currentText() : QString();
}

QString TScriptForm::fixed(const char* name) const { return point(name); }

bool TScriptForm::checked(const char* name) const
{
    const auto* b = qobject_cast<QAbstractButton*>(m_fields.value(QString::fromLatin1(name)));
    return b && b->isChecked();
}

int TScriptForm::number(const char* name) const
{
    const auto* s = qobject_cast<QSpinBox*>(m_fields.value(QString::fromLatin1(name)));
    return s ? s->value() : 0;
}

void TScriptForm::selectEntry(const char* name, const QString& entry, bool keepWhenMissing)
{
    auto* c = qobject_cast<QComboBox*>(m_fields.value(QString::fromLatin1(name)));
    if (!c)
        return;
    const int index = c->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0 || !keepWhenMissing)
        c->setCurrentIndex(index);
}

void TScriptForm::SubPanelsOnzichtbaarMaken()
{
    const bool was = m_building;
    m_building = true;
    m_group->setTitle(QString());
    m_pages->setCurrentIndex(0);
    for (QComboBox* c : std::as_const(m_pointBoxes))
        c->clear();
    for (QLineEdit* e : std::as_const(m_valueFields))
        e->clear();
    static_cast<QLineEdit*>(m_fields.value(QStringLiteral("BMPEdit1")))->clear();
    static_cast<QLineEdit*>(m_fields.value(QStringLiteral("TextEdit1")))->clear();
    m_building = was;
    updateSubPanels();
    ScriptRegelUpdaten();
}

void TScriptForm::ScriptTypeComboBoxChange()
{
    const bool was = m_building;
    m_building = true;
    SubPanelsOnzichtbaarMaken();
    m_inactive->setVisible(true);
    const QString c = code();
    const int index = m_type->currentIndex();
    if (c == QLatin1String("*Text")) {
        m_group->setTitle(QStringLiteral(" *Text: "));
        m_inactive->setVisible(false);
    } else if (index > 0) {
        const struct {
            const char* code;
            const char* key;
            const char* word;
        } words[] = {{"GRP", "AA00030", "Groep"},   {"IMG", "AA00031", "Figuur"},    {"LNE", "AA00032", "Lijn"},
                     {"ARC", "AA00033", "Boog"},    {"CIR", "AA00034", "Cirkel"},    {"TXT", "AA00035", "Tekst"},
                     {"NTH", "AA00036", "Noordpijl"}, {"REC", "AA00043", "Rechthoek"},
                     {"LEG", "AA00251", "Legenda"}};
        for (const auto& w : words) {
            if (c == QLatin1String(w.code))
                m_group->setTitle(QLatin1Char(' ') + c + QStringLiteral(" (")
                                  + uiText(m_ctx.texts, w.key, QString::fromLatin1(w.word)) + QStringLiteral("): "));
        }
        CoordsComboBoxenVullen();
    }
    m_pages->setCurrentIndex(index);
    m_building = was;
    updateSubPanels();
    ScriptRegelUpdaten();
}

void TScriptForm::CoordsComboBoxenVullen()
{
    QStringList names;
    for (const QString& line : std::as_const(m_doc.coordinates)) {
        if (!line.startsWith(QLatin1Char('*')) && !line.startsWith(QLatin1Char('#')))
            names << line.left(4);
    }
    for (QComboBox* c : std::as_const(m_pointBoxes)) {
        const QSignalBlocker block(c);
        c->clear();
        c->addItems(names);
        c->setCurrentIndex(-1);
    }
}

void TScriptForm::updateSubPanels()
{
    if (m_cirSlice)
        m_cirSlice->setVisible(fixed("CIRComboBox2") == QLatin1String("S"));
    if (m_txtContent) {
        const QString kind = fixed("TXTComboBox6");
        m_fields.value(QStringLiteral("TXTComboBox7"))->setVisible(kind == QLatin1String("V"));
        m_txtContent->findChild<QWidget*>(QStringLiteral("TXTIntensityPanel"))->setVisible(kind == QLatin1String("I"));
        m_fields.value(QStringLiteral("TXTEdit3"))->setVisible(kind == QLatin1String("T"));
        const char* key = kind == QLatin1String("I") ? "AA00038" : kind == QLatin1String("T") ? "AA00039" : "AA00037";
        const QString base = kind == QLatin1String("I")   ? QStringLiteral(" Tekst (intensiteit): ")
                             : kind == QLatin1String("T") ? QStringLiteral(" Tekst (vrije tekst): ")
                                                          : QStringLiteral(" Tekst (tekstvariabele): ");
        m_txtContent->setTitle(uiText(m_ctx.texts, key, base));
        const bool one = checked("TXTRadioButton1");
        m_fields.value(QStringLiteral("TXTComboBox1"))->setEnabled(one);
        for (const char* n : {"TXTComboBox2", "TXTComboBox3", "TXTComboBox8"})
            m_fields.value(QString::fromLatin1(n))->setEnabled(!one);
    }
}

QString TScriptForm::preview() const { return m_preview->text(); }

void TScriptForm::ScriptRegelUpdaten()
{
    if (m_building)
        return;
    const QString c = code();
    const bool inactive = m_inactive->isChecked();
    auto flag = [this](const char* box) { return checked(box) ? QStringLiteral("A") : QStringLiteral("N"); };
    QStringList f;
    QString line;
    if (c.isEmpty()) {
        line.clear();
    } else if (c == QLatin1String("*Text")) {
        line = QLatin1Char('*') + text("TextEdit1");
    } else {
        if (c == QLatin1String("GRP")) {
            f << fixed("GRPComboBox1");
        } else if (c == QLatin1String("IMG")) {
            f << (checked("WmfRadioButton") ? QStringLiteral("WMF") : QStringLiteral("BMP"))
              << point("BMPCoordsComboBox") << quoted(text("BMPEdit1")) << QString::number(number("BMPSpinEdit1"));
        } else if (c == QLatin1String("LNE")) {
            f << point("LNEComboBox1") << point("LNEComboBox2") << text("LNEEdit1") << text("LNEEdit2")
              << text("LNEColorEdit") << flag("LNECheckBox1") << flag("LNECheckBox2");
        } else if (c == QLatin1String("ARC")) {
            f << point("ARCComboBox1") << point("ARCComboBox2") << point("ARCComboBox3") << point("ARCComboBox4")
              << text("ARCEdit1") << text("ARCEdit2") << text("ARCEdit4") << text("ARCEdit3")
              << fixed("ARCComboBox5") << flag("ARCCheckBox1") << flag("ARCCheckBox2");
        } else if (c == QLatin1String("CIR")) {
            f << point("CIRComboBox1") << text("CIREdit1") << fixed("CIRComboBox2");
            if (fixed("CIRComboBox2") == QLatin1String("S"))
                f << point("CIRComboBox3") << point("CIRComboBox4") << text("CIREdit2") << text("CIREdit3")
                  << point("CIRComboBox5") << point("CIRComboBox6") << text("CIREdit4") << text("CIREdit5");
        } else if (c == QLatin1String("TXT")) {
            if (checked("TXTRadioButton2"))
                f << QStringLiteral("R")
                  << QLatin1Char('[') + point("TXTComboBox2") + QLatin1Char(';') + point("TXTComboBox3")
                         + QLatin1Char(']')
                  << fixed("TXTComboBox8");
            else
                f << QStringLiteral("P") << point("TXTComboBox1");
            const QString align = checked("TXTRadioButton5")   ? QStringLiteral("R")
                                  : checked("TXTRadioButton4") ? QStringLiteral("C")
                                                               : QStringLiteral("L");
            QString style;
            for (const char* b : {"TXTCheckBox1", "TXTCheckBox2", "TXTCheckBox3"})
                style += checked(b) ? QLatin1Char('Y') : QLatin1Char('N');
            f << text("TXTEdit4") << text("TXTEdit5") << QString::number(number("TXTSpinEdit1")) << align << style
              << QString::number(number("TXTSpinEdit2")) << text("TXTEdit1");
            const QString kind = fixed("TXTComboBox6");
            f << kind;
            if (kind == QLatin1String("V"))
                f << fixed("TXTComboBox7");
            else if (kind == QLatin1String("I"))
                f << text("TXTEdit2");
            else
                f << quoted(text("TXTEdit3"));
        } else if (c == QLatin1String("NTH")) {
            f << point("NTHComboBox1") << QString::number(number("NTHSpinEdit1"));
        } else if (c == QLatin1String("REC")) {
            f << point("RECComboBox1") << point("RECComboBox2") << QStringLiteral("GV") << text("RECColorEdit1")
              << text("RECColorEdit2");
        } else if (c == QLatin1String("LEG")) {
            f << point("LEGComboBox1") << QString::number(number("LEGSpinEdit1")) << text("LEGColorEdit")
              << QString::number(number("LEGSpinEdit2"));
        }
        line = composeScriptLine(c, f, inactive);
    }
    m_preview->setText(line);
}

bool TScriptForm::requiredFieldsFilled() const
{
    const QString c = code();
    auto all = [this](std::initializer_list<const char*> names) {
        for (const char* n : names) {
            const QString name = QString::fromLatin1(n);
            const QWidget* w = m_fields.value(name);
            const QString value = qobject_cast<const QLineEdit*>(w) ? text(n) : point(n);
            if (value.isEmpty())
                return false;
        }
        return true;
    };
    if (c.isEmpty())
        return false;
    if (c == QLatin1String("*Text"))
        return true;
    if (c == QLatin1String("GRP"))
        return all({"GRPComboBox1"});
    if (c == QLatin1String("IMG"))
        return all({"BMPCoordsComboBox", "BMPEdit1"});
    if (c == QLatin1String("LNE"))
        return all({"LNEComboBox1", "LNEComboBox2", "LNEEdit1", "LNEEdit2", "LNEColorEdit"});
    if (c == QLatin1String("ARC"))
        return all({"ARCComboBox1", "ARCComboBox2", "ARCComboBox3", "ARCComboBox4", "ARCEdit1", "ARCEdit2",
                    "ARCEdit4", "ARCEdit3", "ARCComboBox5"});
    if (c == QLatin1String("CIR")) {
        if (!all({"CIRComboBox1", "CIREdit1"}))
            return false;
        return fixed("CIRComboBox2") != QLatin1String("S")
               || all({"CIRComboBox3", "CIRComboBox4", "CIREdit2", "CIREdit3", "CIRComboBox5", "CIRComboBox6",
                       "CIREdit4", "CIREdit5"});
    }
    if (c == QLatin1String("TXT")) {
        const bool position =
            checked("TXTRadioButton2") ? all({"TXTComboBox2", "TXTComboBox3"}) : all({"TXTComboBox1"});
        if (!position || !all({"TXTEdit4", "TXTEdit5", "TXTEdit1", "TXTComboBox6"}))
            return false;
        const QString kind = fixed("TXTComboBox6");
        return kind == QLatin1String("V") ? all({"TXTComboBox7"})
               : kind == QLatin1String("I") ? all({"TXTEdit2"})
                                            : all({"TXTEdit3"});
    }
    if (c == QLatin1String("NTH"))
        return all({"NTHComboBox1"});
    if (c == QLatin1String("REC"))
        return all({"RECComboBox1", "RECComboBox2", "RECColorEdit1", "RECColorEdit2"});
    if (c == QLatin1String("LEG"))
        return all({"LEGComboBox1", "LEGColorEdit"});
    return false;
}

QString TScriptForm::unknownElementCode(const QString& source) const
{
    if (source.startsWith(QLatin1Char('*')))
        return {};
    const QString line = source.startsWith(QLatin1Char('#')) ? source.mid(1) : source;
    const QString c = ScriptFieldReader(line).code();
    // The first two entries are the empty choice and "*Text", no codes.
    if (m_type->findText(c, Qt::MatchExactly | Qt::MatchCaseSensitive) > 1)
        return {};
    return c.isNull() ? QStringLiteral("") : c;
}

bool TScriptForm::fillFromLine(const QString& source)
{
    BusyCursor busy;
    if (source.startsWith(QLatin1Char('*'))) {
        m_type->setCurrentIndex(1);
        static_cast<QLineEdit*>(m_fields.value(QStringLiteral("TextEdit1")))->setText(source.mid(1));
        return true;
    }
    QString line = source;
    m_inactive->setChecked(line.startsWith(QLatin1Char('#')));
    if (line.startsWith(QLatin1Char('#')))
        line.remove(0, 1);
    ScriptFieldReader r(line);
    const QString c = r.code();
    const int index = m_type->findText(c, Qt::MatchExactly | Qt::MatchCaseSensitive);
    // Unknown codes (and "*Text", which is no code) are refused rather
    // than shown with the fields of the previous use.
    if (index <= 1)
        return false;
    if (m_type->currentIndex() == index)
        ScriptTypeComboBoxChange();
    else
        m_type->setCurrentIndex(index);
    r.nextField();
    if (r.nextInteger() > kHighestVersion)
        return false;

    auto pointField = [&](const char* name) { selectEntry(name, r.nextField(), false); };
    auto valueText = [&](const char* name) {
        static_cast<QLineEdit*>(m_fields.value(QString::fromLatin1(name)))->setText(r.nextField());
    };
    auto numberField = [&](const char* name) {
        static_cast<QSpinBox*>(m_fields.value(QString::fromLatin1(name)))->setValue(r.nextInteger());
    };
    auto flagField = [&](const char* name) {
        static_cast<QAbstractButton*>(m_fields.value(QString::fromLatin1(name)))
            ->setChecked(r.nextField().startsWith(QLatin1Char('A')));
    };
    auto firstChar = [&](const char* name) { selectEntry(name, r.nextField().left(1), true); };
    auto setRadio = [&](const char* name) {
        static_cast<QAbstractButton*>(m_fields.value(QString::fromLatin1(name)))->setChecked(true);
    };

    if (c == QLatin1String("GRP")) {
        selectEntry("GRPComboBox1", r.nextField(), true);
    } else if (c == QLatin1String("IMG")) {
        const QString kind = r.nextField();
        if (kind == QLatin1String("BMP"))
            setRadio("BmpRadioButton");
        else if (kind == QLatin1String("WMF"))
            setRadio("WmfRadioButton");
        pointField("BMPCoordsComboBox");
        static_cast<QLineEdit*>(m_fields.value(QStringLiteral("BMPEdit1")))->setText(r.nextQuotedText());
        numberField("BMPSpinEdit1");
    } else if (c == QLatin1String("LNE")) {
        pointField("LNEComboBox1");
        pointField("LNEComboBox2");
        valueText("LNEEdit1");
        valueText("LNEEdit2");
        setColour(QStringLiteral("LNEColorEdit"), r.nextField());
        flagField("LNECheckBox1");
        flagField("LNECheckBox2");
    } else if (c == QLatin1String("ARC")) {
        for (const char* p : {"ARCComboBox1", "ARCComboBox2", "ARCComboBox3", "ARCComboBox4"})
            pointField(p);
        valueText("ARCEdit1");
        valueText("ARCEdit2");
        valueText("ARCEdit4");
        setColour(QStringLiteral("ARCEdit3"), r.nextField());
        firstChar("ARCComboBox5");
        flagField("ARCCheckBox1");
        flagField("ARCCheckBox2");
    } else if (c == QLatin1String("CIR")) {
        pointField("CIRComboBox1");
        valueText("CIREdit1");
        const bool slice = r.nextField().startsWith(QLatin1Char('S'));
        selectEntry("CIRComboBox2", slice ? QStringLiteral("S") : QStringLiteral("F"), true);
        if (slice) {
            pointField("CIRComboBox3");
            pointField("CIRComboBox4");
            valueText("CIREdit2");
            valueText("CIREdit3");
            pointField("CIRComboBox5");
            pointField("CIRComboBox6");
            valueText("CIREdit4");
            valueText("CIREdit5");
        }
    } else if (c == QLatin1String("TXT")) {
        const QString position = r.nextField().left(1);
        if (position == QLatin1String("P")) {
            setRadio("TXTRadioButton1");
            pointField("TXTComboBox1");
        } else if (position == QLatin1String("R")) {
            setRadio("TXTRadioButton2");
            QString first, second;
            r.nextPointPair(first, second);
            selectEntry("TXTComboBox2", first, false);
            selectEntry("TXTComboBox3", second, false);
            firstChar("TXTComboBox8");
        }
        valueText("TXTEdit4");
        valueText("TXTEdit5");
        numberField("TXTSpinEdit1");
        const QString align = r.nextField().left(1);
        if (align == QLatin1String("L"))
            setRadio("TXTRadioButton3");
        else if (align == QLatin1String("C"))
            setRadio("TXTRadioButton4");
        else if (align == QLatin1String("R"))
            setRadio("TXTRadioButton5");
        const QString style = r.nextField();
        const char* boxes[] = {"TXTCheckBox1", "TXTCheckBox2", "TXTCheckBox3"};
        for (int i = 0; i < 3; ++i)
            static_cast<QAbstractButton*>(m_fields.value(QString::fromLatin1(boxes[i])))
                ->setChecked(style.size() > i && style[i] == QLatin1Char('Y'));
        numberField("TXTSpinEdit2");
        setColour(QStringLiteral("TXTEdit1"), r.nextField());
        const QString kind = r.nextField().left(1);
        selectEntry("TXTComboBox6", kind, true);
        if (kind == QLatin1String("V"))
            selectEntry("TXTComboBox7", r.nextField(), true);
        else if (kind == QLatin1String("I"))
            valueText("TXTEdit2");
        else if (kind == QLatin1String("T"))
            static_cast<QLineEdit*>(m_fields.value(QStringLiteral("TXTEdit3")))->setText(r.nextQuotedText());
    } else if (c == QLatin1String("NTH")) {
        pointField("NTHComboBox1");
        numberField("NTHSpinEdit1");
    } else if (c == QLatin1String("REC")) {
        pointField("RECComboBox1");
        pointField("RECComboBox2");
        r.nextField();
        setColour(QStringLiteral("RECColorEdit1"), r.nextField());
        setColour(QStringLiteral("RECColorEdit2"), r.nextField());
    } else if (c == QLatin1String("LEG")) {
        pointField("LEGComboBox1");
        numberField("LEGSpinEdit1");
        setColour(QStringLiteral("LEGColorEdit"), r.nextField());
        numberField("LEGSpinEdit2");
    }
    updateSubPanels();
    ScriptRegelUpdaten();
    return true;
}

void TScriptForm::setColour(const QString& name, const QString& colourText)
{
    // Through the colour dialog, so that a text it does not know becomes 0.
    m_colours.setColourText(colourText);
    m_colours.ComboBoxGelijkZettenMetColorEdit();
    const ColourField f = m_colourFields.value(name);
    if (!f.edit)
        return;
    f.edit->setText(m_colours.colourText());
    f.swatch->setStyleSheet(colourSwatchStyle(m_colours.swatchColour()));
}

void TScriptForm::colourButton(const QString& name)
{
    const ColourField f = m_colourFields.value(name);
    m_colours.setColourText(f.edit->text());
    m_colours.ComboBoxGelijkZettenMetColorEdit();
    if (m_colours.exec() != QDialog::Accepted)
        return;
    f.edit->setText(m_colours.colourText());
    f.swatch->setStyleSheet(colourSwatchStyle(m_colours.swatchColour()));
}

void TScriptForm::valueButton(QLineEdit* edit)
{
    const QString t = edit->text();
    m_functions.setFunctionText(t.size() >= 2 ? t.mid(1, t.size() - 2) : QString());
    if (m_functions.exec() != QDialog::Accepted)
        return;
    const QString expr = QLatin1Char('[') + m_functions.functionText() + QLatin1Char(']');
    edit->setText(expr == QLatin1String("[]") ? QString() : expr);
}

QString TScriptForm::browseFilter() const
{
    return checked("WmfRadioButton") ? QStringLiteral("Metafiles (*.wmf; *.emf)|*.wmf;*.emf")
                                     : QStringLiteral("Bitmaps (*.bmp)|*.bmp");
}

void TScriptForm::browsePicture()
{
    const QString folder = QDir::currentPath();
    const QString filter = checked("WmfRadioButton") ? QStringLiteral("Metafiles (*.wmf *.emf)")
                                                     : QStringLiteral("Bitmaps (*.bmp)");
    const QString name = pictureFileName ? pictureFileName(filter) : QString();
    QDir::setCurrent(folder);
    if (!name.isEmpty())
        static_cast<QLineEdit*>(m_fields.value(QStringLiteral("BMPEdit1")))->setText(name);
}

void TScriptForm::okClicked()
{
    if (!requiredFieldsFilled()) {
        m_ctx.messages().error(uiText(m_ctx.texts, "AA00029", QStringLiteral("Onvoldoende gegevens ingevuld.")));
        return;
    }
    const QString line = preview();
    if (m_mode == Change && m_selected >= 0 && m_selected < m_doc.script.size())
        m_doc.script[m_selected] = line;
    else
        m_doc.script.insert(insertPosition(m_selected, int(m_doc.script.size())), line);
    accept();
}

} // namespace korvimo
