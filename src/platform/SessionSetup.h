#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What the program settles with the session before and right after the application object exists.
namespace SessionSetup {

// The Qt platform to ask for: on a Wayland session XWayland (xcb), where the program may place its
// own windows, with native Wayland as the fallback; empty when the user chose one or on X11.
QString platformFor(const QProcessEnvironment& env);
// Sets QT_QPA_PLATFORM by platformFor(); call before the application object is created.
void chooseWindowSystem();
// The variables chooseWindowSystem() set for this program alone, which its children must not inherit.
QStringList ownVariables();
// Loads Qt's own Swedish texts (file, colour and message dialogs). False when they are missing.
bool loadSwedishQtTexts();

} // namespace SessionSetup
