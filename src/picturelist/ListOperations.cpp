#include "ListOperations.h"

#include "ListFile.h"
#include "PictureList.h"
#include "ThumbnailStrip.h"
#include "picture/PathText.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Pause.h"
#include "platform/SettingsStore.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>

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

ListOperations::ListOperations(Controls controls, Calls calls, PictureList& list, ThumbnailStrip& strip,
                               QObject* parent)
    : QObject(parent), m_controls(controls), m_calls(std::move(calls)), m_list(list), m_strip(strip)
{
    m_stepTimer.setSingleShot(true);
    m_stepTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_stepTimer, &QTimer::timeout, this, &ListOperations::runStep);
    connect(&m_strip, &ThumbnailStrip::thumbnailReady, this, [this](int index) {
        if (m_job && m_job->waiting && index == m_job->next) {
            m_job->waiting = false;
            runStep();
        }
    });
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

    const int first = m_list.count();
    for (const QString& file : files)
        m_list.append(ListFile::encodeEntry(file));
    // Added while cards are being built: that job builds theirs too, in list order.
    if (m_job && !m_job->showing) {
        m_controls.progBar->setMaximum(qMax(1, m_list.count() - m_job->from - 1));
        prefetchNearView(first, m_job->singleBorder);
        return;
    }
    if (!files.isEmpty())
        startProgress(m_controls.progBar, int(files.size()));
    m_controls.sb1->hide();
    startJob(Kind::Read, first, singleBorder);
}

void ListOperations::BtNyClick()
{
    dropJob();
    // Emptied before the dialog: a cancelled dialog leaves an empty list.
    m_list.clear();
    m_strip.freeCards();
    m_controls.img->clear();
    m_controls.lbLas->setText(ReadingText);
    readPictures(false);
}

void ListOperations::BtAddClick()
{
    m_controls.lbLas->setText(ReadingText);
    readPictures(true);
}

void ListOperations::BtOpenClick()
{
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
    m_list.deleteMarked();
    LoadPictureList();
}

void ListOperations::Redigeravaldbild1Click()
{
    const int marked = m_list.markedIndex();
    if (marked < 0)
        return;
    if (m_calls.showPathDialog)
        m_calls.showPathDialog(marked);
}

void ListOperations::LoadPictureList(Loaded loaded)
{
    if (loaded)
        m_loaded.push_back(std::move(loaded));
    dropJob();
    m_strip.freeCards();
    setButtonStates();

    startProgress(m_controls.progBar, m_list.count());
    m_controls.sb1->hide();
    if (!m_rotationRunning)
        m_controls.img->clear();
    m_controls.lbLas->setText(ReadingText);
    startJob(Kind::Load, 0, true);
}

void ListOperations::stop()
{
    m_loaded.clear();
    dropJob();
}

void ListOperations::startJob(Kind kind, int from, bool singleBorder)
{
    dropJob();
    m_job = Job{kind, from, singleBorder, from};
    ++m_serial;
    prefetchNearView(from, singleBorder);
    emit loadingChanged(true);
    if (from >= m_list.count())
        finishJob();
    else
        scheduleStep();
}

void ListOperations::prefetchNearView(int from, bool singleBorder)
{
    // The workers make the thumbnails the view will show while the cards are built here in list
    // order; the strip makes the others once the load has ended.
    const auto [first, last] = m_strip.viewBand();
    for (int k = qMax(from, first); k <= last && k < m_list.count(); ++k)
        m_strip.prefetch(k, m_list.path(k), singleBorder);
}

void ListOperations::scheduleStep()
{
    // Each step starts when the event loop has seen to what is pending.
    // The pause runs from the start of the step that asked for it, so the step's own work (the
    // splash's repaint) is part of it rather than added to it.
    const qint64 pauseNs = qint64(Pause::interval(std::exchange(m_nextPause, 0))) * 1000000;
    const qint64 restNs = pauseNs - (m_stepClock.isValid() ? m_stepClock.nsecsElapsed() : 0);
    m_stepTimer.start(int(qMax<qint64>(0, restNs + 500000) / 1000000));
}

