#include "i18n/languagetexts.h"

#include "core/programpaths.h"

namespace korvimo {

namespace {

struct BaseText {
    const char16_t* key;
    const char16_t* text;
};

// Written with "\n" where a line break belongs, as a language file writes it.
constexpr BaseText kBaseTexts[] = {
    {u"ZB00011", u"&Opslaan"},
    {u"ZB00012", u"&Niet opslaan"},
    {u"ZB00013", u"&Annuleren"},
    {u"ZB00014", u"Af&breken"},
    {u"ZB00015", u"&Niet afbreken"},
    {u"ZB00016", u"&Overschrijven"},
    {u"ZB00017", u"&Niet overschrijven"},
    {u"ZB00018", u"&Verwijderen"},
    {u"ZB00019", u"&Niet verwijderen"},
    {u"ZB00020", u"&OK"},
    {u"ZB00021", u"&Ja"},
    {u"ZB00022", u"&Nee"},
    {u"AA00001", u"Kan bestand %s niet opslaan.\\n\\nMogelijk geen schrijfrechten of schijf is schrijfbeveiligd."},
    {u"AA00002", u"Bestand kan niet direct met deze versie van %s worden geopend. Open het eerst in versie 2.x, sla het op en open het dan in deze versie."},
    {u"AA00003", u"Dit bestand is met een nieuwere (of onbekende) versie van %s gemaakt. Het bestand wordt geopend maar het diagram wordt mogelijk niet correct weergegeven. Gebruik de meest actuele versie van %s."},
    {u"AA00005", u"Kan bestand %s niet openen."},
    {u"AA00006", u"Bestand \"%s\" bestaat al."},
    {u"AA00007", u"Er zijn op deze computer geen printers geïnstalleerd. %s functioneert hierdoor niet optimaal. Installeer een printer."},
    {u"AA00008", u"Richting"},
    {u"AA00009", u"Intensiteit"},
    {u"AA00010", u"Onvoldoende geheugen voor optimale werking. Sluit 1 of meerdere programma's af en start %s opnieuw. Of verklein via de instellingen de maximale diagramgrootte."},
    {u"AA00011", u"Kan diagram niet juist tekenen. Pas de hoeken van de armen aan of verplaats één of meerdere coördinaten."},
    {u"AA00012", u"Bestand niet gevonden: %s"},
    {u"AA00013", u"Coördinaten toevoegen"},
    {u"AA00014", u"Coördinaten wijzigen"},
    {u"AA00015", u"Regel verwijderen?"},
    {u"AA00016", u"Intensiteit/waarde toevoegen"},
    {u"AA00017", u"Intensiteit/waarde wijzigen"},
    {u"AA00018", u"Scriptregel toevoegen"},
    {u"AA00019", u"Scriptregel wijzigen"},
    {u"AA00020", u"Scriptregel kan niet worden gewijzigd. Script is met een nieuwere versie van %s aangemaakt."},
    {u"AA00021", u"Korvimo kan verschillende bestandstypen openen.\\n\\nInformatie over de inhoud van deze bestandstypen (documentatie en voorbeelden) is opgenomen in de map:\\n\\n%s"},
    {u"AA00022", u"Nummer bestaat al."},
    {u"AA00024", u"Onjuiste functie."},
    {u"AA00025", u"Kan tijdelijk bestand %s niet aanmaken."},
    {u"AA00026", u"Klik op het gekleurde vakje om de kleur te wijzigen."},
    {u"AA00028", u"Instellingenbestand %s kan niet worden weggeschreven."},
    {u"AA00029", u"Onvoldoende gegevens ingevuld."},
    {u"AA00030", u"Groep"},
    {u"AA00031", u"Figuur"},
    {u"AA00032", u"Lijn"},
    {u"AA00033", u"Boog"},
    {u"AA00034", u"Cirkel"},
    {u"AA00035", u"Tekst"},
    {u"AA00036", u"Noordpijl"},
    {u"AA00037", u" Tekst (tekstvariabele): "},
    {u"AA00038", u" Tekst (intensiteit): "},
    {u"AA00039", u" Tekst (vrije tekst): "},
    {u"AA00040", u"%s @ internet..."},
    {u"AA00041", u"Dit venster tonen bij &starten %s"},
    {u"AA00043", u"Rechthoek"},
    {u"AA00044", u"Geen overeenkomende data gevonden in klembord.\\n\\nKopieer en plak beide kolommen, richtingnamen moeten exact gelijk zijn (beginnen met een ') en het veldscheidingsteken is een TAB (#9)."},
    {u"AA00250", u"%s mvt/h"},
    {u"AA00251", u"Legenda"},
    {u"AA00253", u"%s en %s bevatten geen van beide intensiteiten; er valt niets te vergelijken."},
    {u"AA00254", u"%s en %s hebben niet dezelfde basis (het script verschilt). Vergelijk alleen gegevens van hetzelfde kruispunt of sjabloon."},
    {u"AA00255", u"Vergelijking: %s ten opzichte van %s."},
    {u"AA00256", u"Vergelijken"},
    {u"AA00257", u"Voertuigklasse %s ontbreekt in %s (klassen in het bestand: %s). De intensiteiten van het bestand zelf worden getekend."},
    {u"AA00258", u"Ongeldige keuze van voertuigklassen \"%s\". Geef een klasse of een gewogen som, bijvoorbeeld MVT of MVT+VRA*2."},
    {u"AA00252", u"Vaste schaal \"%s\" in %s is geen geheel getal van 1 tot 999999999. De schaal volgt de hoogste intensiteit."},
    {u"AA00194", u"Bestand opslaan?"},
    {u"AA00195", u"Bestand overschrijven?"},
    {u"AA00196", u"Bestand \"%s\" is gewijzigd."},
    {u"AA00197", u"Bestand %s kan niet als diagram worden geopend: %s"},
    {u"AA00198", u"het is geen diagrambestand (het heeft geen van de secties [**General variables**], [**Script**], [**Coordinates**], [**Intensities**] en [**Notes**])."},
    {u"AA00199", u"regel 2 geeft op positie 6 geen aantal armen van 2 tot en met 8."},
    {u"AA00200", u"er staan geen intensiteiten in."},
    {u"AA00201", u"sjabloon %s staat niet in de bibliotheek."},
    {u"AA00202", u"Niet alles uit %s past in het sjabloon; het diagram is gemaakt zonder: %s"},
    {u"AA00203", u"van arm %s naar arm %s: %s"},
    {u"AA00204", u"richting %s: %s"},
    {u"AA00205", u"Scriptregel kan niet worden gewijzigd: de elementcode \"%s\" is onbekend."},
    {u"AA00206", u"het bestand is leeg."},
    {u"AA00207", u"er wordt geen sjabloon in genoemd (BaseDiagramFromLibrary)."},
    {u"AA00210", u"Bestand %s is geen gewoon bestand en wordt niet geopend."},
    {u"AA00211", u"Bestand %s is groter dan %s MB en wordt niet geopend."},
    {u"AA00212", u"Bestand %s: regel %s is langer dan %s tekens. Alleen het begin van de regel is gelezen."},
    {u"AA00213", u"Een tekst is langer dan %s tekens. Alleen de eerste %s tekens zijn getekend."},
    {u"AA00214", u"Uitvoerbestand %s is het invoerbestand %s. Er is niets geschreven."},
    {u"AA00215", u"Bestand %s wordt niet geopend: de bibliotheek verwijst steeds opnieuw naar een sjabloon."},
    {u"AA00216", u"%s coördinaten van de tekening passen niet in een WMF-bestand; ze liggen nu op de rand van het bereik."},
    {u"AA00230", u"Beeld %s kan niet worden geschreven (%s); aanvraag %s blijft staan en wordt bij de volgende tik opnieuw geprobeerd."},
    {u"AA00231", u"Aanvraag %s is mislukt: het beeld kan niet worden geschreven (%s). De aanvraag blijft staan en wordt elke minuut opnieuw geprobeerd."},
    {u"AA00232", u"Beeld %s hoort bij een andere aanvraag met dezelfde naam; het beeld van %s heet %s."},
    {u"AA00233", u"%s was nog niet compleet en is daarna weer veranderd; het wordt opnieuw gelezen."},
    {u"AA00234", u"Aanvraag %s van de gestopte server %s wordt overgenomen."},
    {u"AA00235", u"Aanvraag %s van de gestopte server %s vervalt: een nieuwere aanvraag met die naam wacht al."},
    {u"AA00236", u"Kan claimmap %s niet aanmaken (%s); er worden geen aanvragen behandeld."},
    {u"AA00237", u"Kan aanvraag %s niet claimen (%s); ze wordt overgeslagen tot ze verandert."},
    {u"AA00290", u"De tekening is te groot: na %s tekenopdrachten is het tekenen gestopt. Het diagram is niet volledig."},
    {u"AA00270", u"Onjuiste waarde \"%s\": typ een getal, bijvoorbeeld 1500 of 1012,5."},
    {u"AA00271", u"Verhogen of verlagen kan alleen met een geheel getal, niet met \"%s\"."},
    {u"AA00272", u"= factor %s"},
};

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

bool isBaseLanguage(const QString& language)
{
    return language.compare(QLatin1String(kBaseLanguage), Qt::CaseInsensitive) == 0;
}

QString convertLineBreaks(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\\n"), kCrLf);
    return out;
}

LanguageTexts::LanguageTexts()
{
    InstellenDynamischeTekstenBasis();
    VasteTekstenInstellen(QLatin1String(kBaseLanguage));
}

QString LanguageTexts::text(const QString& key) const
{
    return m_texts.value(key.toUpper(), key);
}

QString LanguageTexts::fillIn(const QString& pattern, const QStringList& args)
{
    QString out;
    out.reserve(pattern.size());
    int next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == QLatin1Char('%') && i + 1 < pattern.size()
            && (pattern[i + 1] == QLatin1Char('s') || pattern[i + 1] == QLatin1Char('d'))) {
            if (next < args.size())
                out += args[next];
            ++next;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

QString LanguageTexts::format(const QString& key, const QStringList& args) const
{
    return fillIn(text(key), args);
}

void LanguageTexts::set(const QString& key, const QString& value) { m_texts.insert(key.toUpper(), value); }

const QStringList& LanguageTexts::keys()
{
    static const QStringList all = [] {
        QStringList k;
        for (const BaseText& b : kBaseTexts)
            k << QString::fromUtf16(b.key);
        return k;
    }();
    return all;
}

QString LanguageTexts::baseText(const QString& key)
{
    for (const BaseText& b : kBaseTexts) {
        if (key.compare(QString::fromUtf16(b.key), Qt::CaseInsensitive) == 0)
            return convertLineBreaks(QString::fromUtf16(b.text));
    }
    return {};
}

void LanguageTexts::InstellenDynamischeTekstenBasis()
{
    for (const BaseText& b : kBaseTexts)
        m_texts.insert(QString::fromUtf16(b.key), convertLineBreaks(QString::fromUtf16(b.text)));
}

void LanguageTexts::VasteTekstenInstellen(const QString& language)
{
    const bool base = isBaseLanguage(language);
    const QString program = QString::fromLatin1(kProgramName);
    m_fixedLanguage = language;
    m_fixed.fileNotFound = QStringLiteral("File not found: %s");
    m_fixed.folderNotFound = QStringLiteral("Folder not found: %s");
    m_fixed.restart = QStringLiteral("Restart %s to activate the language.") + kCrLf + kCrLf
                      + QStringLiteral("Start %s opnieuw op om de taal te activeren.");
    m_fixed.buildLine = QStringLiteral("Build: %s");
    m_fixed.versionLine = base ? QStringLiteral("Versie %s") : QStringLiteral("Version %s");
    m_fixed.readMeFileName = base ? QStringLiteral("LeesMij.txt") : QStringLiteral("ReadMe.txt");
    m_fixed.untitledBaseName = program + (base ? QStringLiteral("_Nieuw") : QStringLiteral("_New"));
    m_fixed.rightsNotice = QStringLiteral("Copyright \u00A9 2026 Korvimo. ")
                           + (base ? QStringLiteral("Alle rechten voorbehouden.")
                                   : QStringLiteral("All rights reserved."));
    m_fixed.makerName = program;
    m_fixed.contactAddress = QStringLiteral("info@korvimo.org");
    m_fixed.webAddress = base ? QStringLiteral("https://korvimo.org") : QStringLiteral("https://korvimo.org/en");
}

QString LanguageTexts::untitledSuffix() const
{
    return m_fixed.untitledBaseName.mid(qsizetype(qstrlen(kProgramName)));
}

QString LanguageTexts::untitledName() const { return m_fixed.untitledBaseName + QStringLiteral(".kvo"); }

QString LanguageTexts::fileNotFoundMessage(const QString& path) const
{
    return fillIn(m_fixed.fileNotFound, {path});
}

QString LanguageTexts::folderNotFoundMessage(const QString& folder) const
{
    return fillIn(m_fixed.folderNotFound, {folder});
}

QString LanguageTexts::restartMessage() const
{
    const QString program = QString::fromLatin1(kProgramName);
    return fillIn(m_fixed.restart, {program, program});
}

QString LanguageTexts::buildLine(const QString& build) const { return fillIn(m_fixed.buildLine, {build}); }

QString LanguageTexts::versionLine(const QString& version) const
{
    return fillIn(m_fixed.versionLine, {version});
}

} // namespace korvimo
