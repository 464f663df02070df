#include "MainWindowLayout.h"

#include "MenuSwatches.h"
#include "core/Placements.h"
#include "platform/ColourValue.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "resources/Resources.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/DragShape.h"
#include "toolkit/GlyphIcon.h"
#include "toolkit/Hint.h"
#include "toolkit/LabelAutoSize.h"
#include "toolkit/PictureView.h"
#include "toolkit/SkinRegion.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/TransparentImage.h"
#include "toolkit/UiFont.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QScrollArea>
#include <QTimer>

namespace {

template <typename W> W* place(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, int x, int y, const QString& text,
              Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* lb = new QLabel(text, parent);
    lb->setObjectName(QLatin1String(name));
    lb->move(x, y);
    lb->setAlignment(alignment | Qt::AlignTop);
    setLabelAutoSize(lb, alignment & Qt::AlignRight);
    return lb;
}

// A label of fixed size whose text wraps at its width.
QLabel* wrapLabel(QWidget* parent, const char* name, QRect place, const QString& hint = {})
{
    auto* lb = new QLabel(parent);
    lb->setObjectName(QLatin1String(name));
    lb->setGeometry(place);
    lb->setWordWrap(true);
    lb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!hint.isEmpty())
        setHint(lb, hint);
    return lb;
}

BevelPanel* panel(QWidget* parent, const char* name, QRect place)
{
    auto* p = new BevelPanel(parent);
    p->setObjectName(QLatin1String(name));
    p->setGeometry(place);
    p->setBevelOuter(BevelPanel::Bevel::Lowered);
    return p;
}

SpeedButton* speedButton(QWidget* parent, const char* name, int y, int h, const QString& caption, const QString& hint)
{
    auto* bt = place<SpeedButton>(parent, name, 4, y, 152, h);
    bt->setText(caption);
    setHint(bt, hint);
    return bt;
}

QCheckBox* checkBox(QWidget* parent, const char* name, QRect place, const QString& caption, bool checked,
                    const QString& hint)
{
    auto* chk = new QCheckBox(caption, parent);
    chk->setObjectName(QLatin1String(name));
    chk->setGeometry(place);
    chk->setChecked(checked);
    setHint(chk, hint);
    return chk;
}

QComboBox* comboBox(QWidget* parent, const char* name, QRect place, const QString& hint)
{
    auto* cmb = new QComboBox(parent);
    cmb->setObjectName(QLatin1String(name));
    cmb->setGeometry(place);
    cmb->setEditable(true);
    // Typing changes the text only, as in an editable drop-down list; it adds no item.
    cmb->setInsertPolicy(QComboBox::NoInsert);
    setHint(cmb, hint);
    return cmb;
}

SpinEdit* spinEdit(QWidget* parent, const char* name, QRect place, int value, const QString& hint)
{
    auto* spin = new SpinEdit(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setGeometry(place);
    spin->setValue(value);
    setHint(spin, hint);
    return spin;
}

TransparentImage* captionImage(QWidget* form, const char* name, QRect place, bool transparent)
{
    auto* img = new TransparentImage(form);
    img->setObjectName(QLatin1String(name));
    img->setGeometry(place);
    img->setTransparent(transparent);
    return img;
}

// The hot spot of a caption button: an empty, transparent label over the image.
QLabel* hotSpot(QWidget* form, const char* name, QRect place)
{
    auto* lb = new QLabel(form);
    lb->setObjectName(QLatin1String(name));
    lb->setGeometry(place);
    return lb;
}

DragShape* dragShape(QWidget* form, const char* name, QRect place)
{
    auto* shape = new DragShape(form);
    shape->setObjectName(QLatin1String(name));
    shape->setGeometry(place);
    return shape;
}

QTimer* timer(QWidget* form, const char* name, bool enabled)
{
    auto* t = new QTimer(form);
    t->setObjectName(QLatin1String(name));
    t->setInterval(1000);
    if (enabled)
        t->start();
    return t;
}

QMenu* menu(QWidget* form, const char* name)
{
    auto* m = new QMenu(form);
    m->setObjectName(QLatin1String(name));
    relayMenuHints(m, form);
    return m;
}

QAction* item(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {},
              const QString& hint = {})
{
    auto* action = new QAction(caption, menu);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    if (!hint.isEmpty())
        setHint(action, hint);
    menu->addAction(action);
    return action;
}

void separator(QMenu* menu, const char* name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
}

// The right-click rule: a widget with a menu of its own opens it; all others pass the request
// on to their parent, up to the window's own menu.
void bindPopup(QWidget* widget, QMenu* popup)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connectGuarded(widget, &QWidget::customContextMenuRequested, popup, [widget, popup](const QPoint& pos) {
        const auto* area = qobject_cast<const QAbstractScrollArea*>(widget);
        popup->popup((area ? area->viewport() : widget)->mapToGlobal(pos));
    });
}

