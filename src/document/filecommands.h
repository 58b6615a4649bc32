#pragma once
// The file commands of the main window without the window: new document,
// Open, Save, Save As, Import and Close. The file dialogs are callbacks the
// window fills in; questions and messages go through the context's
// messenger. Server mode uses NieuwBestandMaken with no dialogs at all.
#include <QString>
#include <functional>

namespace korvimo {

class DiagramFile;

struct FileDialogs {
    // The chosen file, or empty when the user cancelled. Filters are in Qt's
    // form ("Korvimo files (*.kvo);;..."). The save dialog must not ask about
    // overwriting itself: Save As asks.
    std::function<QString(const QString& filter)> openFileName;
    std::function<QString(const QString& filter, const QString& proposedName)> saveFileName;
};

class FileCommands {
public:
    explicit FileCommands(DiagramFile& file) : m_file(file) {}

    FileDialogs dialogs;

    // Replaces the document by a new, empty one after asking whether to save
    // a changed one. True when the new document was made; false when the
    // user kept the old one - also after "&Opslaan", which saves and leaves
    // the document open so that the user gives the command again.
    bool NieuwBestandMaken();

    // The two halves of NieuwBestandMaken, for commands that must ask first
    // and let go of the open document only once the user has chosen what
    // replaces it. mayReplace asks the save question when the document is
    // changed: true to go on (nothing changed, or "&Niet opslaan"); false
    // after "&Opslaan" (which saves) or "&Annuleren". makeNewDocument then
    // empties the document without asking.
    bool mayReplace();
    void makeNewDocument();

    // "&Openen...": the save question, the open dialog, and only for a
    // chosen file that can become a diagram a new document and the open
    // procedure. Cancel, or a file that is no diagram (reported), keeps the
    // open document as it was. True when a file was chosen and read.
    bool Openen1Click();
    // "Op&slaan": Save As for an untitled document, else write the file.
    bool Opslaan1Click();
    // "O&pslaan als...": save dialog, ".kvo" appended when missing, question
    // before overwriting; on success the document takes the new name.
    bool Opslaanals1Click();
    // "Importeren...": tells where the documentation of the other file types is.
    void Importeren1Click();
    // "Sl&uiten": close the file.
    bool Sluiten1Click() { return NieuwBestandMaken(); }

    static QString openFilter();
    static QString saveFilter();

private:
    DiagramFile& m_file;
};

} // namespace korvimo
