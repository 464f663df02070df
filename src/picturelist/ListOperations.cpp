#include "ListOperations.h"

#include "ListFile.h"
#include "PictureList.h"
#include "ThumbnailStrip.h"
#include "picture/PathText.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>

const QString ListOperations::PictureFilter =
    QStringLiteral("Alla (*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif|JPEG-bilder (*.jpg)|*.jpg|Bitmap-bolder "
                   "(*.bmp)|*.bmp|Gif-bilder(*.gif)|*.gif");
const QString ListOperations::ListFilter = QStringLiteral("List-fil(*.lst)|*.lst");

namespace {

const QString ReadingText = QStringLiteral("Läser in bilder...");
const QString DoneText = QStringLiteral("Alla bilder inlästa.");

QString stepText(int k, int n)
{
    return QStringLiteral("Bild ") + QString::number(k + 1) + QStringLiteral(" av ") + QString::number(n);
}

// The bar runs from 0 to count - 1; a range of 0..0 would turn it into a busy indicator.
void startProgress(QProgressBar* bar, int count)
{
    bar->setRange(0, qMax(1, count - 1));
    bar->setValue(0);
    bar->show();
}

} // namespace

ListOperations::ListOperations(Controls controls, PictureList& list, ThumbnailStrip& strip, QObject* parent)
    : QObject(parent), m_controls(controls), m_list(list), m_strip(strip)
{
}

void ListOperations::bind()
{
    connectGuarded(m_controls.btNy, &QAbstractButton::clicked, this, &ListOperations::BtNyClick);
    connectGuarded(m_controls.btAdd, &QAbstractButton::clicked, this, &ListOperations::BtAddClick);
    connectGuarded(m_controls.btOpen, &QAbstractButton::clicked, this, &ListOperations::BtOpenClick);
    connectGuarded(m_controls.btSpara, &QAbstractButton::clicked, this, &ListOperations::BtSparaClick);
    connectGuarded(m_controls.abortBild1, &QAction::triggered, this, &ListOperations::abortBild1Click);
    connectGuarded(m_controls.redigeravaldbild1, &QAction::triggered, this, &ListOperations::Redigeravaldbild1Click);
}

QString ListOperations::missingFileQuestion(const QString& path, const QString& listFile)
{
    return QStringLiteral("Filen ") + path + QStringLiteral(" finns inte i ") + PathText::folder(path) +
           QStringLiteral(".  Skapa en ny lista eller redigera ") + listFile + QStringLiteral(".\r\n") +
           QStringLiteral("Vill du redigera listan? Nej tömmer listan så du måste skapa en ny.");
}

void ListOperations::setButtonStates()
{
    emit listChanged();
}

void ListOperations::readPictures(bool singleBorder)
{
    const QScopedValueRollback loading(m_loading, true);
    emit loadingChanged(true);
    const auto loaded = qScopeGuard([this] { emit loadingChanged(false); });
    Dialogs::FileRequest request;
    request.filter = PictureFilter;
    request.multiSelect = true;
    request.preview = true;
    QStringList files = Dialogs::instance().openFiles(request);
    // A line break in a name would split its entry when the list is read back.
    QStringList refused;
    files.removeIf([&](const QString& file) {
        const bool fits = ListFile::canHold(file);
        if (!fits)
            refused << file;
        return !fits;
    });
    if (!refused.isEmpty())
        Dialogs::instance().showMessage(ListFile::refusedNamesText(refused));
    const int n = int(files.size());
    if (n > 0)
        startProgress(m_controls.progBar, n);

    m_controls.sb1->hide();
    try {
        const int first = m_list.count();
        const quint64 epoch = m_strip.epoch();
        // The workers make the thumbnails ahead while the cards are built here in list order.
        for (int k = 0; k < n; ++k)
            m_strip.prefetch(first + k, ListFile::decodeEntry(ListFile::encodeEntry(files[k])), singleBorder);
        for (int k = 0; k < n; ++k) {
            m_list.append(ListFile::encodeEntry(files[k]));
            QCoreApplication::processEvents();
            // A load or a new list run in between has rebuilt the strip and ended this one.
            if (m_strip.epoch() != epoch)
                return;
            // A command run in between may have emptied the list; there is no card to build then.
            if (first + k >= m_list.count())
                break;
            m_controls.lbNum->setText(stepText(k, n));
            m_controls.progBar->setValue(k);
            if (!m_strip.AddThumbnail(first + k, singleBorder))
                return;
        }
    } catch (...) {
        // The cards built so far stay and can be seen; the error is reported by the guard.
        m_controls.progBar->hide();
        m_strip.showStrip(false);
        throw;
    }
    m_controls.lbLas->setText(DoneText);
    m_controls.lbNum->setText(QStringLiteral("Antal bilder inlästa: ") + QString::number(m_list.count()));
    m_controls.progBar->hide();
    m_strip.showStrip(true);
}

