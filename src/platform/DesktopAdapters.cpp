#include "DesktopAdapters.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <algorithm>
#include <array>

namespace DesktopAdapters {

namespace {

[[noreturn]] void refuse(const QString& desktop, const QString& reason)
{
    throw AppError(QStringLiteral("Bakgrunden kunde inte bytas på skrivbordet %1: %2.").arg(desktop, reason));
}

QString firstLine(const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.first().trimmed();
}

// Why a program did not do its part, in words for the user.
QString failureReason(const QString& program, const Result& result)
{
    switch (result.status) {
    case Result::Status::NotStarted:
        return QStringLiteral("programmet %1 finns inte eller kunde inte startas").arg(program);
    case Result::Status::TimedOut:
        return QStringLiteral("%1 svarade inte i tid").arg(program);
    case Result::Status::Crashed:
        return QStringLiteral("%1 avbröts oväntat").arg(program);
    case Result::Status::Running:
    case Result::Status::Finished:
        break;
    }
    const QString detail = firstLine(result.errors);
    if (detail.isEmpty())
        return QStringLiteral("%1 avslutades med felkod %2").arg(program).arg(result.exitCode);
    return QStringLiteral("%1 avslutades med felkod %2 (%3)").arg(program).arg(result.exitCode).arg(detail);
}

Result runChecked(Runner& runner, const QString& desktop, const Command& command)
{
    Result result = runner.run(command);
    if (!result.ok())
        refuse(desktop, failureReason(command.program, result));
    return result;
}

// A command whose output the adapter reads.
Command reading(const QString& program, const QStringList& arguments)
{
    return {program, arguments, false, true};
}

// Who decodes a file URI: GLib takes any percent-encoded bytes; QUrl (Plasma) decodes no
// noncharacter from its encoding, but keeps one written as itself.
enum class UriReader
{
    GLib,
    QUrl
};

// A file URI of the path, percent-encoded as QUrl does it, but by hand: QUrl's encoder garbles
// the noncharacters beyond the first plane (U+7FFFF becomes %ED%A6%BF), naming another file.
QString fileUri(const QString& path, UriReader reader = UriReader::GLib)
{
    // "//name/..." is the same file as "/name/..." here, but a URI would take "name" for a host.
    qsizetype slashes = 0;
    while (slashes + 1 < path.size() && path.at(slashes) == u'/' && path.at(slashes + 1) == u'/')
        ++slashes;
    const QStringView name = QStringView(path).mid(slashes);
    QString uri = QStringLiteral("file://");
    qsizetype pending = 0; // start of the characters not yet encoded
    const auto encodeUpTo = [&](qsizetype end) {
        static const QByteArray kept = QByteArrayLiteral("!$&'()*+,/:;=@[]");
        uri += QString::fromLatin1(name.mid(pending, end - pending).toUtf8().toPercentEncoding(kept));
    };
    for (qsizetype i = 0; i < name.size();) {
        const bool pair = name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(name.at(i), name.at(i + 1)) : name.at(i).unicode();
        const qsizetype length = pair ? 2 : 1;
        if (reader == UriReader::QUrl && QChar::isNonCharacter(c)) {
            encodeUpTo(i);
            uri += name.mid(i, length);
            pending = i + length;
        }
        i += length;
    }
    encodeUpTo(name.size());
    return uri;
}

// The three placements in the words of one desktop: centred, tiled, stretched.
using Words = std::array<const char*, 3>;
QString word(const Words& words, Desktop::Placement placement)
{
    return QString::fromLatin1(words[static_cast<int>(placement)]);
}

class GSettingsAdapter : public Adapter
{
public:
    enum class Picture
    {
        Uri,
        UriAndDark,
        Filename
    };
    GSettingsAdapter(QString name, QString schema, Picture picture)
        : m_name(std::move(name)), m_schema(std::move(schema)), m_picture(picture)
    {
    }
    QString name() const override { return m_name; }