void ListOperations::runStep()
{
    const quint64 serial = m_serial;
    QElapsedTimer clock;
    clock.start();
    // Several entries a turn of the event loop: a long list would otherwise take as many turns,
    // each painting the gauge. A pause asked for between entries ends the turn.
    bool next = false;
    do {
        if (!m_job)
            return;
        if (!runGuarded([this, &next] { next = step(); })) {
            if (serial != m_serial || !m_job)
                return;
            // The cards built so far stay and can be seen; the error has been reported.
            m_controls.progBar->hide();
            m_strip.showStrip(false);
            endJob(false);
            return;
        }
        if (serial != m_serial || !m_job)
            return;
    } while (next && m_nextPause == 0 && clock.elapsed() < StepBatchMs);
    if (next)
        scheduleStep();
}

bool ListOperations::step()
{
    m_stepClock.start();
    const quint64 serial = m_serial;
    const int k = m_job->next;
    const int n = m_list.count();
    // A command run in between may have emptied the list; there is no card to build then.
    if (k >= n) {
        finishJob();
        return false;
    }
    const int from = m_job->from;
    if (!m_job->announced) {
        m_job->announced = true;
        m_controls.lbNum->setText(stepText(k - from, n - from));
        m_controls.progBar->setValue(k - from);
        if (m_job->kind == Kind::Load) {
            if (!QFileInfo(m_list.path(k)).isFile()) {
                askAboutMissing(m_list.path(k));
                return false;
            }
            emit loadProgressed(n - 1, k, QStringLiteral("Läser in Bilder . . ."));
            // A receiver may have started another load.
            if (serial != m_serial)
                return false;
        }
    }
    const bool singleBorder = m_job->singleBorder;
    if (m_strip.nearView(k)) {
        // A card the view shows gets its thumbnail before the next is built, so its errors end the load.
        const std::optional<QImage> thumbnail = m_strip.takeThumbnail(k, singleBorder);
        if (!thumbnail) {
            m_job->waiting = true;
            return false;
        }
        m_strip.AddThumbnail(k, singleBorder, *thumbnail);
    } else {
        m_strip.AddThumbnail(k, singleBorder);
    }
    m_job->next = k + 1;
    m_job->announced = false;
    if (m_job->next < m_list.count())
        return true;
    finishJob();
    return false;
}

void ListOperations::askAboutMissing(const QString& path)
{
    const quint64 serial = m_serial;
    const Dialogs::Answer answer = Dialogs::instance().messageBox(missingFileQuestion(path, m_list.listFileName()),
                                                                  QStringLiteral("Fel filnamn eller sökväg"),
                                                                  Dialogs::Buttons::YesNo, Dialogs::Icon::Warning);
    // Superseded while the question was open: the new load asks its own.
    if (serial != m_serial)
        return;
    if (answer == Dialogs::Yes) {
        // The strip stays hidden until the editor saves the list and it is loaded again.
        if (m_calls.openListEditor)
            m_calls.openListEditor(path);
        endJob(true);
        return;
    }
    m_list.clear();
    m_strip.freeCards();
    if (m_calls.listDropped)
        m_calls.listDropped();
    m_controls.lbLas->clear();
    m_controls.lbNum->setText(QStringLiteral("Antal bilder i listan: 0"));
    m_controls.progBar->hide();
    m_controls.sb1->show();
    setButtonStates();
    endJob(true);
}

void ListOperations::finishJob()
{
    m_job->showing = true;
    m_controls.lbLas->setText(DoneText);
    m_controls.progBar->hide();
    if (m_job->kind == Kind::Read) {
        m_controls.lbNum->setText(QStringLiteral("Antal bilder inlästa: ") + QString::number(m_list.count()));
    } else {
        m_controls.lbNum->setText(QStringLiteral("Antal bilder i listan: ") + QString::number(m_list.count()));
        // At the top before the cards are shown: the first batch is what the strip shows.
        m_controls.sb1->horizontalScrollBar()->setValue(0);
        m_controls.sb1->verticalScrollBar()->setValue(0);
    }
    const quint64 serial = m_serial;
    m_strip.showStrip(true, [this, serial] {
        if (serial == m_serial && m_job)
            endJob(true);
    });
}

void ListOperations::endJob(bool ended)
{
    m_job.reset();
    m_stepTimer.stop();
    ++m_serial;
    emit loadingChanged(false);
    const std::vector<Loaded> waiting = std::exchange(m_loaded, {});
    for (const Loaded& loaded : waiting)
        loaded(ended);
}

void ListOperations::dropJob()
{
    if (!m_job)
        return;
    m_job.reset();
    m_stepTimer.stop();
    ++m_serial;
    emit loadingChanged(false);
}
