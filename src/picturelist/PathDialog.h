#pragma once

#include "core/PictureListModel.h"

#include <QByteArray>
#include <QDialog>
#include <QPointer>

class ListOperations;
class PictureList;
class QLabel;
class QLineEdit;
class QPushButton;

// Form2: replaces the path of the marked picture by one typed or picked in a file dialog.
// Not modal; created once with the main window as its parent and only shown and hidden.
class PathDialog : public QDialog
{
    Q_OBJECT

public:
    // The dialog that Redigeravaldbild1Click opens; OK rebuilds the strip through the operations'
    // LoadPictureList.
    PathDialog(QWidget* mainWindow, PictureList& list, ListOperations& operations);

    // Puts the path of entry index into Edit1 and shows the dialog without waiting (or brings it
    // to the front). OK then acts on that entry wherever it has moved, whatever is marked by then.
    void showEntry(int index);

    void BtOkClick();
    void BtNoClick();
    void Button1Click();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();

    QPointer<QWidget> m_mainWindow;
    PictureList& m_list;
    ListOperations& m_operations;
    QLabel* m_label1;
    QLineEdit* m_edit1;
    QPushButton* m_button1;
    QPushButton* m_btOk;
    QPushButton* m_btNo;
    // The entry the dialog is open for, its bytes and its text: an untouched path goes back into
    // the list as the very bytes it came from, even where they do not decode cleanly.
    PictureListModel::Id m_entryId = 0;
    QByteArray m_shownEntry;
    QString m_shownText;
    bool m_placed = false;
};