QIcon menuBitmap(const char* name)
{
    return glyphIcon(QLatin1String(name));
}

} // namespace

MainWindowWidgets MainWindowLayout::build(QWidget* form)
{
    MainWindowWidgets c;
    c.form = form;
    form->setObjectName(QStringLiteral("Form1"));
    form->setWindowTitle(QStringLiteral("Tavelvaxlaren"));
    form->setWindowFlag(Qt::FramelessWindowHint);
    form->setFont(uiFont());
    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, SettingsStore::defaultColour(Setting::BgFarge));
    for (auto role : {QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, SettingsStore::defaultColour(Setting::TextFarge));
    form->setPalette(palette);
    form->setGeometry(236, 106, 988, 608);

    // Direct children, bottom of the stacking order first.
    c.imgBg = place<QLabel>(form, "ImgBg", 0, 0, 988, 608);
    c.imgBg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.imgClose = captionImage(form, "ImgClose", {826, 34, 18, 18}, true);
    c.lbClose = hotSpot(form, "LbClose", {826, 34, 18, 18});
    c.shape1 = dragShape(form, "Shape1", {24, 4, 765, 65});
    c.shape2 = dragShape(form, "Shape2", {844, 4, 129, 65});
    c.shape3 = dragShape(form, "Shape3", {785, 4, 65, 28});
    c.shape4 = dragShape(form, "Shape4", {784, 52, 65, 17});
    c.imgOm = captionImage(form, "ImgOm", {788, 35, 16, 16}, true);
    c.lbOm = hotSpot(form, "LbOm", {788, 35, 16, 16});
    c.imgMin = captionImage(form, "ImgMin", {806, 34, 18, 18}, false);
    c.lbMin = hotSpot(form, "LbMin", {806, 34, 18, 18});

    c.lb1 = place<QListWidget>(form, "LB1", 324, 508, 93, 25);
    c.lb1->setUniformItemSizes(true);
    c.lb1->hide();

    // Panel3, the preview
    c.panel3 = panel(form, "Panel3", {584, 70, 394, 440});
    c.label5 = place<QLabel>(c.panel3, "Label5", 1, 1, 392, 20);
    c.label5->setText(QStringLiteral("Förhandsgranskning"));
    c.label5->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    c.panel6 = panel(c.panel3, "Panel6", {1, 21, 392, 298});
    c.panel6->setBevelWidth(2);
    c.panel6->setColor(ColourValue::toColour(0x00FFFFFF));
    c.img = place<PictureView>(c.panel6, "Img", 2, 2, 388, 294);
    c.panel5 = panel(c.panel3, "Panel5", {1, 319, 392, 120});
    c.panel5->setBevelOuter(BevelPanel::Bevel::None);
    c.lbNamn = wrapLabel(c.panel5, "LbNamn", {0, 0, 392, 41}, QStringLiteral("Filnamn och typ"));
    c.label7 = label(c.panel5, "Label7", 0, 41, QStringLiteral("Sökväg:"));
    c.lbPath = wrapLabel(c.panel5, "LbPath", {0, 61, 389, 41}, QStringLiteral("Klicka för att öppn Mappen"));
    c.lbPath->setCursor(Qt::PointingHandCursor);
    QFont pathFont = c.lbPath->font();
    pathFont.setUnderline(true);
    c.lbPath->setFont(pathFont);
    // Its colour is its own: it follows the window's text colour only where told to.
    QPalette pathPalette = c.lbPath->palette();
    pathPalette.setColor(QPalette::WindowText, SettingsStore::defaultColour(Setting::TextFarge));
    c.lbPath->setPalette(pathPalette);
    c.chkTray = checkBox(c.panel5, "ChkTray", {28, 100, 145, 19}, QStringLiteral("Visa i Klocktråget"), true,
                         QStringLiteral("Visar en ikon i systemtråget bredvid klockan"));
    c.chkTips = checkBox(c.panel5, "ChkTips", {212, 100, 121, 17}, QStringLiteral("Visa Tipsrutor"), false,
                         QStringLiteral("Visar eller döljer tipsrutorna och tipstexten längst ner"));

    // Panel4, the thumbnail area; the cards are added to SB1's widget at run time.
    c.panel4 = panel(form, "Panel4", {168, 70, 416, 440});
    c.sb1 = place<QScrollArea>(c.panel4, "SB1", 1, 1, 414, 438);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("SB1Content"));
    c.sb1->setWidget(content);
    content->resize(c.sb1->viewport()->size());

    // Panel2, the bottom field
    c.panel2 = panel(form, "Panel2", {9, 510, 969, 90});
    c.panel2->setColor(SettingsStore::defaultColour(Setting::BgFargeBotten));
    c.panel2->setFontColor(SettingsStore::defaultColour(Setting::TextFargeBotten));
    c.panel2->setFont(uiFont());
    c.label3 = label(c.panel2, "Label3", 4, 4, QStringLiteral("Tid till nästa byte:"));
    c.lbTimeLeft = label(c.panel2, "LbTimeLeft", 4, 24, QStringLiteral("30"), Qt::AlignRight);
    c.lbMinut = label(c.panel2, "LbMinut", 26, 24, QStringLiteral("Minuter"));
    c.lbSek = label(c.panel2, "LbSek", 93, 24, QStringLiteral("0"), Qt::AlignRight);
    c.lbSek1 = label(c.panel2, "LbSek1", 105, 24, QStringLiteral("sekunder"));
    c.lbLas = label(c.panel2, "LbLas", 180, 4, QString());
    c.progBar = place<QProgressBar>(c.panel2, "ProgBar", 180, 26, 385, 17);
    c.progBar->setTextVisible(false);
    c.progBar->hide();
    c.lbNum = label(c.panel2, "LbNum", 308, 4, QString());
    c.lbSel = label(c.panel2, "LbSel", 492, 4, QString());
    c.chkSysStart = checkBox(c.panel2, "ChkSysStart", {604, 4, 169, 17}, QStringLiteral("Starta med Windows"), true,
                             QStringLiteral("Autostarta programmet när Windows startar"));
    c.chkMin = checkBox(c.panel2, "ChkMin", {788, 4, 145, 17}, QStringLiteral("Starta Minimerad"), true,
                        QStringLiteral("VIsa eller dölj huvudfönstret när programmet startar"));
    c.lbTid = label(c.panel2, "LbTid", 612, 27, QStringLiteral("LbTid"));
    setHint(c.lbTid, QStringLiteral("Aktuell tid på datorn"));
    c.lbDate = label(c.panel2, "LbDate", 612, 46, QStringLiteral("LbDate"));
    setHint(c.lbDate, QStringLiteral("Dagens datum"));
    c.lbTips = wrapLabel(c.panel2, "LbTips", {1, 45, 608, 41});

    // Panel1, the command bar
    c.panel1 = panel(form, "Panel1", {9, 70, 160, 440});
    c.btNy = speedButton(c.panel1, "BtNy", 4, 25, QStringLiteral("&Ny Bildlista..."),
                         QStringLiteral("Tömmer nuvarande lista och skapar en ny"));
    c.btAdd = speedButton(c.panel1, "BtAdd", 30, 25, QStringLiteral("&Lägg till Bilder..."),
                          QStringLiteral("Lägger till bilder i befintlig Bildlista"));
    c.btSpara = speedButton(c.panel1, "BtSpara", 56, 25, QStringLiteral("&Spara Bildlista..."),
                            QStringLiteral("Sparar bildlista till fil"));
    c.btOpen = speedButton(c.panel1, "BtOpen", 82, 25, QStringLiteral("&Öppna Bildlista..."),
                           QStringLiteral("Öppnar bildlista från fil"));
    c.label1 = label(c.panel1, "Label1", 4, 108, QStringLiteral("Ramfärg:"));
    c.pnlBg = place<BevelPanel>(c.panel1, "PnlBg", 4, 128, 152, 17);
    c.pnlBg->setColor(SettingsStore::defaultColour(Setting::Ramfarg));
    setHint(c.pnlBg, QStringLiteral("Välj vilken färg alla ramar skall ha"));
    c.label2 = label(c.panel1, "Label2", 4, 145, QStringLiteral("Markeringsfärg:"));
    c.pnlMark = place<BevelPanel>(c.panel1, "PnlMark", 4, 165, 152, 17);
    c.pnlMark->setColor(SettingsStore::defaultColour(Setting::Markering));
    setHint(c.pnlMark, QStringLiteral("Välj vilken färg markerad bildram ska ha"));
    c.label6 = label(c.panel1, "Label6", 4, 184, QStringLiteral("Tid mellan byte:"));
    c.spinEditTimeInterval =
        spinEdit(c.panel1, "SpinEditTimeInterval", {4, 204, 41, 30}, 30, QStringLiteral("Tidsintervall"));
    c.cmbTidTyp =
        comboBox(c.panel1, "CmbTidTyp", {48, 205, 108, 28}, QStringLiteral("Vilken typ av tid i intervallet"));
    c.label4 = label(c.panel1, "Label4", 4, 237, QStringLiteral("Position:"));
    c.cmbTyp =
        comboBox(c.panel1, "CmbTyp", {4, 257, 152, 28}, QStringLiteral("Välj hur bilden ska visas på skrivbordet"));
    c.chkBlanda = checkBox(c.panel1, "ChkBlanda", {4, 291, 73, 17}, QStringLiteral("Blanda"), false,
                           QStringLiteral("I stället för att ta bild efter bild välj en slumpartat"));
    c.label8 = label(c.panel1, "Label8", 4, 310, QStringLiteral("Ramtjocklek:"));
    c.ram = spinEdit(c.panel1, "Ram", {112, 304, 43, 30}, 8,
                     QStringLiteral("Ställ in hur tjock du vill ha ramen runt bilden"));
    c.btStartStop = speedButton(c.panel1, "BtStartStop", 337, 25, QStringLiteral("&Starta"),
                                QStringLiteral("Starta automatiskt bakgrundsbildsbyte med angivet intervall"));
    c.btVerkstall = speedButton(c.panel1, "BtVerkstall", 363, 25, QStringLiteral("&Verkställ"),
                                QStringLiteral("Gör markerad bild till skrivbordsbakgrund"));
    c.btMin = speedButton(c.panel1, "BtMin", 389, 22, QStringLiteral("&Minimera"),
                          QStringLiteral("Minimera programfönstret"));
    c.btClose =
        speedButton(c.panel1, "BtClose", 412, 25, QStringLiteral("&Avsluta"), QStringLiteral("Avsluta programmet"));

    QWidget::setTabOrder(c.cmbTidTyp, c.chkBlanda);
    QWidget::setTabOrder(c.chkBlanda, c.spinEditTimeInterval);
    QWidget::setTabOrder(c.spinEditTimeInterval, c.cmbTyp);
    QWidget::setTabOrder(c.cmbTyp, c.ram);

    // Timers: only the clock runs from the start.
    c.timerTid = timer(form, "TimerTid", true);
    c.timeLeft = timer(form, "TimeLeft", false);
    c.timerStart = timer(form, "TimerStart", false);
    c.timerMinSek = timer(form, "TimerMinSek", false);
    c.timerPop = timer(form, "TimerPop", false);

    // Popup menus
    c.popTray = menu(form, "PopTray");
    c.byt1 = item(c.popTray, "Byt1", QStringLiteral("Byt &Bakgrundsfärg"), QKeySequence(QStringLiteral("Ctrl+B")));
    c.textfarg1 = item(c.popTray, "Textfarg1", QStringLiteral("Byt &TextFärg"), QKeySequence(QStringLiteral("Ctrl+T")));
    c.standardBakgrundsfrg1 = item(c.popTray, "StandardBakgrundsfrg1", QStringLiteral("Standard Ba&kgrundsfärg"),
                                   QKeySequence(QStringLiteral("Ctrl+Alt+B")));
    c.standardTextfrg1 = item(c.popTray, "StandardTextfrg1", QStringLiteral("Standard T&extfärg"),
                              QKeySequence(QStringLiteral("Ctrl+Alt+T")));
    separator(c.popTray, "N3");
    c.starta1 = item(c.popTray, "Starta1", QStringLiteral("&Starta"), QKeySequence(QStringLiteral("Ctrl+S")));
    separator(c.popTray, "N2");
    c.minimera1 = item(c.popTray, "Minimera1", QStringLiteral("&Minimera"), QKeySequence(QStringLiteral("Ctrl+M")));
    c.popTray->setDefaultAction(c.minimera1);
    c.restoreForm1 =
        item(c.popTray, "RestoreForm1", QStringLiteral("&Återställ"), QKeySequence(QStringLiteral("Ctrl+R")));
    c.restoreForm1->setEnabled(false);
    separator(c.popTray, "N1");
    c.avsluta1 = item(c.popTray, "Avsluta1", QStringLiteral("&Avsluta"), QKeySequence(QStringLiteral("Alt+F4")));

    c.popProg = menu(form, "PopProg");
    c.bytBakgrundsfrg1 = item(c.popProg, "BytBakgrundsfrg1", QStringLiteral("Byt &Bakgrundsfärg"),
                              QKeySequence(QStringLiteral("Ctrl+B")));
    c.bytTextFrg1 =
        item(c.popProg, "BytTextFrg1", QStringLiteral("Byt &TextFärg"), QKeySequence(QStringLiteral("Ctrl+T")));
    c.standardBakgrundsfrg2 = item(c.popProg, "StandardBakgrundsfrg2", QStringLiteral("Standard Ba&kgrundsfärg"),
                                   QKeySequence(QStringLiteral("Ctrl+Alt+B")));
    c.standardTextfrg2 = item(c.popProg, "StandardTextfrg2", QStringLiteral("Standard T&extfärg"),
                              QKeySequence(QStringLiteral("Ctrl+Alt+T")));

    c.popInfo = menu(form, "PopInfo");
    c.bytBakgrundsfrg2 = item(c.popInfo, "BytBakgrundsfrg2", QStringLiteral("Byt &Bakgrundsfärg i Bottenfältet"),
                              QKeySequence(QStringLiteral("Shift+Ctrl+B")));
    c.bytTextFrg2 = item(c.popInfo, "BytTextFrg2", QStringLiteral("Byt &TextFärg i Bottenfältet"),
                         QKeySequence(QStringLiteral("Shift+Ctrl+T")));
    c.standardBakgrundsfrg3 =
        item(c.popInfo, "StandardBakgrundsfrg3", QStringLiteral("Standard Ba&kgrundsfärg i Bottenfältet"),
             QKeySequence(QStringLiteral("Alt+B")));
    c.standardTextfrg3 = item(c.popInfo, "StandardTextfrg3", QStringLiteral("Standard T&extfärg i Bottenfältet"),
                              QKeySequence(QStringLiteral("Alt+T")));

    c.popDel = menu(form, "PopDel");
    c.abortBild1 = item(c.popDel, "abortBild1", QStringLiteral("&Ta Bort Markerad Bild"), {},
                        QStringLiteral("OBS! Detta kommando tar bort MARKERAD bild! INTE den du högerklickar på!"));
    c.redigeravaldbild1 = item(c.popDel, "Redigeravaldbild1", QStringLiteral("&Redigera Markerad bild..."), {},
                               QStringLiteral("Markera först bilden du vill redigera. Du kan byta ut bilden du "
                                              "valde eller ändra sökvägen till den."));

    // A menu's shortcuts act where its menu belongs: the window's in the window, the bottom
    // field's while it has the focus; the tray menu's only while it is open.
    form->addActions(c.popProg->actions());
    c.panel2->addActions(c.popInfo->actions());
    for (QAction* action : c.popInfo->actions())
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);

    bindPopup(form, c.popProg);
    bindPopup(c.panel2, c.popInfo);
    bindPopup(c.sb1, c.popDel);
    return c;
}

