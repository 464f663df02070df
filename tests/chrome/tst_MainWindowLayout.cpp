#include "chrome/MainWindowLayout.h"
#include "chrome/MenuSwatches.h"
#include "resources/Resources.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/SkinRegion.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/TransparentImage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QScrollArea>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>

namespace {

constexpr int autoSize = -1; // labels that size themselves to their text

QString textOf(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* spin = qobject_cast<SpinEdit*>(w))
        return spin->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    return {};
}

} // namespace

class TestMainWindowLayout : public QObject
{
    Q_OBJECT

    QWidget* m_form = nullptr;
    MainWindowWidgets m_c;

    QMenu* openMenu() const
    {
        for (QMenu* menu : {m_c.popProg, m_c.popInfo, m_c.popDel, m_c.popTray}) {
            if (menu->isVisible())
                return menu;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        m_form = new QWidget;
        m_c = MainWindowLayout::build(m_form);
        MainWindowLayout::dress(m_c);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }

    void cleanupTestCase() { delete m_form; }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("glyph");

        auto row = [](const char* name, const char* parent, QRect place, const QString& text = {},
                      const QString& hint = {}, const QString& glyph = {}) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << place << text << hint
                                << glyph;
        };
        const int a = autoSize;
        // The window's own children
        row("ImgBg", "Form1", {0, 0, 988, 608});
        row("ImgClose", "Form1", {826, 34, 18, 18});
        row("LbClose", "Form1", {826, 34, 18, 18}, "");
        row("Shape1", "Form1", {24, 4, 765, 65});
        row("Shape2", "Form1", {844, 4, 129, 65});
        row("Shape3", "Form1", {785, 4, 65, 28});
        row("Shape4", "Form1", {784, 52, 65, 17});
        row("ImgOm", "Form1", {788, 35, 16, 16});
        row("LbOm", "Form1", {788, 35, 16, 16}, "");
        row("ImgMin", "Form1", {806, 34, 18, 18});
        row("LbMin", "Form1", {806, 34, 18, 18}, "");
        row("LB1", "Form1", {324, 508, 93, 25});
        row("Panel1", "Form1", {9, 70, 160, 440});
        row("Panel4", "Form1", {168, 70, 416, 440});
        row("Panel3", "Form1", {584, 70, 394, 440});
        row("Panel2", "Form1", {9, 510, 969, 90});
        // Command bar
        row("BtNy", "Panel1", {4, 4, 152, 25}, "&Ny Bildlista...", "Tömmer nuvarande lista och skapar en ny", "Ny");
        row("BtAdd", "Panel1", {4, 30, 152, 25}, "&Lägg till Bilder...", "Lägger till bilder i befintlig Bildlista",
            "Add");
        row("BtSpara", "Panel1", {4, 56, 152, 25}, "&Spara Bildlista...", "Sparar bildlista till fil", "Spara");
        row("BtOpen", "Panel1", {4, 82, 152, 25}, "&Öppna Bildlista...", "Öppnar bildlista från fil", "Open");
        row("Label1", "Panel1", {4, 108, a, a}, "Ramfärg:");
        row("PnlBg", "Panel1", {4, 128, 152, 17}, "", "Välj vilken färg alla ramar skall ha");
        row("Label2", "Panel1", {4, 145, a, a}, "Markeringsfärg:");
        row("PnlMark", "Panel1", {4, 165, 152, 17}, "", "Välj vilken färg markerad bildram ska ha");
        row("Label6", "Panel1", {4, 184, a, a}, "Tid mellan byte:");
        row("SpinEditTimeInterval", "Panel1", {4, 204, 41, 30}, "30", "Tidsintervall");
        row("CmbTidTyp", "Panel1", {48, 205, 108, 28}, "Minuter", "Vilken typ av tid i intervallet");
        row("Label4", "Panel1", {4, 237, a, a}, "Position:");
        row("CmbTyp", "Panel1", {4, 257, 152, 28}, "Anpassad", "Välj hur bilden ska visas på skrivbordet");
        row("ChkBlanda", "Panel1", {4, 291, 73, 17}, "Blanda",
            "I stället för att ta bild efter bild välj en slumpartat");
        row("Label8", "Panel1", {4, 310, a, a}, "Ramtjocklek:");
        row("Ram", "Panel1", {112, 304, 43, 30}, "8", "Ställ in hur tjock du vill ha ramen runt bilden");
        row("BtStartStop", "Panel1", {4, 337, 152, 25}, "&Starta",
            "Starta automatiskt bakgrundsbildsbyte med angivet intervall", "Start");
        row("BtVerkstall", "Panel1", {4, 363, 152, 25}, "&Verkställ", "Gör markerad bild till skrivbordsbakgrund",
            "Do");
        row("BtMin", "Panel1", {4, 389, 152, 22}, "&Minimera", "Minimera programfönstret", "Min");
        row("BtClose", "Panel1", {4, 412, 152, 25}, "&Avsluta", "Avsluta programmet", "Avsluta");
        // Thumbnail area
        row("SB1", "Panel4", {1, 1, 414, 438});
        // Preview
        row("Label5", "Panel3", {1, 1, 392, 20}, "Förhandsgranskning");
        row("Panel6", "Panel3", {1, 21, 392, 298});
        row("Img", "Panel6", {2, 2, 388, 294});
        row("Panel5", "Panel3", {1, 319, 392, 120});
        row("LbNamn", "Panel5", {0, 0, 392, 41}, "", "Filnamn och typ");
        row("Label7", "Panel5", {0, 41, a, a}, "Sökväg:");
        row("LbPath", "Panel5", {0, 61, 389, 41}, "", "Klicka för att öppn Mappen");
        row("ChkTray", "Panel5", {28, 100, 145, 19}, "Visa i Klocktråget",
            "Visar en ikon i systemtråget bredvid klockan");
        row("ChkTips", "Panel5", {212, 100, 121, 17}, "Visa Tipsrutor",
            "Visar eller döljer tipsrutorna och tipstexten längst ner");
        // Bottom field
        row("Label3", "Panel2", {4, 4, a, a}, "Tid till nästa byte:");
        row("LbTimeLeft", "Panel2", {4, 24, a, a}, "30");
        row("LbMinut", "Panel2", {26, 24, a, a}, "Minuter");
        row("LbSek", "Panel2", {93, 24, a, a}, "0");
        row("LbSek1", "Panel2", {105, 24, a, a}, "sekunder");
        row("LbLas", "Panel2", {180, 4, a, a}, "");
        row("ProgBar", "Panel2", {180, 26, 385, 17});
        row("LbNum", "Panel2", {308, 4, a, a}, "");
        row("LbSel", "Panel2", {492, 4, a, a}, "");
        row("ChkSysStart", "Panel2", {604, 4, 169, 17}, "Starta med Windows",
            "Autostarta programmet när Windows startar");
        row("ChkMin", "Panel2", {788, 4, 145, 17}, "Starta Minimerad",
            "VIsa eller dölj huvudfönstret när programmet startar");
        row("LbTid", "Panel2", {612, 27, a, a}, "LbTid", "Aktuell tid på datorn");
        row("LbDate", "Panel2", {612, 46, a, a}, "LbDate", "Dagens datum");
        row("LbTips", "Panel2", {1, 45, 608, 41}, "");
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, place);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        QFETCH(QString, glyph);

        const QList<QWidget*> found = m_form->findChildren<QWidget*>(name);
        QCOMPARE(found.size(), 1);
        QWidget* w = found.first();
        QCOMPARE(w->parentWidget()->objectName(), parent);
        QCOMPARE(w->pos(), place.topLeft());
        if (place.width() != autoSize)
            QCOMPARE(w->size(), place.size());
        else
            QCOMPARE(w->size(), w->sizeHint());
        QCOMPARE(textOf(w), text);
        QCOMPARE(w->toolTip(), hint);
        QCOMPARE(w->statusTip(), hint);
        if (auto* button = qobject_cast<SpeedButton*>(w)) {
            QCOMPARE(button->glyphResource(), glyph);
            QCOMPARE(button->glyph().toImage(), Resources::bitmap(glyph).toImage());
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        }
    }

    void designedStates()
    {
        QVERIFY(!m_c.chkBlanda->isChecked());
        QVERIFY(m_c.chkTray->isChecked());
        QVERIFY(!m_c.chkTips->isChecked());
        QVERIFY(m_c.chkSysStart->isChecked());
        QVERIFY(m_c.chkMin->isChecked());
        QVERIFY(m_c.lb1->isHidden());
        QVERIFY(m_c.progBar->isHidden());
        QCOMPARE(m_c.btVerkstall->numGlyphs(), 2);
        QCOMPARE(m_c.spinEditTimeInterval->value(), 30);
        QCOMPARE(m_c.ram->value(), 8);
        QVERIFY(m_c.cmbTidTyp->isEditable());
        QVERIFY(m_c.cmbTyp->isEditable());
        // The bottom field's right-justified counters keep their right edge as the text grows.
        const int right = m_c.lbTimeLeft->geometry().right();
        m_c.lbTimeLeft->setText(QStringLiteral("12345"));
        QTRY_COMPARE(m_c.lbTimeLeft->width(), m_c.lbTimeLeft->sizeHint().width());
        QCOMPARE(m_c.lbTimeLeft->geometry().right(), right);
        m_c.lbTimeLeft->setText(QStringLiteral("30"));
    }

    void windowAndColours()
    {
        QCOMPARE(m_form->objectName(), QStringLiteral("Form1"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Tavelvaxlaren"));
        QVERIFY(m_form->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(m_form->size(), QSize(988, 608));
        QCOMPARE(m_form->font().pixelSize(), 16);
        QCOMPARE(m_form->palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(m_form->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        QCOMPARE(m_c.panel2->color(), QColor(0, 0, 0x80));
        QCOMPARE(m_c.panel2->fontColor(), QColor(0xFF, 0xFF, 0));
        QCOMPARE(m_c.panel2->font().pixelSize(), 16);
        // Labels of the bottom field draw in its colours; the panels in the window's colour follow it.
        QCOMPARE(m_c.label3->palette().color(QPalette::WindowText), QColor(0xFF, 0xFF, 0));
        QCOMPARE(m_c.panel1->color(), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(m_c.panel6->color(), QColor(255, 255, 255));
        QCOMPARE(m_c.panel6->bevelWidth(), 2);
        QCOMPARE(m_c.panel5->bevelOuter(), BevelPanel::Bevel::None);
        for (BevelPanel* p : {m_c.panel1, m_c.panel2, m_c.panel3, m_c.panel4})
            QCOMPARE(p->bevelOuter(), BevelPanel::Bevel::Lowered);
        QVERIFY(m_c.lbPath->font().underline());
        QCOMPARE(m_c.lbPath->cursor().shape(), Qt::PointingHandCursor);
    }

    void skinAndCaptionImages()
    {
        const QImage skin = Resources::image(QStringLiteral("Skal"));
        QCOMPARE(m_form->mask(), BuildSkinRegion(skin));
        QCOMPARE(m_c.imgBg->pixmap().size(), QSize(988, 608));
        QCOMPARE(m_c.imgClose->resource(), QStringLiteral("Steng"));
        QCOMPARE(m_c.imgMin->resource(), QStringLiteral("Min"));
        QCOMPARE(m_c.imgOm->resource(), QStringLiteral("Om"));
        QVERIFY(m_c.imgClose->isTransparent());
        QVERIFY(m_c.imgOm->isTransparent());
        QVERIFY(!m_c.imgMin->isTransparent());
    }

    // Later children lie above earlier ones; the panels above the skin and caption cluster.
    void stackingOrder()
    {
        QStringList order;
        for (QObject* child : m_form->children()) {
            if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow())
                order << child->objectName();
        }
        QCOMPARE(order, QStringList({"ImgBg", "ImgClose", "LbClose", "Shape1", "Shape2", "Shape3", "Shape4", "ImgOm",
                                     "LbOm", "ImgMin", "LbMin", "LB1", "Panel3", "Panel4", "Panel2", "Panel1"}));
    }

    void tabOrder()
    {
        QWidget* w = m_c.cmbTidTyp;
        QStringList order{w->objectName()};
        for (int i = 0; i < 4; ++i) {
            w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus || !w->isEnabled() || w->focusProxy())
                w = w->nextInFocusChain();
            QWidget* owner = w;
            while (owner && !qobject_cast<QComboBox*>(owner) && !qobject_cast<SpinEdit*>(owner) &&
                   !qobject_cast<QCheckBox*>(owner))
                owner = owner->parentWidget();
            order << (owner ? owner->objectName() : w->objectName());
            w = owner ? owner : w;
            // Step past the children of a composite control.
            while (w->nextInFocusChain()->parentWidget() == w)
                w = w->nextInFocusChain();
        }
        QCOMPARE(order, QStringList({"CmbTidTyp", "ChkBlanda", "SpinEditTimeInterval", "CmbTyp", "Ram"}));
        QCOMPARE(m_c.pnlBg->focusPolicy(), Qt::NoFocus);
        QCOMPARE(m_c.pnlMark->focusPolicy(), Qt::NoFocus);
    }

    void comboItems()
    {
        QStringList units, styles;
        for (int i = 0; i < m_c.cmbTidTyp->count(); ++i)
            units << m_c.cmbTidTyp->itemText(i);
        for (int i = 0; i < m_c.cmbTyp->count(); ++i)
            styles << m_c.cmbTyp->itemText(i);
        QCOMPARE(units, QStringList({"Minut", "Minuter", "Timme", "Timmar", "Dag", "Dagar"}));
        QCOMPARE(styles, QStringList({"Centrerad", "Sida vid Sida", "Anpassad"}));
        QCOMPARE(m_c.cmbTidTyp->currentIndex(), 1);
        QCOMPARE(m_c.cmbTyp->currentIndex(), 2);
    }

    void timers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("active");
        QTest::newRow("clock") << "TimerTid" << true;
        QTest::newRow("unit countdown") << "TimeLeft" << false;
        QTest::newRow("change tick") << "TimerStart" << false;
        QTest::newRow("seconds") << "TimerMinSek" << false;
        QTest::newRow("popup") << "TimerPop" << false;
    }

    void timers()
    {
        QFETCH(QString, name);
        QFETCH(bool, active);
        auto* timer = m_form->findChild<QTimer*>(name);
        QVERIFY(timer);
        QCOMPARE(timer->parent(), m_form);
        QCOMPARE(timer->isActive(), active);
        QCOMPARE(timer->interval(), 1000);
    }

    void menus_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items"); // name|caption|shortcut|bitmap; "swatch" for a colour swatch
        QTest::addColumn<QString>("defaultItem");
        QTest::addColumn<QStringList>("disabled");

        QTest::newRow("PopTray") << "PopTray"
                                 << QStringList{"Byt1|Byt &Bakgrundsfärg|Ctrl+B|swatch",
                                                "Textfarg1|Byt &TextFärg|Ctrl+T|swatch",
                                                "StandardBakgrundsfrg1|Standard Ba&kgrundsfärg|Ctrl+Alt+B|Standard",
                                                "StandardTextfrg1|Standard T&extfärg|Ctrl+Alt+T|Svart",
                                                "N3|-||",
                                                "Starta1|&Starta|Ctrl+S|Start",
                                                "N2|-||",
                                                "Minimera1|&Minimera|Ctrl+M|Min",
                                                "RestoreForm1|&Återställ|Ctrl+R|Max",
                                                "N1|-||",
                                                "Avsluta1|&Avsluta|Alt+F4|Avsluta"}
                                 << "Minimera1" << QStringList{"RestoreForm1"};
        QTest::newRow("PopProg") << "PopProg"
                                 << QStringList{"BytBakgrundsfrg1|Byt &Bakgrundsfärg|Ctrl+B|swatch",
                                                "BytTextFrg1|Byt &TextFärg|Ctrl+T|swatch",
                                                "StandardBakgrundsfrg2|Standard Ba&kgrundsfärg|Ctrl+Alt+B|Standard",
                                                "StandardTextfrg2|Standard T&extfärg|Ctrl+Alt+T|Svart"}
                                 << "" << QStringList{};
        QTest::newRow("PopInfo")
            << "PopInfo"
            << QStringList{"BytBakgrundsfrg2|Byt &Bakgrundsfärg i Bottenfältet|Shift+Ctrl+B|swatch",
                           "BytTextFrg2|Byt &TextFärg i Bottenfältet|Shift+Ctrl+T|swatch",
                           "StandardBakgrundsfrg3|Standard Ba&kgrundsfärg i Bottenfältet|Alt+B|"
                           "Standard",
                           "StandardTextfrg3|Standard T&extfärg i Bottenfältet|Alt+T|Svart"}
            << "" << QStringList{};
        QTest::newRow("PopDel") << "PopDel"
                                << QStringList{"abortBild1|&Ta Bort Markerad Bild||Del",
                                               "Redigeravaldbild1|&Redigera Markerad bild...||Hitta"}
                                << "" << QStringList{};
    }

    void menus()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        QFETCH(QString, defaultItem);
        QFETCH(QStringList, disabled);

        auto* popup = m_form->findChild<QMenu*>(menu);
        QVERIFY(popup);
        const QList<QAction*> actions = popup->actions();
        QCOMPARE(actions.size(), items.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QStringList want = items[i].split(u'|');
            QAction* action = actions[i];
            QCOMPARE(action->objectName(), want[0]);
            QCOMPARE(action->isSeparator(), want[1] == "-");
            if (action->isSeparator()) {
                QCOMPARE(action->text(), QString()); // a plain line, no "-" beside it
                continue;
            }
            QCOMPARE(action->text(), want[1]);
            QCOMPARE(action->shortcut(), QKeySequence(want[2]));
            QCOMPARE(action->isEnabled(), !disabled.contains(want[0]));
            if (want[3] == "swatch") {
                const QImage icon = action->icon().pixmap(16, 16).toImage();
                QCOMPARE(icon.pixelColor(0, 0), QColor(Qt::white));
                continue;
            }
            // The bitmap at its own size, with its bottom-left colour left out.
            const QImage bitmap = Resources::image(want[3]).convertToFormat(QImage::Format_ARGB32);
            const QImage icon = action->icon().pixmap(bitmap.size()).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(icon.size(), bitmap.size());
            const QRgb key = bitmap.pixel(0, bitmap.height() - 1);
            const QPoint probe(bitmap.width() / 2, bitmap.height() / 2);
            QCOMPARE(icon.pixel(probe), bitmap.pixel(probe) == key ? 0u : bitmap.pixel(probe));
            QCOMPARE(qAlpha(icon.pixel(0, bitmap.height() - 1)), 0);
        }
        QCOMPARE(popup->defaultAction() ? popup->defaultAction()->objectName() : QString(), defaultItem);
    }

    void swatchesShowTheColoursOfTheirControls()
    {
        m_c.panel2->setColor(QColor(10, 200, 30));
        m_c.panel2->setFontColor(QColor(200, 10, 90));
        MenuSwatches::repaintAll(MainWindowLayout::swatchItems(m_c));
        auto colourAt = [](QAction* a, int x, int y) { return a->icon().pixmap(16, 16).toImage().pixelColor(x, y); };
        QCOMPARE(colourAt(m_c.bytBakgrundsfrg2, 1, 1), QColor(10, 200, 30));
        QCOMPARE(colourAt(m_c.bytBakgrundsfrg2, 14, 14), QColor(10, 200, 30));
        QCOMPARE(colourAt(m_c.bytBakgrundsfrg2, 15, 15), QColor(Qt::white));
        QCOMPARE(colourAt(m_c.bytBakgrundsfrg2, 0, 8), QColor(Qt::white));
        QCOMPARE(colourAt(m_c.bytTextFrg2, 7, 7), QColor(200, 10, 90));
        QCOMPARE(colourAt(m_c.byt1, 7, 7), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(colourAt(m_c.bytBakgrundsfrg1, 7, 7), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(colourAt(m_c.textfarg1, 7, 7), QColor(0, 0, 0));
        QCOMPARE(colourAt(m_c.bytTextFrg1, 7, 7), QColor(0, 0, 0));
        m_c.panel2->setColor(QColor(0, 0, 0x80));
        m_c.panel2->setFontColor(QColor(0xFF, 0xFF, 0));
    }

    void rightClickOpensTheMenuOfTheArea_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("menu");
        QTest::newRow("bottom field") << "Panel2"
                                      << "PopInfo";
        QTest::newRow("label in the bottom field") << "Label3"
                                                   << "PopInfo";
        QTest::newRow("check box in the bottom field") << "ChkMin"
                                                       << "PopInfo";
        QTest::newRow("thumbnail area") << "SB1Content"
                                        << "PopDel";
        QTest::newRow("card in the thumbnail area") << "card"
                                                    << "PopDel";
        QTest::newRow("skin") << "ImgBg"
                              << "PopProg";
        QTest::newRow("command bar") << "Panel1"
                                     << "PopProg";
        QTest::newRow("label in the command bar") << "Label1"
                                                  << "PopProg";
        QTest::newRow("preview") << "Img"
                                 << "PopProg";
        QTest::newRow("drag area") << "Shape1"
                                   << "PopProg";
    }

    void rightClickOpensTheMenuOfTheArea()
    {
        QFETCH(QString, target);
        QFETCH(QString, menu);
        QWidget* card = nullptr;
        if (target == "card") {
            card = new QLabel(QStringLiteral("kort"), m_c.sb1->widget());
            card->setObjectName("card");
            card->setGeometry(10, 10, 100, 100);
            card->show();
        }
        auto* widget = m_form->findChild<QWidget*>(target);
        QVERIFY(widget);
        const QPoint pos(2, 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
        QApplication::sendEvent(widget, &event);
        QMenu* opened = openMenu();
        QVERIFY(opened);
        QCOMPARE(opened->objectName(), menu);
        opened->hide();
        delete card;
    }

    // A menu is a window of its own: without the relay its items' hints never reach the tip line.
    void highlightedMenuItemShowsItsHint()
    {
        struct TipCatcher : QObject
        {
            QString tip;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::StatusTip)
                    tip = static_cast<QStatusTipEvent*>(event)->tip();
                return false;
            }
        } catcher;
        m_form->installEventFilter(&catcher);
        auto* popDel = m_form->findChild<QMenu*>(QStringLiteral("PopDel"));
        QVERIFY(popDel->toolTipsVisible());
        popDel->popup(QPoint(100, 100));
        QVERIFY(QTest::qWaitForWindowExposed(popDel));
        QAction* remove = m_form->findChild<QAction*>(QStringLiteral("abortBild1"));
        QTest::mouseMove(popDel, popDel->actionGeometry(remove).center());
        QTRY_COMPARE(catcher.tip,
                     QStringLiteral("OBS! Detta kommando tar bort MARKERAD bild! INTE den du högerklickar på!"));
        QCOMPARE(remove->toolTip(), catcher.tip);
        popDel->hide();
        m_form->removeEventFilter(&catcher);
    }
};

QTEST_MAIN(TestMainWindowLayout)
#include "tst_MainWindowLayout.moc"
