#include "ProgramEntry.h"

#include "MainWindow.h"
#include "SplashWindow.h"
#include "Steps.h"
#include "platform/ColourValue.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/QtDialogs.h"
#include "platform/SessionEnd.h"
#include "platform/SessionSetup.h"
#include "platform/SettingsStore.h"
#include "resources/Resources.h"
#include "toolkit/PicturePreview.h"

#include <QApplication>

namespace {
// The registry pass of the splash: one step per stored value name.
constexpr int ValuePauseMs = 20;
} // namespace

ProgramEntry::ProgramEntry()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(Resources::mainIcon());
}

ProgramEntry::~ProgramEntry()
{
    stop();
    m_mainWindow.reset(); // its destroy handler frees the splash
}

bool ProgramEntry::start()
{
    // The settings key (created) and the splash's text colour, before any window shows.
    m_splash = std::make_unique<SplashWindow>();
    m_splashWindow = m_splash.get();
    const bool keyOk = runGuarded([&] {
        SettingsStore store;
        m_splash->setTextColour(ColourValue::toColour(store.integerOrDefault(Setting::TextFarge)));
    });
    if (!keyOk)
        return false;
    // A damaged store was put aside and replaced: the user learns where it went, once.
    for (const QString& notice : Registry::takeNotices())
        Dialogs::instance().showMessage(notice);

    // Ended from outside (a logout, `kill`) from here on: closed as the user would close it, so
    // that what the close keeps, a running rotation included, is there at the next start.
    m_end = std::make_unique<SessionEnd>();
    connect(m_end.get(), &SessionEnd::requested, this, &ProgramEntry::endRequested);

    SplashWindow* splash = m_splashWindow;
    m_steps = std::make_unique<Steps>();
    m_steps
        ->then([this, splash] {
            splash->show();
            splash->repaintNow();
            QApplication::setApplicationName(QStringLiteral("Tavelvaxlaren"));
            SettingsStore store;
            m_valueNames = store.valueNames();
        })
        // A progress display over the stored value names; no value is read here.
        .loop([this] { return int(m_valueNames.size()); },
              [this, splash](int i) {
                  splash->setGauge(int(m_valueNames.size()) - 1, i);
                  splash->setStatus(QStringLiteral("Läser in RegisterVärden . . ."));
              },
              ValuePauseMs, [splash](int) { splash->repaintNow(); })
        .then([this, splash] {
            splash->setStatus(QStringLiteral("Läser in. Vänta . . ."));
            splash->setGaugePosition(0);
            splash->setPercentVisible(false);
            splash->repaintNow();
            m_mainWindow = std::make_unique<MainWindow>(splash);
            m_mainWindow->adoptSplash(std::move(m_splash));
            connect(m_mainWindow.get(), &MainWindow::closed, this, [this] {
                stop();
                QApplication::quit();
            });
        })
        .thenWait([this](Steps::Done done) { m_mainWindow->create(done); })
        .then([this, splash] {
            m_minimised = m_mainWindow->startsMinimised();
            if (m_minimised) {
                // The icon first, so that the window can be brought back: only then is it hidden.
                m_mainWindow->setTrayIconVisible(true);
                m_mainWindow->Minimera1Click();
            }
            splash->close();
            if (!m_minimised)
                m_mainWindow->show();
        });
    // From here a failure hides the splash, is reported and ends the program.
    m_steps->start([this, splash](std::exception_ptr failure) {
        if (failure) {
            splash->hide();
            runGuarded([&] { std::rethrow_exception(failure); });
            QApplication::exit(1);
        }
        m_started = !failure;
        emit startupEnded(m_started);
    });
    return true;
}

void ProgramEntry::stop()
{
    if (m_steps)
        m_steps->cancel();
}

void ProgramEntry::endRequested()
{
    stop();
    if (m_mainWindow)
        m_mainWindow->close(); // its close stops what runs and ends the loop
    QApplication::quit();
}

int ProgramEntry::run()
{
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        if (m_mainWindow)
            m_mainWindow->saveCloseValues();
    });
    return QApplication::exec();
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
