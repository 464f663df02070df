#include "Resources.h"

#include "core/Placements.h"
#include "platform/AppError.h"

#include <QHash>
#include <QMutex>
#include <array>

// Registers the generated artwork, which a static library would otherwise drop at link time.
static void registerArtwork()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(tavlix_art);
        return true;
    }();
    Q_UNUSED(done);
}

namespace Resources {

namespace {

struct BitmapEntry
{
    const char* name;
    QImage::Format format;
};

// Each bitmap with the colour depth it is stored in; 16- and 256-colour bitmaps are indexed.
constexpr std::array<BitmapEntry, 27> kBitmaps{{
    {"SKAL", QImage::Format_RGB888},      {"SPLASH", QImage::Format_RGB888},   {"STENG", QImage::Format_RGB888},
    {"STENGOVER", QImage::Format_RGB888}, {"STENGNER", QImage::Format_RGB888}, {"MIN", QImage::Format_RGB888},
    {"MINOVER", QImage::Format_RGB888},   {"MINNER", QImage::Format_RGB888},   {"OM", QImage::Format_RGB888},
    {"OM1", QImage::Format_RGB888},       {"OM2", QImage::Format_RGB888},      {"MAX", QImage::Format_RGB888},
    {"NY", QImage::Format_Indexed8},      {"ADD", QImage::Format_Indexed8},    {"SPARA", QImage::Format_RGB888},
    {"OPEN", QImage::Format_RGB888},      {"AVSLUTA", QImage::Format_RGB888},  {"START", QImage::Format_Indexed8},
    {"STOP", QImage::Format_RGB888},      {"DO", QImage::Format_Indexed8},     {"NO", QImage::Format_Indexed8},
    {"DEL", QImage::Format_Indexed8},     {"HITTA", QImage::Format_RGB16},     {"VIT", QImage::Format_Indexed8},
    {"STANDARD", QImage::Format_RGB888},  {"SVART", QImage::Format_RGB888},    {"CLOSE", QImage::Format_Indexed8},
}};

// The string table; the combo boxes look their items up by these numbers. The placements are
// those of the placement table, in its order.
const std::array<const char*, 9> kStrings{"Minut",
                                          "Minuter",
                                          "Timme",
                                          "Timmar",
                                          "Dag",
                                          "Dagar",
                                          Placements::table[0].text,
                                          Placements::table[1].text,
                                          Placements::table[2].text};

const BitmapEntry* findBitmap(const QString& name)
{
    for (const BitmapEntry& entry : kBitmaps) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

AppError notFound(const QString& name)
{
    return AppError(QStringLiteral("Resource %1 not found").arg(name));
}

// A bitmap by its stored name ("SKAL", "SKAL@2x"), converted to `format`; null when not stored.
QImage stored(const QString& key, QImage::Format format)
{
    // Decoded once; QImage is shared, so callers get cheap copies they may still change.
    static QHash<QString, QImage> cache;
    static QMutex mutex;
    const QMutexLocker lock(&mutex);
    auto it = cache.constFind(key);
    if (it == cache.constEnd()) {
        registerArtwork();
        QImage decoded(QStringLiteral(":/tavlix/art/%1.png").arg(key));
        // The PNG reader widens some depths (a one-colour palette, 16-bit colour); give the
        // bitmap back in the depth it was made in.
        if (!decoded.isNull() && decoded.format() != format)
            decoded = decoded.convertToFormat(format);
        it = cache.insert(key, decoded);
    }
    return *it;
}

} // namespace

QImage image(const QString& name)
{
    const BitmapEntry* entry = findBitmap(name);
    if (!entry)
        throw notFound(name);
    const QImage found = stored(QLatin1String(entry->name), entry->format);
    if (found.isNull())
        throw notFound(name);
    return found;
}

QPixmap bitmap(const QString& name)
{
    return QPixmap::fromImage(image(name));
}

QPixmap bitmap(const QString& name, qreal devicePixelRatio)
{
    const QImage plain = image(name);
    if (devicePixelRatio > 1.0) {
        QImage doubled = stored(QLatin1String(findBitmap(name)->name) + QStringLiteral("@2x"), plain.format());
        if (doubled.size() == plain.size() * 2) {
            doubled.setDevicePixelRatio(2.0);
            return QPixmap::fromImage(doubled);
        }
    }
    return QPixmap::fromImage(plain);
}

QString string(int id)
{
    if (id < 0 || id >= int(kStrings.size()))
        return QString();
    return QString::fromUtf8(kStrings[size_t(id)]);
}

QIcon mainIcon()
{
    registerArtwork();
    QIcon icon;
    for (int size : {48, 32, 16})
        icon.addFile(QStringLiteral(":/tavlix/art/MAINICON_%1.png").arg(size), QSize(size, size));
    return icon;
}

QStringList bitmapNames()
{
    QStringList names;
    for (const BitmapEntry& entry : kBitmaps)
        names.append(QLatin1String(entry.name));
    return names;
}

} // namespace Resources

QString Resources::creditText()
{
    return QStringLiteral("Tavelväxlaren – bildväxlare för skrivbordet, av Tavlix");
}