    void apply(const QString& path, Desktop::Placement placement, Runner& runner) const override
    {
        static constexpr Words options = {"centered", "wallpaper", "stretched"};
        const Result keys = runner.run(reading(QStringLiteral("gsettings"), {QStringLiteral("list-keys"), m_schema}));
        if (keys.status != Result::Status::Finished)
            refuse(m_name, failureReason(QStringLiteral("gsettings"), keys));
        if (!keys.ok())
            refuse(m_name, QStringLiteral("inställningsschemat %1 finns inte").arg(m_schema));
        QStringList known;
        for (const QString& key : keys.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            known << key.trimmed();

        QList<std::pair<QString, QString>> values;
        values.append({QStringLiteral("picture-options"), gvariantString(word(options, placement))});
        if (m_picture == Picture::Filename) {
            values.append({QStringLiteral("picture-filename"), gvariantString(path)});
        } else {
            const QString uri = gvariantString(fileUri(path));
            values.append({QStringLiteral("picture-uri"), uri});
            // Older GNOME has no dark variant; newer shows it whenever the dark style is on.
            if (m_picture == Picture::UriAndDark && known.contains(QLatin1String("picture-uri-dark")))
                values.append({QStringLiteral("picture-uri-dark"), uri});
        }
        for (const auto& [key, value] : values) {
            if (!known.contains(key))
                refuse(m_name, QStringLiteral("inställningen %1 saknas i %2").arg(key, m_schema));
        }
        for (const auto& [key, value] : values) {
            const Result set =
                runChecked(runner, m_name, reading(QStringLiteral("gsettings"), {"set", m_schema, key, value}));
            // Without a settings backend gsettings keeps the value in memory only and still succeeds.
            if (set.errors.contains(QLatin1String("'memory' GSettings backend")))
                refuse(m_name, QStringLiteral("GSettings saknar lagring, så inställningen sparas inte"));
        }
    }

private:
    QString m_name;
    QString m_schema;
    Picture m_picture;
};

// Plasma 6 takes a picture per screen through setWallpaper; Plasma 5 only through a script.
class PlasmaAdapter : public Adapter
{
public:
    explicit PlasmaAdapter(int screens) : m_screens(qMax(1, screens)) {}
    QString name() const override { return QStringLiteral("KDE Plasma"); }
    void apply(const QString& path, Desktop::Placement placement, Runner& runner) const override
    {
        const Result offered =
            call(runner, QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"), {});
        if (!offersSetWallpaper(offered.output)) {
            call(runner, QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"),
                 {plasmaScript(path, placement)});
            return;
        }
        static constexpr std::array<int, 3> fillModes = {6, 3, 0};
        QString plugin = QStringLiteral("org.kde.image");
        QVariantMap parameters{{QStringLiteral("Image"), fileUri(path, UriReader::QUrl)}};
        // From Plasma 6.6 on, the picture plugin no longer tiles; a plugin of its own does.
        if (placement == Desktop::Placement::Tiled && tiledPluginInstalled(runner))
            plugin = QStringLiteral("org.kde.tiled");
        else
            parameters.insert(QStringLiteral("FillMode"), fillModes[static_cast<int>(placement)]);
        for (uint screen = 0; screen < uint(m_screens); ++screen)
            call(runner, QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("setWallpaper"),
                 {plugin, parameters, QVariant::fromValue(screen)});
    }

private:
    Result call(Runner& runner, const QString& interface, const QString& method, const QVariantList& arguments) const
    {
        const Result result = runner.call(
            {QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"), interface, method, arguments});
        if (result.status == Result::Status::TimedOut)
            refuse(name(), QStringLiteral("plasmashell svarade inte i tid"));
        if (!result.ok())
            refuse(name(), QStringLiteral("plasmashell svarade med felet \"%1\"").arg(firstLine(result.errors)));
        return result;
    }

    static bool offersSetWallpaper(const QString& introspection)
    {
        QXmlStreamReader xml(introspection);
        bool inShell = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == QLatin1String("interface"))
                inShell = false;
            if (!xml.isStartElement())
                continue;
            const QString elementName = xml.attributes().value(QLatin1String("name")).toString();
            if (xml.name() == QLatin1String("interface"))
                inShell = elementName == QLatin1String("org.kde.PlasmaShell");
            else if (inShell && xml.name() == QLatin1String("method") && elementName == QLatin1String("setWallpaper"))
                return true;
        }
        return false;
    }

    static bool tiledPluginInstalled(Runner& runner)
    {
        const Result listed = runner.run(
            reading(QStringLiteral("kpackagetool6"),
                    {QStringLiteral("--type"), QStringLiteral("Plasma/Wallpaper"), QStringLiteral("--list")}));
        if (!listed.ok())
            return false;
        for (const QString& line : listed.output.split(QLatin1Char('\n'))) {
            if (line.trimmed() == QLatin1String("org.kde.tiled"))
                return true;
        }
        return false;
    }

    int m_screens;
};

class XfceAdapter : public Adapter
{
public:
    explicit XfceAdapter(QStringList monitors) : m_monitors(std::move(monitors)) {}
    QString name() const override { return QStringLiteral("XFCE"); }

