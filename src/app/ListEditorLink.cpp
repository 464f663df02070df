#include "ListEditorLink.h"

#include "ListEditorWindow.h"
#include "MainWindow.h"
#include "notify/TrayIcon.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"

#include <QPointer>
#include <memory>

std::function<void(const QString&)> listEditorOpener(MainWindow& window, std::function<void()> reload)
{
    auto editor = std::make_shared<QPointer<ListEditorWindow>>();
    return [&window, reload = std::move(reload), editor](const QString& missingPath) {
        if (!*editor) {
            ListEditorWindow::Hooks hooks;
            hooks.listFileName = [&window] { return window.pictureList().listFileName(); };
            hooks.saveMainList = [&window] { window.listOperations().BtSparaClick(); };
            hooks.reload = reload;
            hooks.listCount = [&window] { return window.pictureList().count(); };
            hooks.cardCount = [&window] { return window.strip().cardCount(); };
            hooks.showAbout = [&window] { window.LbOmClick(); };
            *editor = new ListEditorWindow(std::move(hooks), &window);
        }
        window.tray().ShowMainWindow();
        (*editor)->openList(window.pictureList().listFileName(), missingPath);
    };
}
