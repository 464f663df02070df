#pragma once

// The list subsystems on the main window's real layout, with what they ask of the rest of the
// window recorded, and pictures written into a temporary folder.

#include "MainLayout.h"
#include "TestPictures.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "toolkit/BevelPanel.h"

#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

struct ListFixture : MainLayout
{
    MainWindowWidgets& c = controls;
    PictureList list{c.lb1};
    ThumbnailStrip strip{{.form = &form,
                          .sb1 = c.sb1,
                          .img = c.img,
                          .lbNamn = c.lbNamn,
                          .lbPath = c.lbPath,
                          .lbSel = c.lbSel,
                          .pnlBg = c.pnlBg,
                          .pnlMark = c.pnlMark,
                          .ram = c.ram,
                          .abortBild1 = c.abortBild1,
                          .redigeravaldbild1 = c.redigeravaldbild1},
                         list};
    QList<int> pathDialogFor;
    std::function<void(int)> showPathDialog;
    QStringList editorFor;
    int drops = 0;
    ListOperations ops{{.btNy = c.btNy,
                        .btAdd = c.btAdd,
                        .btSpara = c.btSpara,
                        .btOpen = c.btOpen,
                        .sb1 = c.sb1,
                        .img = c.img,
                        .lbLas = c.lbLas,
                        .lbNum = c.lbNum,
                        .progBar = c.progBar,
                        .abortBild1 = c.abortBild1,
                        .redigeravaldbild1 = c.redigeravaldbild1},
                       {.showPathDialog =
                            [this](int index) {
                                pathDialogFor << index;
                                if (showPathDialog)
                                    showPathDialog(index);
                            },
                        .listDropped = [this] { ++drops; },
                        .openListEditor = [this](const QString& path) { editorFor << path; }},
                       list,
                       strip};
    QTemporaryDir dir;

    static QColor frameColour() { return QColor(0x11, 0x22, 0x33); }
    static QColor markColour() { return QColor(0xEE, 0x44, 0x00); }

    ListFixture()
    {
        c.pnlBg->setColor(frameColour());
        c.pnlMark->setColor(markColour());
    }

    // A picture of the given size, saved under name in the temporary folder; returns its path.
    QString picture(const QString& name, QSize size = QSize(160, 120))
    {
        return TestPictures::writePicture(dir.filePath(name), size);
    }
    // Pictures prefix0.jpg, prefix1.jpg, ... appended to the list.
    QStringList append(const QString& prefix, int count)
    {
        QStringList paths;
        for (int k = 0; k < count; ++k) {
            paths << picture(prefix + QString::number(k) + QStringLiteral(".jpg"));
            list.append(QFile::encodeName(paths.last()));
        }
        return paths;
    }
    // Runs a load to its end; false when it did not end in time.
    bool load()
    {
        ops.LoadPictureList();
        return QTest::qWaitFor([this] { return !ops.isLoading(); }, 10000);
    }
    QStringList captions() const
    {
        QStringList out;
        for (int k = 0; k < strip.cardCount(); ++k)
            out << strip.card(k)->findChild<QLabel*>()->text();
        return out;
    }
    BevelPanel* frame(int k) const { return strip.card(k)->findChild<BevelPanel*>(QStringLiteral("PnlRam%1").arg(k)); }
};