    void apply(const QString& path, Desktop::Placement placement, Runner& runner) const override
    {
        static constexpr Words styles = {"1", "2", "3"};
        const QString program = QStringLiteral("xfconf-query");
        const QStringList channel = {QStringLiteral("-c"), QStringLiteral("xfce4-desktop")};
        const Result list = runner.run(reading(program, channel + QStringList{QStringLiteral("-l")}));
        if (list.status != Result::Status::Finished)
            refuse(name(), failureReason(program, list));
        // An empty channel fails the listing as an unreachable settings daemon does; only the
        // daemon's list of channels tells them apart.
        if (!list.ok() && !runner.run(reading(program, {QStringLiteral("-l")})).ok())
            refuse(name(), failureReason(program, list));

        QStringList properties;
        if (list.ok()) {
            for (const QString& line : list.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                properties << line.trimmed();
        }
        QStringList images;
        for (const QString& property : properties) {
            if (property.startsWith(QLatin1String("/backdrop/")) && property.endsWith(QLatin1String("/last-image")))
                images << property;
        }
        // Every monitor shows the picture, also one that XFCE has not given a backdrop yet.
        const QStringList monitors = m_monitors.isEmpty() && images.isEmpty() ? QStringList{"0"} : m_monitors;
        for (const QString& monitor : monitors) {
            const QString prefix = QStringLiteral("/backdrop/screen0/monitor%1/").arg(monitor);
            const bool hasOne = std::any_of(images.begin(), images.end(),
                                            [&](const QString& image) { return image.startsWith(prefix); });
            if (!hasOne)
                images << prefix + QStringLiteral("workspace0/last-image");
        }

        const auto set = [&](const QString& property, const QString& type, const QString& value) {
            QStringList arguments = channel + QStringList{QStringLiteral("-p"), property};
            if (!properties.contains(property))
                arguments << QStringLiteral("-n") << QStringLiteral("-t") << type;
            arguments << QStringLiteral("-s") << value;
            runChecked(runner, name(), {program, arguments});
        };
        for (const QString& image : images) {
            const QString style = image.chopped(int(qstrlen("last-image"))) + QStringLiteral("image-style");
            set(style, QStringLiteral("int"), word(styles, placement));
            set(image, QStringLiteral("string"), path);
        }
    }

private:
    QStringList m_monitors;
};

// Runs the one program that sets a desktop's background.
void runSingle(const QString& desktop, const Command& command, Runner& runner)
{
    const Result result = runner.run(command);
    if (command.keepsRunning && result.status == Result::Status::Running)
        return;
    if (command.keepsRunning && result.status == Result::Status::Finished)
        refuse(desktop, QStringLiteral("%1 avslutades genast (felkod %2)").arg(command.program).arg(result.exitCode));
    if (!result.ok())
        refuse(desktop, failureReason(command.program, result));
}

// A desktop set by one program call with the path and a mode word.
class SingleCommandAdapter : public Adapter
{
public:
    using Build = Command (*)(const QString& path, Desktop::Placement placement);
    SingleCommandAdapter(QString name, Build build) : m_name(std::move(name)), m_build(build) {}
    QString name() const override { return m_name; }

    void apply(const QString& path, Desktop::Placement placement, Runner& runner) const override
    {
        runSingle(m_name, m_build(path, placement), runner);
    }

private:
    QString m_name;
    Build m_build;
};

Command swaybgCommand(const QString& path, Desktop::Placement placement);

// Hyprland draws with its own hyprpaper when that runs, over any swaybg; else swaybg does.
class HyprlandAdapter : public Adapter
{
public:
    QString name() const override { return QStringLiteral("Hyprland"); }

