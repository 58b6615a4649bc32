#pragma once
// What the document operations ask of the windows around them. The open
// procedure, a new document and the file commands end by bringing the main
// window up to date; core code cannot do that itself, so it calls these
// hooks. Every hook is optional: an empty one is skipped, which is what the
// command-line tool and the server run with.
#include <QString>
#include <functional>

namespace korvimo {

struct DocumentHooks {
    // The main window's caption (see programmaCaption).
    std::function<void(const QString& caption)> setCaption;
    // The view state that belongs to a document: overview zoom 100 percent,
    // compose zoom step 1, pan offsets 0, mouse mode idle, the internal
    // script-line clipboard emptied.
    std::function<void()> resetViewState;
    // Rebuild the overview's volume table from the intensity list and show
    // the overview.
    std::function<void()> rebuildOverview;
    // Reset zoom and pan and fit the drawing; also replaces a diagram width
    // or height of 0 by 500.
    std::function<void()> zoomAll;
    std::function<void()> redraw;
    // Update the enabled state of all commands (InMenuChecken).
    std::function<void()> updateMenu;
    // Show the notes dialog modally.
    std::function<void()> showNotesDialog;
    // Hide (false) or show (true) the overview drawing while a version-2
    // file is read.
    std::function<void(bool visible)> setOverviewDrawingVisible;
    // Busy cursor on (true) or off (false); always called in pairs.
    std::function<void(bool busy)> setBusy;
    // The Open command switches the pan tool off after opening.
    std::function<void()> panToolOff;
};

// Calls hook when it is set.
template <class Hook, class... Args>
void callHook(const Hook& hook, Args&&... args)
{
    if (hook)
        hook(std::forward<Args>(args)...);
}

} // namespace korvimo
