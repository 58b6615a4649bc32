#pragma once
// Every window of the program, with a way to get one: the translation
// template of diagnostic mode is written from these, and the test that
// checks the language files walks the ones the program translates. A window
// family that adds a window adds one line to the table in windowcatalog.cpp.
#include <QList>
#include <QWidget>
#include <memory>

#include "ui/help/widgettexts.h"
#include "ui/mainwindow/windowwiring.h"

namespace korvimo {

// A window for reading its texts: one that already exists (owner empty) or
// a fresh one that goes when this goes.
struct CatalogWindow {
    QWidget* window = nullptr;
    std::shared_ptr<void> keep; // what a fresh window needs while it lives
    std::unique_ptr<QWidget> owner;
};

struct CatalogEntry {
    const char* name; // the window's objectName, its section in a language file
    CatalogWindow (*make)(const WindowWiring& w);
};

const QList<CatalogEntry>& windowCatalog();

// The texts of every catalogued window as designed (in the base language
// when nothing has been translated yet).
QList<WindowTexts> catalogWindowTexts(const WindowWiring& w);

// Helpers for table lines.
inline CatalogWindow existing(QWidget& window) { return {&window, nullptr, nullptr}; }
inline CatalogWindow fresh(QWidget* window, std::shared_ptr<void> keep = nullptr)
{
    return {window, std::move(keep), std::unique_ptr<QWidget>(window)};
}

} // namespace korvimo