    void apply(const QString& path, Desktop::Placement placement, Runner& runner) const override
    {
        if (!runner.isRunning(QStringLiteral("hyprpaper"))) {
            runSingle(name(), swaybgCommand(path, placement), runner);
            return;
        }
        // hyprpaper takes its arguments as one comma-separated line.
        if (path.contains(QLatin1Char(',')) || path.contains(QLatin1Char('\n')))
            refuse(name(),
                   QStringLiteral("hyprpaper tar inte en bild vars sökväg har kommatecken eller radbrytningar"));
        static constexpr Words modes = {"contain", "tile", "fill"};
        // Before 0.8 there was no stretching: "cover" fills the screen, keeping the proportions.
        static constexpr Words oldModes = {"contain:", "tile:", ""};
        bool older = false;
        for (const QString& monitor : monitors(runner)) {
            if (!older) {
                const QString answer =
                    hyprpaper(runner, {QStringLiteral("wallpaper"),
                                       monitor + QLatin1Char(',') + path + QLatin1Char(',') + word(modes, placement)});
                if (answer == QLatin1String("ok"))
                    continue;
                // Older versions show only loaded pictures, and take the whole rest for the path.
                if (!answer.contains(QLatin1String("preload")))
                    refuse(name(), QStringLiteral("hyprpaper svarade \"%1\"").arg(answer));
                older = true;
                expectOk(hyprpaper(runner, {QStringLiteral("preload"), path}));
            }
            expectOk(hyprpaper(
                runner, {QStringLiteral("wallpaper"), monitor + QLatin1Char(',') + word(oldModes, placement) + path}));
        }
    }

private:
    void expectOk(const QString& answer) const
    {
        if (answer != QLatin1String("ok"))
            refuse(name(), QStringLiteral("hyprpaper svarade \"%1\"").arg(answer));
    }

    QString hyprpaper(Runner& runner, const QStringList& arguments) const
    {
        const Result result =
            runChecked(runner, name(), reading(QStringLiteral("hyprctl"), QStringList{"hyprpaper"} + arguments));
        return firstLine(result.output);
    }

    // Hyprland's monitors by name; one empty name (every monitor) when it does not list them.
    QStringList monitors(Runner& runner) const
    {
        const Result listed = runner.run(reading(QStringLiteral("hyprctl"), {QStringLiteral("-j"), "monitors"}));
        QStringList names;
        if (listed.ok()) {
            for (const QJsonValue& monitor : QJsonDocument::fromJson(listed.output.toUtf8()).array()) {
                const QString monitorName = monitor.toObject().value(QLatin1String("name")).toString();
                if (!monitorName.isEmpty() && !monitorName.contains(QLatin1Char(',')))
                    names << monitorName;
            }
        }
        return names.isEmpty() ? QStringList{QString()} : names;
    }
};

// COSMIC's background program follows its configuration files; one entry serves every output.
class CosmicAdapter : public Adapter
{
public:
    QString name() const override { return QStringLiteral("COSMIC"); }

