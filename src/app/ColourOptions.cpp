#include "ColourOptions.h"

#include "chrome/MenuSwatches.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/ColourValue.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>

ColourOptions::ColourOptions(Controls controls, const PictureList& list, ThumbnailStrip* strip, QString programFolder,
                             QObject* parent)
    : QObject(parent), m_c(controls), m_list(list), m_strip(strip), m_programFolder(std::move(programFolder))
{
}

void ColourOptions::bind()
{
    connectGuarded(m_c.pnlBg, &BevelPanel::clicked, this, &ColourOptions::PnlBgClick);
    connectGuarded(m_c.pnlMark, &BevelPanel::clicked, this, &ColourOptions::PnlMarkClick);
    connectGuarded(m_c.ram, &SpinEdit::changed, this, &ColourOptions::RamChange);
    for (QAction* a : {m_c.menu.byt1, m_c.menu.bytBakgrundsfrg1})
        connectGuarded(a, &QAction::triggered, this, &ColourOptions::Byt1Click);
    for (QAction* a : {m_c.menu.textfarg1, m_c.menu.bytTextFrg1})
        connectGuarded(a, &QAction::triggered, this, &ColourOptions::Textfarg1Click);
    for (QAction* a : {m_c.standardBakgrundsfrg1, m_c.standardBakgrundsfrg2})
        connectGuarded(a, &QAction::triggered, this, &ColourOptions::StandardBakgrundsfrg1Click);
    for (QAction* a : {m_c.standardTextfrg1, m_c.standardTextfrg2})
        connectGuarded(a, &QAction::triggered, this, &ColourOptions::StandardTextfrg1Click);
    connectGuarded(m_c.menu.bytBakgrundsfrg2, &QAction::triggered, this, &ColourOptions::BytBakgrundsfrg2Click);
    connectGuarded(m_c.menu.bytTextFrg2, &QAction::triggered, this, &ColourOptions::BytTextFrg2Click);
    connectGuarded(m_c.standardBakgrundsfrg3, &QAction::triggered, this, &ColourOptions::StandardBakgrundsfrg3Click);
    connectGuarded(m_c.standardTextfrg3, &QAction::triggered, this, &ColourOptions::StandardTextfrg3Click);
}

QColor ColourOptions::windowColour() const
{
    return m_c.menu.form->palette().color(QPalette::Window);
}

QColor ColourOptions::windowTextColour() const
{
    return m_c.menu.form->palette().color(QPalette::WindowText);
}

QColor ColourOptions::bottomColour() const
{
    return m_c.menu.panel2->color();
}

QColor ColourOptions::bottomTextColour() const
{
    return m_c.menu.panel2->palette().color(QPalette::WindowText);
}

void ColourOptions::setWindowColour(const QColor& colour)
{
    QPalette pal = m_c.menu.form->palette();
    pal.setColor(QPalette::Window, colour);
    m_c.menu.form->setPalette(pal);
    for (BevelPanel* panel : {m_c.panel1, m_c.panel3, m_c.panel4, m_c.panel5})
        panel->setColor(colour);
}

void ColourOptions::setWindowTextColour(const QColor& colour)
{
    QPalette pal = m_c.menu.form->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::Text, colour);
    pal.setColor(QPalette::ButtonText, colour);
    m_c.menu.form->setPalette(pal);
    // The bottom field keeps its own colours and the folder label its own font colour.
    setBottomTextColour(bottomTextColour());
}

void ColourOptions::setBottomColour(const QColor& colour)
{
    m_c.menu.panel2->setColor(colour);
}

void ColourOptions::setBottomTextColour(const QColor& colour)
{
    m_c.menu.panel2->setFontColor(colour);
}

void ColourOptions::setFolderLabelColour(const QColor& colour)
{
    QPalette pal = m_c.lbPath->palette();
    pal.setColor(QPalette::WindowText, colour);
    m_c.lbPath->setPalette(pal);
    m_c.lbPath->setProperty("ownColour", true);
}

QString ColourOptions::colourFile() const
{
    return m_programFolder + QStringLiteral("Clr.frg");
}

void ColourOptions::loadCustom()
{
    // A file that cannot be used is named to the user; the dialog still opens.
    const QString problem = m_custom.load(colourFile());
    if (!problem.isEmpty())
        Dialogs::instance().showMessage(problem);
}

// Only a confirmed choice writes "Clr.frg"; a file that could not be read is left as it is.
void ColourOptions::saveCustom()
{
    m_custom.save(colourFile());
}

std::optional<QColor> ColourOptions::runDialog(const QColor& start)
{
    QList<QColor> custom = m_custom.colourSlots();
    const std::optional<QColor> chosen = Dialogs::instance().chooseColour(start, custom);
    if (chosen)
        m_custom.setColourSlots(custom);
    return chosen;
}

