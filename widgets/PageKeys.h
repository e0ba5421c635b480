#pragma once

class QTabWidget;

// Ctrl+Tab and Ctrl+PgDn turn to the next page of a page control, Ctrl+Shift+Tab
// and Ctrl+PgUp to the previous one, wrapping around at either end, from
// wherever the focus is in the page control's window, grids and their cell
// editors included. The change is the user's, as a click on a tab is: the
// control reports it as usual.
void addPageKeys(QTabWidget *pages);