    void apply(const QString& path, Desktop::Placement placement, Runner& runner) const override
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                               QStringLiteral("/cosmic/com.system76.CosmicBackground/v1/");
        QString reason;
        if (!runner.writeFile(folder + QStringLiteral("all"), cosmicEntry(path, placement), &reason) ||
            !runner.writeFile(folder + QStringLiteral("same-on-all"), "true", &reason))
            refuse(name(), reason);
    }
};

Command lxqtCommand(const QString& path, Desktop::Placement placement)
{
    static constexpr Words modes = {"center", "tile", "stretch"};
    return {QStringLiteral("pcmanfm-qt"),
            {QStringLiteral("--set-wallpaper"), path, QStringLiteral("--wallpaper-mode"), word(modes, placement)}};
}

Command lxdeCommand(const QString& path, Desktop::Placement placement)
{
    static constexpr Words modes = {"center", "tile", "stretch"};
    return {QStringLiteral("pcmanfm"),
            {QStringLiteral("--set-wallpaper=") + path, QStringLiteral("--wallpaper-mode=") + word(modes, placement)}};
}

Command swaybgCommand(const QString& path, Desktop::Placement placement)
{
    static constexpr Words modes = {"center", "tile", "stretch"};
    return {QStringLiteral("swaybg"), {QStringLiteral("-i"), path, QStringLiteral("-m"), word(modes, placement)}, true};
}

Command fehCommand(const QString& path, Desktop::Placement placement)
{
    static constexpr Words modes = {"--bg-center", "--bg-tile", "--bg-scale"};
    return {QStringLiteral("feh"), {QStringLiteral("--no-fehbg"), word(modes, placement), path}};
}

// The key of one entry of XDG_CURRENT_DESKTOP or of DESKTOP_SESSION.
QString keyOfName(const QString& name)
{
    const QString n = name.trimmed().toLower();
    struct Rule
    {
        const char* contains;
        const char* key;
    };
    // Order matters: "xubuntu" and "lubuntu" before "ubuntu", "budgie" before "gnome".
    static constexpr Rule rules[] = {
        {"cinnamon", "cinnamon"}, {"mate", "mate"},     {"plasma", "kde"},      {"kde", "kde"},
        {"xfce", "xfce"},         {"xubuntu", "xfce"},  {"lxqt", "lxqt"},       {"lubuntu", "lxqt"},
        {"lxde", "lxde"},         {"budgie", "budgie"}, {"unity", "unity"},     {"gnome", "gnome"},
        {"ubuntu", "gnome"},      {"sway", "wlroots"},  {"wlroots", "wlroots"}, {"hyprland", "hyprland"},
        {"cosmic", "cosmic"},     {"niri", "wlroots"},  {"river", "wlroots"},   {"wayfire", "wlroots"},
        {"labwc", "wlroots"},
    };
    for (const Rule& rule : rules) {
        if (n.contains(QLatin1String(rule.contains)))
            return QString::fromLatin1(rule.key);
    }
    return {};
}

} // namespace

QString detect(const QProcessEnvironment& env)
{
    for (const QString& name : env.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(QLatin1Char(':'))) {
        const QString key = keyOfName(name);
        if (!key.isEmpty())
            return key;
    }
    const QString session = keyOfName(env.value(QStringLiteral("DESKTOP_SESSION")));
    if (!session.isEmpty())
        return session;
    if (!env.value(QStringLiteral("KDE_SESSION_VERSION")).isEmpty())
        return QStringLiteral("kde");
    if (!env.value(QStringLiteral("SWAYSOCK")).isEmpty() || !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
        return QStringLiteral("wlroots");
    if (!env.value(QStringLiteral("DISPLAY")).isEmpty())
        return QStringLiteral("x11");
    return {};
}

std::unique_ptr<Adapter> adapterFor(const QString& key, const QStringList& monitors)
{
    using Picture = GSettingsAdapter::Picture;
    const QString k = key.trimmed().toLower();
    const QString gnome = QStringLiteral("org.gnome.desktop.background");
    if (k == QLatin1String("gnome"))
        return std::make_unique<GSettingsAdapter>(QStringLiteral("GNOME"), gnome, Picture::UriAndDark);
    if (k == QLatin1String("unity"))
        return std::make_unique<GSettingsAdapter>(QStringLiteral("Unity"), gnome, Picture::UriAndDark);
    if (k == QLatin1String("budgie"))
        return std::make_unique<GSettingsAdapter>(QStringLiteral("Budgie"), gnome, Picture::UriAndDark);
    if (k == QLatin1String("cinnamon"))
        return std::make_unique<GSettingsAdapter>(QStringLiteral("Cinnamon"),
                                                  QStringLiteral("org.cinnamon.desktop.background"), Picture::Uri);
    if (k == QLatin1String("mate"))
        return std::make_unique<GSettingsAdapter>(QStringLiteral("MATE"), QStringLiteral("org.mate.background"),
                                                  Picture::Filename);
    if (k == QLatin1String("kde") || k == QLatin1String("plasma"))
        return std::make_unique<PlasmaAdapter>(int(monitors.size()));
    if (k == QLatin1String("xfce"))
        return std::make_unique<XfceAdapter>(monitors);
    if (k == QLatin1String("hyprland"))
        return std::make_unique<HyprlandAdapter>();
    if (k == QLatin1String("cosmic"))
        return std::make_unique<CosmicAdapter>();
    if (k == QLatin1String("lxqt"))
        return std::make_unique<SingleCommandAdapter>(QStringLiteral("LXQt"), lxqtCommand);
    if (k == QLatin1String("lxde"))
        return std::make_unique<SingleCommandAdapter>(QStringLiteral("LXDE"), lxdeCommand);
    if (k == QLatin1String("wlroots") || k == QLatin1String("sway") || k == QLatin1String("niri"))
        return std::make_unique<SingleCommandAdapter>(QStringLiteral("Wayland (swaybg)"), swaybgCommand);
    if (k == QLatin1String("x11") || k == QLatin1String("feh"))
        return std::make_unique<SingleCommandAdapter>(QStringLiteral("X11 (feh)"), fehCommand);
    return nullptr;
}

AppError noDesktopFound(const QProcessEnvironment& env)
{
    QString seen = env.value(QStringLiteral("XDG_CURRENT_DESKTOP"));
    if (seen.isEmpty())
        seen = env.value(QStringLiteral("DESKTOP_SESSION"));
    if (seen.isEmpty())
        seen = QStringLiteral("okänt");
    return AppError(QStringLiteral("Bakgrunden kunde inte bytas på skrivbordet %1: programmet vet inte hur det "
                                   "skrivbordet byter bakgrund (välj ett med TAVELVAXLAREN_DESKTOP).")
                        .arg(seen));
}

AppError unknownDesktop(const QString& name)
{
    return AppError(QStringLiteral("Bakgrunden kunde inte bytas på skrivbordet %1: namnet i TAVELVAXLAREN_DESKTOP "
                                   "är okänt (gnome, unity, budgie, cinnamon, mate, kde, xfce, lxqt, lxde, "
                                   "hyprland, cosmic, wlroots, x11 eller log:FIL).")
                        .arg(name));
}

QString absolutePath(const QString& path)
{
    if (path.startsWith(QLatin1Char('/')))
        return path;
    return QDir::current().absolutePath() + QLatin1Char('/') + path;
}

QString gvariantString(const QString& text)
{
    QString literal = QStringLiteral("'");
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\''))
            literal += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            literal += QLatin1String("\\n");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            literal += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            literal += c;
    }
    return literal + QLatin1Char('\'');
}

QString jsonString(const QString& text)
{
    QString literal = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            literal += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            literal += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            literal += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            literal += QLatin1String("\\t");
        // U+2028 and U+2029 end a line in older JavaScript, even inside a string.
        else if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            literal += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            literal += c;
    }
    return literal + QLatin1Char('"');
}

