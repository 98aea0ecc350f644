// Entry editing commands; not built yet.
#include "ui/main_window.h"

bool MainWindow::BeginNewEntry() { return false; }
bool MainWindow::BeginEdit() { return false; }
bool MainWindow::DuplicateEntry() { return false; }
bool MainWindow::MoveEntryUp() { return false; }
bool MainWindow::MoveEntryDown() { return false; }
bool MainWindow::RegisterEntry() { return false; }
bool MainWindow::CancelEdit() { return false; }
bool MainWindow::DeleteEntry() { return false; }
