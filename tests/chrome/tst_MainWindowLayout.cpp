#include "MainLayout.h"
#include "chrome/MenuSwatches.h"
#include "platform/SettingsStore.h"
#include "resources/Resources.h"
#include "toolkit/SkinRegion.h"

#include <QContextMenuEvent>
#include <QStatusTipEvent>
#include <QTest>

class TestMainWindowLayout : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainLayout> m_layout;
    QWidget* form() const { return &m_layout->form; }
    const MainWindowWidgets& c() const { return m_layout->controls; }

    QMenu* openMenu() const
    {
        for (QMenu* menu : {c().popProg, c().popInfo, c().popDel, c().popTray}) {
            if (menu->isVisible())
                return menu;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        m_layout = std::make_unique<MainLayout>();
        form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(form()));
    }

    void cleanupTestCase() { m_layout.reset(); }

    // A control placed off its panel is cut off or hidden; the command bar reads top to bottom.
    void controlsLieWithinTheirPanels()
    {
        QCOMPARE(form()->size(), QSize(988, 608));
        for (QWidget* w : form()->findChildren<QWidget*>()) {
            if (w->isWindow() || w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")) ||
                w->parentWidget()->inherits("QComboBox") || w->parentWidget()->inherits("SpinEdit"))
                continue;
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(w->objectName()));
        }
        QList<SpeedButton*> bar = c().panel1->findChildren<SpeedButton*>();
        std::sort(bar.begin(), bar.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
        QStringList captions;
        for (qsizetype i = 0; i < bar.size(); ++i) {
            captions << bar[i]->text();
            QVERIFY(i == 0 || bar[i - 1]->geometry().bottom() < bar[i]->y());
        }
        QCOMPARE(captions, QStringList({"&Ny Bildlista...", "&Lägg till Bilder...", "&Spara Bildlista...",
                                        "&Öppna Bildlista...", "&Starta", "&Verkställ", "&Minimera", "&Avsluta"}));
    }

    // The choices of the two lists; what the window shows before the stored values are applied
    // agrees with the store's defaults.
    void startsAsTheDefaults()
    {
        QCOMPARE(c().spinEditTimeInterval->value(), SettingsStore::defaultInteger(Setting::Mellan));
        QCOMPARE(c().cmbTidTyp->currentIndex(), SettingsStore::defaultInteger(Setting::Typ));
        QCOMPARE(c().cmbTyp->currentIndex(), SettingsStore::defaultInteger(Setting::Screenstyle));
        QStringList items;
        for (QComboBox* combo : {c().cmbTidTyp, c().cmbTyp})
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
        QCOMPARE(items, QStringList({"Minut", "Minuter", "Timme", "Timmar", "Dag", "Dagar", "Centrerad",
                                     "Sida vid Sida", "Anpassad"}));
        QCOMPARE(c().btStartStop->text(), SettingsStore::entry(Setting::Startknapp).defaultValue.toString());
        QCOMPARE(c().lbTimeLeft->text() + ' ' + c().lbMinut->text(), QStringLiteral("30 Minuter"));
        QCOMPARE(c().lbMinut->text(), c().cmbTidTyp->currentText());
        QCOMPARE(form()->palette().color(QPalette::Window), SettingsStore::defaultColour(Setting::BgFarge));
        QCOMPARE(c().panel2->color(), SettingsStore::defaultColour(Setting::BgFargeBotten));
        // Labels of the bottom field draw in its text colour, not the window's.
        QCOMPARE(c().label3->palette().color(QPalette::WindowText),
                 SettingsStore::defaultColour(Setting::TextFargeBotten));
        QCOMPARE(form()->windowTitle(), QStringLiteral("Tavelvaxlaren"));
        QCOMPARE(c().panel6->color(), QColor(Qt::white)); // the preview's mat
        // The designed ticks: start-up's box handlers run where the stored value differs from them.
        QStringList ticked;
        for (QCheckBox* box : form()->findChildren<QCheckBox*>())
            if (box->isChecked())
                ticked << box->objectName();
        ticked.sort();
        QCOMPARE(ticked, QStringList({"ChkMin", "ChkSysStart", "ChkTray"}));
        QVERIFY(c().lb1->isHidden());
        QVERIFY(c().progBar->isHidden());
        QVERIFY(c().lbPath->font().underline());
        QCOMPARE(c().lbPath->cursor().shape(), Qt::PointingHandCursor);
        // The right-justified counters keep their right edge as the text grows.
        const int right = c().lbTimeLeft->geometry().right();
        c().lbTimeLeft->setText(QStringLiteral("12345"));
        QTRY_COMPARE(c().lbTimeLeft->width(), c().lbTimeLeft->sizeHint().width());
        QCOMPARE(c().lbTimeLeft->geometry().right(), right);
        c().lbTimeLeft->setText(QStringLiteral("30"));
    }

    // Every command and option explains itself; every button's glyph loads at the size drawn.
    void buttonsHaveGlyphsAndHints()
    {
        QStringList glyphs;
        for (QWidget* w : form()->findChildren<QWidget*>()) {
            if (!qobject_cast<SpeedButton*>(w) && !qobject_cast<QCheckBox*>(w) && !qobject_cast<QComboBox*>(w) &&
                !qobject_cast<SpinEdit*>(w))
                continue;
            QVERIFY2(!w->toolTip().isEmpty() && w->statusTip() == w->toolTip(), qPrintable(w->objectName()));
            if (auto* button = qobject_cast<SpeedButton*>(w)) {
                QCOMPARE(button->glyph().toImage(), Resources::bitmap(button->glyphResource()).toImage());
                const QSize glyph = button->glyph().size();
                QVERIFY(glyph.width() == glyph.height() * button->numGlyphs() && glyph.height() < button->height());
                QCOMPARE(button->focusPolicy(), Qt::NoFocus);
                glyphs << button->glyphResource();
            }
        }
        QCOMPARE(glyphs.removeDuplicates(), 0);
        QCOMPARE(c().btVerkstall->numGlyphs(), 2);
    }

    void skinAndCaptionImages()
    {
        QCOMPARE(form()->mask(), BuildSkinRegion(Resources::image(QStringLiteral("Skal"))));
        QCOMPARE(c().imgBg->pixmap().size(), form()->size());
        const auto z = [this](QWidget* w) { return form()->children().indexOf(w); };
        for (auto [image, hotSpot] :
             {std::pair{c().imgClose, c().lbClose}, std::pair{c().imgMin, c().lbMin}, std::pair{c().imgOm, c().lbOm}}) {
            QCOMPARE(image->bitmap().size(), image->size());
            QCOMPARE(hotSpot->geometry(), image->geometry());
            QVERIFY2(z(hotSpot) > z(image) && z(image) > z(c().imgBg), qPrintable(image->objectName()));
        }
        for (BevelPanel* panel : {c().panel1, c().panel2, c().panel3, c().panel4})
            QVERIFY(z(panel) > z(c().imgBg) && panel->bevelOuter() == BevelPanel::Bevel::Lowered);
        // The minimise image is opaque: it is drawn to blend into the tray of the skin.
        QVERIFY(c().imgClose->isTransparent() && c().imgOm->isTransparent() && !c().imgMin->isTransparent());
    }

    void tabOrder()
    {
        QWidget* w = c().cmbTidTyp;
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
        QCOMPARE(c().pnlBg->focusPolicy(), Qt::NoFocus);
    }

    // Nothing runs before the program starts it but the clock; all tick once a second.
    void onlyTheClockRuns()
    {
        const QList<QTimer*> timers = form()->findChildren<QTimer*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(timers.size(), 5);
        for (QTimer* timer : timers) {
            QCOMPARE(timer->isActive(), timer == c().timerTid);
            QCOMPARE(timer->interval(), 1000);
        }
    }

    // The menus' texts; each item has a bitmap of its own. Two items with one shortcut where
    // both act would make the key do nothing.
    void menus()
    {
        const QStringList colours{"Byt &Bakgrundsfärg", "Byt &TextFärg", "Standard Ba&kgrundsfärg",
                                  "Standard T&extfärg"};
        QStringList bottom;
        for (const QString& caption : colours)
            bottom << caption + " i Bottenfältet";
        const QList<QStringList> captions{colours +
                                              QStringList{"", "&Starta", "", "&Minimera", "&Återställ", "", "&Avsluta"},
                                          colours,
                                          bottom,
                                          {"&Ta Bort Markerad Bild", "&Redigera Markerad bild..."}};
        const QList<QMenu*> menus{c().popTray, c().popProg, c().popInfo, c().popDel};
        for (qsizetype m = 0; m < menus.size(); ++m) {
            QStringList shown;
            QList<QImage> icons;
            for (QAction* action : menus[m]->actions()) {
                shown << action->text();
                const QImage icon = action->icon().pixmap(16, 16).toImage();
                QVERIFY2(action->isSeparator() || !icons.contains(icon), qPrintable(action->objectName()));
                icons << icon;
            }
            QCOMPARE(shown, captions[m]);
        }

        QList<QKeySequence> shortcuts;
        for (QAction* action : form()->actions() + c().panel2->actions()) {
            QVERIFY2(!action->shortcut().isEmpty() && !shortcuts.contains(action->shortcut()),
                     qPrintable(action->objectName()));
            shortcuts << action->shortcut();
        }
        const MenuSwatches::Items swatches = MainWindowLayout::swatchItems(c());
        const QList<QAction*> swatchItems{swatches.byt1,        swatches.bytBakgrundsfrg1, swatches.textfarg1,
                                          swatches.bytTextFrg1, swatches.bytBakgrundsfrg2, swatches.bytTextFrg2};
        for (QMenu* menu : form()->findChildren<QMenu*>()) {
            for (QAction* action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
                const QSize size = action->icon().availableSizes().value(0);
                const QImage icon = action->icon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
                if (!swatchItems.contains(action)) // the bitmap's bottom-left colour is left out
                    QVERIFY2(qAlpha(icon.pixel(0, size.height() - 1)) == 0 && icon.size() == size,
                             qPrintable(action->objectName()));
            }
        }
        QCOMPARE(c().popTray->defaultAction(), c().minimera1);
        QVERIFY(!c().restoreForm1->isEnabled());
    }

    void swatchesShowTheColoursOfTheirControls()
    {
        c().panel2->setColor(QColor(10, 200, 30));
        c().panel2->setFontColor(QColor(200, 10, 90));
        MenuSwatches::repaintAll(MainWindowLayout::swatchItems(c()));
        auto colourAt = [](QAction* a, int x, int y) { return a->icon().pixmap(16, 16).toImage().pixelColor(x, y); };
        QCOMPARE(colourAt(c().bytBakgrundsfrg2, 1, 1), QColor(10, 200, 30));
        QCOMPARE(colourAt(c().bytBakgrundsfrg2, 14, 14), QColor(10, 200, 30));
        QCOMPARE(colourAt(c().bytBakgrundsfrg2, 15, 15), QColor(Qt::white));
        QCOMPARE(colourAt(c().bytBakgrundsfrg2, 0, 8), QColor(Qt::white));
        QCOMPARE(colourAt(c().bytTextFrg2, 7, 7), QColor(200, 10, 90));
        for (QAction* window : {c().byt1, c().bytBakgrundsfrg1})
            QCOMPARE(colourAt(window, 7, 7), SettingsStore::defaultColour(Setting::BgFarge));
        for (QAction* text : {c().textfarg1, c().bytTextFrg1})
            QCOMPARE(colourAt(text, 7, 7), SettingsStore::defaultColour(Setting::TextFarge));
        c().panel2->setColor(SettingsStore::defaultColour(Setting::BgFargeBotten));
        c().panel2->setFontColor(SettingsStore::defaultColour(Setting::TextFargeBotten));
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
        std::unique_ptr<QLabel> card;
        if (target == "card") {
            card = std::make_unique<QLabel>(QStringLiteral("kort"), c().sb1->widget());
            card->setObjectName("card");
            card->setGeometry(10, 10, 100, 100);
            card->show();
        }
        auto* widget = m_layout->find(qPrintable(target));
        const QPoint pos(2, 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
        QApplication::sendEvent(widget, &event);
        QMenu* opened = openMenu();
        QVERIFY(opened);
        QCOMPARE(opened->objectName(), menu);
        opened->hide();
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
        form()->installEventFilter(&catcher);
        QMenu* popDel = c().popDel;
        QVERIFY(popDel->toolTipsVisible());
        popDel->popup(QPoint(100, 100));
        QVERIFY(QTest::qWaitForWindowExposed(popDel));
        QTest::mouseMove(popDel, popDel->actionGeometry(c().abortBild1).center());
        QTRY_COMPARE(catcher.tip,
                     QStringLiteral("OBS! Detta kommando tar bort MARKERAD bild! INTE den du högerklickar på!"));
        QCOMPARE(c().abortBild1->toolTip(), catcher.tip);
        popDel->hide();
        form()->removeEventFilter(&catcher);
    }
};

QTEST_MAIN(TestMainWindowLayout)
#include "tst_MainWindowLayout.moc"
