#pragma once

#include <QByteArray>
#include <QString>

class QListWidget;

// The picture list held by the invisible list box LB1: its items are the entries, in list order,
// and its current row is the marked picture. Nothing else reads or changes LB1. Each item keeps the exact bytes of its
// entry (Qt::UserRole); the item's text is the path decoded for showing. None of the operations touches the thumbnails:
// callers rebuild them.
class PictureList
{
public:
    explicit PictureList(QListWidget* lb1);

    int count() const;
    QByteArray entry(int k) const;
    // The entry decoded by ListFile::decodeEntry, for opening and showing.
    QString path(int k) const;
    void append(const QByteArray& entry);
    void insert(int k, const QByteArray& entry);
    // Removes the marked entry, after which none is marked; nothing when none is marked.
    void deleteMarked();
    void clear();

    // -1 when none is marked.
    int markedIndex() const;
    // An index outside 0..count-1 marks none; raises no click.
    void setMarkedIndex(int k);

    // The index last confirmed by LB1Click.
    int currentIndex() const;
    void setCurrentIndex(int k);

    // The list-open dialog's file name: the list file the user works with.
    QString listFileName() const;
    void setListFileName(const QString& fileName);

    // Replaces the whole list by the file's entries; on an error the list stays as it was.
    void readFile(const QString& fileName);
    void writeFile(const QString& fileName) const;

private:
    QListWidget* m_lb1;
    int m_currentIndex = 0;
    QString m_listFileName;
};
