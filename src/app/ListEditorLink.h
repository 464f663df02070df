#pragma once

#include <QString>
#include <functional>

class MainWindow;

// The missing-file question's Yes: brings the main window back and opens the list editor on the
// current list file with the missing path selected. One editor serves every opening; it is
// created on first use and owned by the main window. reload is what the editor's save runs
// after writing the list (settings read again, the last list reloaded, the selection restored).
std::function<void(const QString& missingPath)> listEditorOpener(MainWindow& window, std::function<void()> reload);
