#include "Desktop.h"

#include "DesktopAdapters.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMetaObject>
#include <QObject>
#include <QScreen>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace {

// Monitor names as XFCE spells them in its properties (the RandR output names), primary first.
QStringList monitorNames()
{
    QStringList names;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        for (const QScreen* screen : QGuiApplication::screens())
            names << screen->name();
    }
    return names;
}

// The adapter of the running desktop, or the error that no popup may follow.
std::unique_ptr<DesktopAdapters::Adapter> findAdapter()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString chosen = env.value(QStringLiteral("TAVELVAXLAREN_DESKTOP")).trimmed();
    auto adapter =
        DesktopAdapters::adapterFor(chosen.isEmpty() ? DesktopAdapters::detect(env) : chosen, monitorNames());
    if (!adapter)
        throw chosen.isEmpty() ? DesktopAdapters::noDesktopFound(env) : DesktopAdapters::unknownDesktop(chosen);
    return adapter;
}

void applyWith(const DesktopAdapters::Adapter& adapter, const QString& path, Desktop::Placement placement,
               DesktopAdapters::Runner& runner)
{
    // A folder or a missing file would leave a desktop with a broken background, and feh would
    // even pick other pictures out of a folder.
    const QString absolute = DesktopAdapters::absolutePath(path);
    if (!QFileInfo(absolute).isFile())
        throw AppError(QStringLiteral("Bakgrunden kunde inte bytas på skrivbordet %1: bilden \"%2\" finns inte "
                                      "eller är ingen fil.")
                           .arg(adapter.name(), path));
    adapter.apply(absolute, placement, runner);
}

// Stands for the caller while a change runs elsewhere: a child of the caller's context, so the
// result can be posted to it for exactly as long as the context exists.
struct Delivery
{
    std::mutex lock;
    QObject* relay = nullptr;
    Desktop::ChangeDone done;
};

class Relay : public QObject
{
public:
    Relay(QObject* context, std::shared_ptr<Delivery> delivery) : QObject(context), m_delivery(std::move(delivery))
    {
        m_delivery->relay = this;
    }
    ~Relay() override
    {
        const std::lock_guard guard(m_delivery->lock);
        m_delivery->relay = nullptr;
    }

private:
    std::shared_ptr<Delivery> m_delivery;
};

void deliver(const std::shared_ptr<Delivery>& delivery, const Desktop::ChangeResult& result)
{
    const std::lock_guard guard(delivery->lock);
    QObject* relay = delivery->relay;
    if (!relay)
        return;
    QMetaObject::invokeMethod(
        relay,
        [delivery, relay, result] {
            Desktop::ChangeDone done = std::move(delivery->done);
            relay->deleteLater();
            if (done)
                done(result);
        },
        Qt::QueuedConnection);
}

// Changes run one after another, in the order asked, on a thread of their own, so a desktop
// program that hangs never holds up the window. At the program's end whatever still runs is
// killed, waiting changes are dropped, and the end is not held up.
class ChangeQueue
{
public:
    static ChangeQueue& instance()
    {
        // Never destroyed: a worker may still be finishing while static objects go.
        static auto* queue = new ChangeQueue;
        return *queue;
    }

    void push(std::function<void(const std::atomic<bool>& stop)> change)
    {
        std::lock_guard guard(m_lock);
        if (!m_hooked) {
            m_hooked = true;
            qAddPostRoutine([] { instance().stopAll(); });
        }
        m_stop = false;
        m_changes.push_back(std::move(change));
        if (!m_working) {
            m_working = true;
            std::thread([this] { work(); }).detach();
        }
    }

private:
    void work()
    {
        std::unique_lock guard(m_lock);
        while (!m_changes.empty()) {
            auto change = std::move(m_changes.front());
            m_changes.pop_front();
            guard.unlock();
            change(m_stop);
            guard.lock();
        }
        m_working = false;
        m_idle.notify_all();
    }

    void stopAll()
    {
        std::unique_lock guard(m_lock);
        m_changes.clear();
        m_stop = true;
        // A stopped step ends within a few tens of milliseconds; the bound only guards against
        // one stuck where it cannot look (a session bus that hangs while connecting).
        m_idle.wait_for(guard, std::chrono::seconds(2), [this] { return !m_working; });
        m_hooked = false;
    }

    std::mutex m_lock;
    std::condition_variable m_idle;
    std::deque<std::function<void(const std::atomic<bool>&)>> m_changes;
    std::atomic<bool> m_stop = false;
    bool m_working = false;
    bool m_hooked = false;
};

class UnixDesktop : public Desktop
{
public:
    std::optional<AppError> setActiveDesktopWallpaper(const QString& path, const QString& wallpaperStyle,
                                                      const QString& tileWallpaper) override
    {
        const QString log = logFile();
        if (!log.isEmpty()) {
            try {
                appendToLog(log, QStringLiteral("active-desktop"), path, wallpaperStyle, tileWallpaper);
            } catch (const AppError& refusal) {
                return refusal;
            }
            return std::nullopt;
        }
        const auto adapter = findAdapter(); // no desktop at all: thrown, no popup follows
        try {
            DesktopAdapters::ProcessRunner runner;
            applyWith(*adapter, path, placementFor(wallpaperStyle, tileWallpaper), runner);
        } catch (const AppError& refusal) {
            return refusal;
        }
        return std::nullopt;
    }

    // There is no system key here: the values live in the settings store, which has to create it.
    void writeDesktopValues(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper) override
    {
        writeDesktopValuesToRegistry(true, path, wallpaperStyle, tileWallpaper);
    }

    void applyDesktopValues(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper) override
    {
        const QString log = logFile();
        if (!log.isEmpty()) {
            appendToLog(log, QStringLiteral("desktop-values"), path, wallpaperStyle, tileWallpaper);
            return;
        }
        DesktopAdapters::ProcessRunner runner;
        applyWith(*findAdapter(), path, placementFor(wallpaperStyle, tileWallpaper), runner);
    }

    void changeAsync(Route route, const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper,
                     QObject* context, ChangeDone done) override
    {
        // The log only appends a line: done at once, its result queued as the contract says.
        if (!logFile().isEmpty()) {
            Desktop::changeAsync(route, path, wallpaperStyle, tileWallpaper, context, std::move(done));
            return;
        }
        std::shared_ptr<const DesktopAdapters::Adapter> adapter;
        try {
            adapter = findAdapter();
        } catch (const AppError& unknown) {
            ChangeResult result{false, unknown};
            QMetaObject::invokeMethod(
                context, [done = std::move(done), result] { done(result); }, Qt::QueuedConnection);
            return;
        }
        auto delivery = std::make_shared<Delivery>();
        delivery->done = std::move(done);
        new Relay(context, delivery);
        const Placement placement = placementFor(wallpaperStyle, tileWallpaper);
        ChangeQueue::instance().push([adapter, path, placement, delivery](const std::atomic<bool>& stop) {
            ChangeResult result;
            try {
                DesktopAdapters::ProcessRunner runner(5000, &stop);
                applyWith(*adapter, path, placement, runner);
            } catch (const AppError& refusal) {
                result.error = refusal;
            }
            if (!stop)
                deliver(delivery, result);
        });
    }
};

} // namespace

std::unique_ptr<Desktop> Desktop::create()
{
    return std::make_unique<UnixDesktop>();
}
