#include "ProgramEntry.h"

#include "MainWindow.h"
#include "SplashWindow.h"
#include "platform/ColourValue.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Pause.h"
#include "platform/QtDialogs.h"
#include "platform/SessionEnd.h"
#include "platform/SessionSetup.h"
#include "platform/SettingsStore.h"
#include "resources/Resources.h"
#include "toolkit/PicturePreview.h"

#include <QApplication>
#include <QThread>

namespace {

// A progress display over the stored value names; no value is read here.
void showRegistryProgress(SplashWindow& splash, const QStringList& names)
{
    const int n = int(names.size());
    for (int i = 0; i < n; ++i) {
        splash.setGauge(n - 1, i);
        splash.setStatus(QStringLiteral("Läser in RegisterVärden . . ."));
        Pause::ms(20);
        splash.repaintNow();
    }
}

} // namespace

ProgramEntry::ProgramEntry()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(Resources::mainIcon());
}

ProgramEntry::~ProgramEntry() = default;

bool ProgramEntry::start()
{
    // The settings key (created) and the splash's text colour, before any window shows.
    m_splash = std::make_unique<SplashWindow>();
    const bool keyOk = runGuarded([&] {
        SettingsStore store;
        m_splash->setTextColour(ColourValue::toColour(store.integerOrDefault(Setting::TextFarge)));
    });
    if (!keyOk)
        return false;
    // A damaged store was put aside and replaced: the user learns where it went, once.
    for (const QString& notice : Registry::takeNotices())
        Dialogs::instance().showMessage(notice);

    // From here a failure hides the splash, is reported and ends the program.
    SplashWindow* splash = m_splash.get();
    return runGuarded([&] {
               try {
                   splash->show();
                   splash->repaintNow();
                   QApplication::setApplicationName(QStringLiteral("Tavelvaxlaren"));
                   QStringList names;
                   {
                       SettingsStore store;
                       names = store.valueNames();
                   }
                   showRegistryProgress(*splash, names);

                   splash->setStatus(QStringLiteral("Läser in. Vänta . . ."));
                   splash->setGaugePosition(0);
                   splash->setPercentVisible(false);
                   splash->repaintNow();

                   m_mainWindow = std::make_unique<MainWindow>(splash);
                   m_mainWindow->adoptSplash(std::move(m_splash));
               } catch (...) {
                   splash->hide();
                   throw;
               }
               m_mainWindow->whenCreated([this, splash] { finishStart(splash); });
           }) &&
           !m_failed;
}

void ProgramEntry::finishStart(SplashWindow* splash)
{
    const bool ok = runGuarded([&] {
        try {
            m_minimised = m_mainWindow->startsMinimised();
            if (m_minimised) {
                m_mainWindow->Minimera1Click();
                m_mainWindow->setTrayIconVisible(true); // so the window can be brought back
            }
            splash->close();
        } catch (...) {
            splash->hide();
            throw;
        }
    });
    if (!ok) {
        // The program ends, as when the failure comes before the loop runs.
        m_failed = true;
        if (m_running)
            QApplication::exit(1);
        return;
    }
    m_started = true;
    if (m_running && !m_minimised)
        m_mainWindow->show();
}

int ProgramEntry::run()
{
    QObject::connect(m_mainWindow.get(), &MainWindow::closed, qApp, &QApplication::quit);
    // Ended from outside (a logout, `kill`): closed as the user would close it, so that what the
    // close keeps, a running rotation included, is there at the next start.
    SessionEnd end;
    QObject::connect(&end, &SessionEnd::requested, m_mainWindow.get(), [this] {
        m_mainWindow->close();
        QApplication::quit();
    });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_mainWindow.get(),
                     [this] { m_mainWindow->saveCloseValues(); });
    if (m_failed)
        return 1;
    m_running = true;
    if (m_started && !m_minimised)
        m_mainWindow->show();
    const int code = QApplication::exec();
    m_mainWindow.reset(); // its destroy handler frees the splash
    return code;
}

int runProgram(int argc, char** argv)
{
    // Only the program name reaches Qt: the program reads no command line.
    int qtArgc = argc > 0 ? 1 : 0;
    SessionSetup::chooseWindowSystem();
    QApplication app(qtArgc, argv);
    SessionSetup::loadSwedishQtTexts();
    QtDialogs::setPreviewFactory(&PicturePreview::attach);
    ProgramEntry entry;
    if (!entry.start())
        return 1;
    return entry.run();
}
