#include "Registry.h"

#include <QMutex>
#include <QtEndian>
#include <atomic>
#include <exception>
#include <utility>

namespace {

QMutex noticeLock;
QStringList notices;
std::atomic<void (*)()> dialogHook{nullptr};

} // namespace

void Registry::beforeDialog()
{
    if (void (*hook)() = dialogHook.load())
        hook();
}

void Registry::setBeforeDialog(void (*hook)())
{
    dialogHook.store(hook);
}

QStringList Registry::takeNotices()
{
    const QMutexLocker lock(&noticeLock);
    return std::exchange(notices, {});
}

void Registry::addNotice(const QString& text)
{
    const QMutexLocker lock(&noticeLock);
    notices.append(text);
}

AppError Registry::invalidDataType(const QString& name)
{
    return AppError(QStringLiteral("Invalid data type for '%1'").arg(name));
}

AppError Registry::getDataFailed(const QString& name)
{
    return AppError(QStringLiteral("Failed to get data for '%1'").arg(name));
}

AppError Registry::setDataFailed(const QString& name)
{
    return AppError(QStringLiteral("Failed to set data for '%1'").arg(name));
}

RegistryKey::RegistryKey(Registry::Root root, const QString& path, bool create)
    : m_registry(Registry::create()), m_uncaughtAtStart(std::uncaught_exceptions())
{
    m_open = m_registry->openKey(root, path, create);
}

RegistryKey::~RegistryKey() noexcept(false)
{
    if (!m_registry)
        return;
    // Throwing while another exception unwinds would end the program; the first error is the one to show.
    const bool unwinding = std::uncaught_exceptions() > m_uncaughtAtStart;
    try {
        m_registry->closeKey();
    } catch (const AppError&) {
        if (!unwinding)
            throw;
    }
}

void RegistryKey::close()
{
    m_open = false;
    m_registry->closeKey();
}

bool RegistryKey::valueExists(const QString& name)
{
    return m_registry->valueExists(name);
}

qint32 RegistryKey::readInteger(const QString& name)
{
    const std::optional<Registry::Value> value = m_registry->readValue(name);
    if (!value)
        throw Registry::getDataFailed(name);
    if (value->type != Registry::Dword)
        throw Registry::invalidDataType(name);
    // Longer data does not fit the 4-byte buffer; shorter would leave bytes undefined.
    if (value->data.size() != 4)
        throw Registry::getDataFailed(name);
    return qFromLittleEndian<qint32>(value->data.constData());
}

bool RegistryKey::readBool(const QString& name)
{
    return readInteger(name) != 0;
}

QString RegistryKey::readString(const QString& name)
{
    const std::optional<Registry::Value> value = m_registry->readValue(name);
    if (!value)
        throw Registry::getDataFailed(name);
    if (value->type != Registry::Sz && value->type != Registry::ExpandSz)
        throw Registry::invalidDataType(name);
    QByteArray text = value->data;
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    return QString::fromLocal8Bit(text);
}

void RegistryKey::writeInteger(const QString& name, qint32 value)
{
    QByteArray data(4, '\0');
    qToLittleEndian<qint32>(value, data.data());
    m_registry->writeValue(name, {Registry::Dword, data});
}

void RegistryKey::writeBool(const QString& name, bool value)
{
    writeInteger(name, value ? 1 : 0);
}

void RegistryKey::writeString(const QString& name, const QString& value)
{
    QByteArray data = value.toLocal8Bit();
    data.append('\0');
    m_registry->writeValue(name, {Registry::Sz, data});
}

QStringList RegistryKey::valueNames()
{
    return m_registry->valueNames();
}

bool RegistryKey::deleteValue(const QString& name)
{
    return m_registry->deleteValue(name);
}
