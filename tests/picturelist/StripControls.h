#pragma once

// The few main-window controls the strip and the list operations work on, built by hand,
// with a picture list and pictures generated into a temporary folder.

#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QScrollArea>
#include <QTemporaryDir>
#include <memory>

struct StripControls
{
    QWidget form;
    struct Widgets
    {
        BevelPanel *pnlBg, *pnlMark;
        SpinEdit* ram;
        SpeedButton *btNy, *btAdd, *btSpara, *btOpen, *btVerkstall;
        QScrollArea* sb1;
        QMenu* popDel;
        QAction *abortBild1, *redigeravaldbild1;
        PictureView* img;
        QLabel *lbNamn, *lbPath, *lbSel, *lbLas, *lbNum;
        QProgressBar* progBar;
    } c;
    std::unique_ptr<PictureList> list;
    QTemporaryDir dir;

    static QColor frameColour() { return QColor(0x11, 0x22, 0x33); }
    static QColor markColour() { return QColor(0xEE, 0x44, 0x00); }

    StripControls()
    {
        form.resize(988, 608);
        auto* lb1 = new QListWidget(&form);
        lb1->hide();
        list = std::make_unique<PictureList>(lb1);

        c.pnlBg = new BevelPanel(&form);
        c.pnlBg->setColor(frameColour());
        c.pnlMark = new BevelPanel(&form);
        c.pnlMark->setColor(markColour());
        c.ram = new SpinEdit(&form);
        c.ram->setValue(8);
        for (SpeedButton** b : {&c.btNy, &c.btAdd, &c.btSpara, &c.btOpen, &c.btVerkstall})
            *b = new SpeedButton(&form);

        c.sb1 = new QScrollArea(&form);
        c.sb1->setGeometry(169, 71, 414, 438);
        c.sb1->setWidget(new QWidget);
        c.popDel = new QMenu(&form);
        c.abortBild1 = c.popDel->addAction(QStringLiteral("&Ta Bort Markerad Bild"));
        c.redigeravaldbild1 = c.popDel->addAction(QStringLiteral("&Redigera Markerad bild..."));

        c.img = new PictureView(&form);
        c.img->setGeometry(586, 94, 388, 294);
        for (QLabel** l : {&c.lbNamn, &c.lbPath, &c.lbSel, &c.lbLas, &c.lbNum})
            *l = new QLabel(&form);
        c.progBar = new QProgressBar(&form);
        c.progBar->hide();
    }

    ThumbnailStrip::Controls stripControls()
    {
        return {&form,         c.sb1,   c.img,     c.lbNamn, c.lbPath,     c.lbSel,
                c.btVerkstall, c.pnlBg, c.pnlMark, c.ram,    c.abortBild1, c.redigeravaldbild1};
    }

    ListOperations::Controls operationControls()
    {
        return {c.btNy,  c.btAdd,   c.btSpara,    c.btOpen,           c.sb1, c.img, c.lbLas,
                c.lbNum, c.progBar, c.abortBild1, c.redigeravaldbild1};
    }

    // A picture of the given size, saved under name in the temporary folder; returns its path.
    QString picture(const QString& name, QSize size = QSize(160, 120))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(40, 120, 200));
        QPainter(&image).fillRect(0, 0, size.width() / 2, size.height() / 2, Qt::yellow);
        const QString path = dir.filePath(name);
        image.save(path);
        return path;
    }

    void append(const QString& path) { list->append(QFile::encodeName(path)); }
};