void ListOperations::BtNyClick()
{
    if (m_loading)
        return;
    // Emptied before the dialog: a cancelled dialog leaves an empty list.
    m_list.clear();
    m_strip.freeCards();
    m_controls.img->clear();
    m_controls.lbLas->setText(ReadingText);
    readPictures(false);
}

void ListOperations::BtAddClick()
{
    if (m_loading)
        return;
    m_controls.lbLas->setText(ReadingText);
    readPictures(true);
}

void ListOperations::BtOpenClick()
{
    if (m_loading)
        return;
    Dialogs::FileRequest request;
    request.title = QStringLiteral("Öppna Bildlista");
    request.filter = ListFilter;
    request.fileName = m_list.listFileName();
    const QStringList chosen = Dialogs::instance().openFiles(request);
    if (!chosen.isEmpty()) {
        m_list.readFile(chosen.first());
        m_list.setListFileName(chosen.first());
    }
    m_saveFileName = m_list.listFileName();
    {
        SettingsStore store;
        store.writeString(Setting::Senaste, m_list.listFileName());
    }
    LoadPictureList();
}

void ListOperations::BtSparaClick()
{
    Dialogs::FileRequest request;
    request.title = QStringLiteral("Spara Bildlista...");
    request.filter = ListFilter;
    request.fileName = m_saveFileName;
    const QString fileName = Dialogs::instance().saveFile(request);
    if (fileName.isEmpty())
        return;
    m_list.writeFile(fileName);
    m_saveFileName = fileName;
}

void ListOperations::abortBild1Click()
{
    if (m_loading)
        return;
    m_list.deleteMarked();
    LoadPictureList();
}

void ListOperations::Redigeravaldbild1Click()
{
    const int marked = m_list.markedIndex();
    if (marked < 0)
        return;
    emit pathDialogRequested(m_list.path(marked));
    throwPendingFailure();
}

void ListOperations::LoadPictureList()
{
    // The load lets the event loop run between its steps: a command that would rebuild the strip
    // meanwhile (another load, adding pictures) is refused until it ends.
    if (m_loading)
        return;
    const QScopedValueRollback loading(m_loading, true);
    emit loadingChanged(true);
    const auto loaded = qScopeGuard([this] { emit loadingChanged(false); });
    m_strip.freeCards();
    setButtonStates();

    startProgress(m_controls.progBar, m_list.count());
    m_controls.sb1->hide();
    if (!m_rotationRunning)
        m_controls.img->clear();
    m_controls.lbLas->setText(ReadingText);

    try {
        const quint64 epoch = m_strip.epoch();
        // The workers make the thumbnails ahead while the cards are built here in list order.
        for (int k = 0; k < m_list.count(); ++k)
            m_strip.prefetch(k, m_list.path(k), true);
        for (int k = 0; k < m_list.count(); ++k) {
            QCoreApplication::processEvents();
            // A load or a new list run in between has rebuilt the strip and ended this one.
            if (m_strip.epoch() != epoch)
                return;
            const int n = m_list.count();
            if (k >= n)
                break;
            m_controls.lbNum->setText(stepText(k, n));
            m_controls.progBar->setValue(k);

            const QString path = m_list.path(k);
            if (!QFileInfo(path).isFile()) {
                const Dialogs::Answer answer = Dialogs::instance().messageBox(
                    missingFileQuestion(path, m_list.listFileName()), QStringLiteral("Fel filnamn eller sökväg"),
                    Dialogs::Buttons::YesNo, Dialogs::Icon::Warning);
                if (answer == Dialogs::Yes) {
                    // The strip stays hidden until the editor saves the list and it is loaded again.
                    emit listEditorRequested(path);
                    throwPendingFailure();
                    return;
                }
                m_list.clear();
                m_strip.freeCards();
                emit listDropped();
                throwPendingFailure();
                m_controls.lbLas->clear();
                m_controls.lbNum->setText(QStringLiteral("Antal bilder i listan: 0"));
                m_controls.progBar->hide();
                m_controls.sb1->show();
                setButtonStates();
                return;
            }

            emit loadProgressed(n - 1, k, QStringLiteral("Läser in Bilder . . ."));
            if (!m_strip.AddThumbnail(k, true))
                return;
        }
    } catch (...) {
        m_controls.progBar->hide();
        m_strip.showStrip(false);
        throw;
    }

    m_controls.lbLas->setText(DoneText);
    m_controls.lbNum->setText(QStringLiteral("Antal bilder i listan: ") + QString::number(m_list.count()));
    m_controls.progBar->hide();
    // At the top before the cards are shown: the first batch is what the strip shows.
    m_controls.sb1->horizontalScrollBar()->setValue(0);
    m_controls.sb1->verticalScrollBar()->setValue(0);
    m_strip.showStrip(true);
}