QString plasmaScript(const QString& path, Desktop::Placement placement)
{
    static constexpr std::array<int, 3> fillModes = {6, 3, 0};
    return QStringLiteral("var image = %1;\n"
                          "var fillMode = %2;\n"
                          "var all = desktops();\n"
                          "for (var i = 0; i < all.length; ++i) {\n"
                          "    var d = all[i];\n"
                          "    d.wallpaperPlugin = \"org.kde.image\";\n"
                          "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
                          "    d.writeConfig(\"Image\", image);\n"
                          "    d.writeConfig(\"FillMode\", fillMode);\n"
                          "}\n")
        // One pass: a "%0A" of the URI must not be taken for a place marker.
        .arg(jsonString(fileUri(path, UriReader::QUrl)), QString::number(fillModes[static_cast<int>(placement)]));
}

QByteArray cosmicEntry(const QString& path, Desktop::Placement placement)
{
    // cosmic-bg neither centres at the picture's own size nor tiles: a fit shows the whole picture
    // centred, a zoom covers the screen as tiles do, a stretch stretches.
    static constexpr Words modes = {"Fit((0.0, 0.0, 0.0))", "Zoom", "Stretch"};
    QString literal = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            literal += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            literal += QStringLiteral("\\u{%1}").arg(c.unicode(), 0, 16);
        else
            literal += c;
    }
    literal += QLatin1Char('"');
    return QStringLiteral("(\n"
                          "    output: \"all\",\n"
                          "    source: Path(%1),\n"
                          "    filter_by_theme: false,\n"
                          "    rotation_frequency: 300,\n"
                          "    filter_method: Lanczos,\n"
                          "    scaling_mode: %2,\n"
                          "    sampling_method: Alphanumeric,\n"
                          ")")
        .arg(literal, word(modes, placement))
        .toUtf8();
}

} // namespace DesktopAdapters
