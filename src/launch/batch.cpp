// The batch launch on a worker thread; not built yet.
#include "ui/main_window.h"

bool MainWindow::ToggleBatch() { return false; }
