#include "PathDialog.h"

#include "picture/PathText.h"
#include "picturelist/ListFile.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "resources/Resources.h"
#include "toolkit/GlyphIcon.h"
#include "toolkit/Hint.h"
#include "toolkit/ScreenFit.h"
#include "toolkit/UiFont.h"

#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PathDialog::PathDialog(QWidget* mainWindow, PictureList& list, ListOperations& operations)
    : QDialog(mainWindow), m_mainWindow(mainWindow), m_list(list), m_operations(operations)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Redigera Sökväg"));
    setFont(uiFont(QStringLiteral("Tahoma"), 16));
    setFixedSize(471, 98);
    setModal(false);

    m_label1 = new QLabel(QStringLiteral("Vald bilds sökväg och namn:"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->move(8, 8);
    m_label1->adjustSize();

    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setGeometry(8, 33, 417, 27);

    m_button1 = new QPushButton(QStringLiteral("..."), this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setGeometry(432, 32, 32, 25);
    setHint(m_button1, QStringLiteral("Leta upp bilden du vill hänvisa till."));

    m_btOk = new QPushButton(QStringLiteral("&Ok"), this);
    m_btOk->setObjectName(QStringLiteral("BtOk"));
    m_btOk->setGeometry(156, 66, 75, 25);
    setHint(m_btOk, QStringLiteral("Verkställ ändring och stäng"));

    m_btNo = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btNo->setObjectName(QStringLiteral("BtNo"));
    m_btNo->setGeometry(237, 66, 75, 25);
    setHint(m_btNo, QStringLiteral("Avbryt ändring."));

    // Enter in the edit field must not close the dialog behind the user's back.
    for (QPushButton* button : {m_button1, m_btOk, m_btNo}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    connectGuarded(m_button1, &QPushButton::clicked, this, &PathDialog::Button1Click);
    connectGuarded(m_btOk, &QPushButton::clicked, this, &PathDialog::BtOkClick);
    connectGuarded(m_btNo, &QPushButton::clicked, this, &PathDialog::BtNoClick);

    runGuarded([this] { FormCreate(); });
}

void PathDialog::FormCreate()
{
    m_btOk->setIcon(glyphIcon(QStringLiteral("Do"), 2));
    m_btNo->setIcon(glyphIcon(QStringLiteral("No"), 1));
}

void PathDialog::showEntry(int index)
{
    m_entryId = m_list.id(index);
    m_shownEntry = m_list.entry(index);
    m_shownText = m_list.path(index);
    m_edit1->setText(m_shownText);
    show();
    raise();
    activateWindow();
}

void PathDialog::setVisible(bool visible)
{
    // Centred over the main window the first time; afterwards where the user left it.
    if (visible && !m_placed && !isVisible() && m_mainWindow) {
        const QRect main = m_mainWindow->frameGeometry();
        move(main.left() + (main.width() - width()) / 2, main.top() + (main.height() - height()) / 2);
        ScreenFit::keepOnScreen(this);
        m_placed = true;
    }
    QDialog::setVisible(visible);
}

void PathDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    runGuarded([this] { FormShow(); });
}

void PathDialog::FormShow()
{
    if (!m_mainWindow)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, m_mainWindow->palette().color(QPalette::Window));
    setPalette(pal);
}

void PathDialog::BtOkClick()
{
    const QString text = m_edit1->text();
    if (!ListFile::canHold(text)) {
        Dialogs::instance().showMessage(ListFile::refusedNamesText({text}));
        return;
    }
    const QByteArray entry = text == m_shownText ? m_shownEntry : ListFile::encodeEntry(text);
    // The entry the dialog was opened for, even when a rotation step has moved the mark since; one
    // that has left the list (another list was opened) gets its text appended as a new entry.
    const int at = m_list.indexOf(m_entryId);
    if (at >= 0) {
        m_list.replace(at, entry);
    } else {
        m_list.append(entry);
        m_entryId = m_list.id(m_list.count() - 1);
        m_list.setMarkedIndex(-1);
    }
    m_shownEntry = entry;
    m_shownText = text;
    m_operations.LoadPictureList();
}

void PathDialog::BtNoClick()
{
    hide();
}

void PathDialog::Button1Click()
{
    Dialogs::FileRequest request;
    request.initialDir = PathText::folder(m_edit1->text());
    const QStringList chosen = Dialogs::instance().openFiles(request);
    // The dialog stays open with the chosen path, so that OK can apply it.
    if (!chosen.isEmpty())
        m_edit1->setText(chosen.first());
}