void ColourOptions::writeColour(Setting key, const QColor& colour)
{
    SettingsStore store;
    store.writeInteger(key, ColourValue::fromColour(colour));
}

// A swatch still showing the system colour it was given keeps that system colour when stored.
qint32 ColourOptions::swatchValue(const BevelPanel* panel)
{
    const QVariant stored = panel->property("colourValue");
    if (stored.isValid() && ColourValue::toColour(stored.toInt()) == panel->color())
        return stored.toInt();
    return ColourValue::fromColour(panel->color());
}

void ColourOptions::setSwatch(BevelPanel* panel, qint32 value)
{
    panel->setProperty("colourValue", value);
    panel->setColor(ColourValue::toColour(value));
}

void ColourOptions::PnlBgClick()
{
    loadCustom();
    const auto chosen = runDialog(m_c.pnlBg->color());
    if (chosen)
        m_c.pnlBg->setColor(*chosen);
    // Confirmed or not, every card takes the frame colour, the marked one too.
    m_strip->paintFrames(m_c.pnlBg->color());
    if (chosen)
        saveCustom();
    // Reached only when "Clr.frg" was written (or left alone): a colour whose save failed is shown, not stored.
    SettingsStore store;
    store.writeInteger(Setting::Ramfarg, swatchValue(m_c.pnlBg));
}

void ColourOptions::PnlMarkClick()
{
    const int marked = m_list.markedIndex();
    loadCustom();
    if (const auto chosen = runDialog(m_c.pnlMark->color())) {
        m_c.pnlMark->setColor(*chosen);
        if (marked >= 0)
            if (auto* card = qobject_cast<BevelPanel*>(m_strip->card(marked)))
                card->setColor(*chosen);
        saveCustom();
    }
    SettingsStore store;
    store.writeInteger(Setting::Markering, swatchValue(m_c.pnlMark));
}

void ColourOptions::RamChange()
{
    m_strip->setFrameThickness(m_c.ram->value());
}

void ColourOptions::Byt1Click()
{
    loadCustom();
    const auto chosen = runDialog(windowColour());
    if (chosen)
        setWindowColour(*chosen);
    writeColour(Setting::BgFarge, windowColour());
    MenuSwatches::repaintWindowColour(m_c.menu);
    if (chosen)
        saveCustom();
}

void ColourOptions::Textfarg1Click()
{
    const QColor start = windowTextColour();
    loadCustom();
    const auto chosen = runDialog(start);
    if (chosen)
        setWindowTextColour(*chosen);
    setFolderLabelColour(chosen.value_or(start));
    writeColour(Setting::TextFarge, windowTextColour());
    MenuSwatches::repaintWindowTextColour(m_c.menu);
    if (chosen)
        saveCustom();
}

void ColourOptions::StandardBakgrundsfrg1Click()
{
    setWindowColour(SettingsStore::defaultColour(Setting::BgFarge));
    writeColour(Setting::BgFarge, windowColour());
    MenuSwatches::repaintWindowColour(m_c.menu);
}

void ColourOptions::StandardTextfrg1Click()
{
    setWindowTextColour(SettingsStore::defaultColour(Setting::TextFarge));
    writeColour(Setting::TextFarge, windowTextColour());
    MenuSwatches::repaintWindowTextColour(m_c.menu);
}

void ColourOptions::BytBakgrundsfrg2Click()
{
    loadCustom();
    const auto chosen = runDialog(bottomColour());
    if (chosen)
        setBottomColour(*chosen);
    writeColour(Setting::BgFargeBotten, bottomColour());
    MenuSwatches::repaintBottomColour(m_c.menu);
    if (chosen)
        saveCustom();
}

void ColourOptions::BytTextFrg2Click()
{
    loadCustom();
    const auto chosen = runDialog(bottomTextColour());
    if (chosen)
        setBottomTextColour(*chosen);
    writeColour(Setting::TextFargeBotten, bottomTextColour());
    MenuSwatches::repaintBottomTextColour(m_c.menu);
    if (chosen)
        saveCustom();
}

void ColourOptions::StandardBakgrundsfrg3Click()
{
    setBottomColour(SettingsStore::defaultColour(Setting::BgFargeBotten));
    writeColour(Setting::BgFargeBotten, bottomColour());
    MenuSwatches::repaintBottomColour(m_c.menu);
}

void ColourOptions::StandardTextfrg3Click()
{
    setBottomTextColour(SettingsStore::defaultColour(Setting::TextFargeBotten));
    writeColour(Setting::TextFargeBotten, bottomTextColour());
    MenuSwatches::repaintBottomTextColour(m_c.menu);
}
