#pragma once
// The busy cursor for as long as this lives, restored on every path out,
// exceptions included.
#include <QApplication>

namespace korvimo::uikit {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace korvimo::uikit