QRegion MainWindowLayout::applySkin(const MainWindowWidgets& c)
{
    return ::applySkin(c.form, c.imgBg, QStringLiteral("Skal"));
}

void MainWindowLayout::dressControls(const MainWindowWidgets& c)
{
    c.btAdd->setGlyphResource(QStringLiteral("Add"));
    c.btNy->setGlyphResource(QStringLiteral("Ny"));
    c.btSpara->setGlyphResource(QStringLiteral("Spara"));
    c.btOpen->setGlyphResource(QStringLiteral("Open"));
    c.btClose->setGlyphResource(QStringLiteral("Avsluta"));
    c.btStartStop->setGlyphResource(QStringLiteral("Start"));
    c.btVerkstall->setGlyphResource(QStringLiteral("Do"), 2);
    c.btMin->setGlyphResource(QStringLiteral("Min"));

    c.imgClose->setResource(QStringLiteral("Steng"));
    c.imgMin->setResource(QStringLiteral("Min"));
    c.imgOm->setResource(QStringLiteral("Om"));

    c.minimera1->setIcon(menuBitmap("Min"));
    c.restoreForm1->setIcon(menuBitmap("Max"));
    c.avsluta1->setIcon(menuBitmap("Avsluta"));
    c.starta1->setIcon(glyphIcon(c.btStartStop->glyphResource()));
    c.abortBild1->setIcon(menuBitmap("Del"));
    c.redigeravaldbild1->setIcon(menuBitmap("Hitta"));
    for (QAction* standard : {c.standardBakgrundsfrg1, c.standardBakgrundsfrg2, c.standardBakgrundsfrg3})
        standard->setIcon(menuBitmap("Standard"));
    for (QAction* standard : {c.standardTextfrg1, c.standardTextfrg2, c.standardTextfrg3})
        standard->setIcon(menuBitmap("Svart"));
    MenuSwatches::repaintAll(swatchItems(c));
}

MenuSwatches::Items MainWindowLayout::swatchItems(const MainWindowWidgets& c)
{
    return {c.form,        c.panel2,           c.byt1,       c.bytBakgrundsfrg1, c.textfarg1,
            c.bytTextFrg1, c.bytBakgrundsfrg2, c.bytTextFrg2};
}

void MainWindowLayout::fillCombos(const MainWindowWidgets& c)
{
    for (int id = 0; id <= 5; ++id)
        c.cmbTidTyp->addItem(Resources::string(id));
    for (const Placements::Row& row : Placements::table)
        c.cmbTyp->addItem(QString::fromUtf8(row.text));
    c.cmbTidTyp->setCurrentIndex(1);
    c.cmbTyp->setCurrentIndex(2);
}

QRegion MainWindowLayout::dress(const MainWindowWidgets& c)
{
    const QRegion region = applySkin(c);
    dressControls(c);
    fillCombos(c);
    return region;
}
