#pragma once
// The commands whose windows live outside the main window are connected
// here, one function per family of windows, so that each family keeps its
// own wiring file. Each function calls `THoofdForm::provideCommand` for the
// commands it serves; a window is built when its command first runs, not
// when the main window is built.
namespace korvimo {

class DiagramDocument;
class THoofdForm;
struct ProgramContext;
namespace uikit {
class Theme;
}

struct WindowWiring {
    THoofdForm& form;
    ProgramContext& ctx;
    DiagramDocument& doc;
    uikit::Theme& theme;
};

// Lists, clipboard, script line editor, coordinate/volume editors, format,
// colours, texts, notes, undo and redo.
void wireEditingWindows(const WindowWiring& w);
// New diagram, arms wizard, export, printing, copy, server, program settings.
void wireDataOutputWindows(const WindowWiring& w);
// Language, help and configuration information.
void wireLanguageHelpWindows(const WindowWiring& w);

inline void wireAllWindows(const WindowWiring& w)
{
    wireEditingWindows(w);
    wireDataOutputWindows(w);
    wireLanguageHelpWindows(w);
}

} // namespace korvimo
