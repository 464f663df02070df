#pragma once

#include "core/PictureListModel.h"

#include <QByteArray>
#include <QString>

class QListWidget;

// The picture list as the widgets use it: the model of the list with its entries decoded into paths,
// and the list file read and written. The invisible list box LB1, when given, only shows the
// entries (its items' texts) and the mark (its current row); nothing reads it. None of the
// operations touches the thumbnails: callers rebuild them.
class PictureList
{
public:
    explicit PictureList(QListWidget* lb1 = nullptr);

    const PictureListModel& model() const { return m_model; }

    int count() const { return m_model.count(); }
    QByteArray entry(int k) const { return m_model.entry(k); }
    // The entry decoded by ListFile::decodeEntry, for opening and showing.
    QString path(int k) const;
    PictureListModel::Id id(int k) const { return m_model.id(k); }
    int indexOf(PictureListModel::Id id) const { return m_model.indexOf(id); }
    void append(const QByteArray& entry);
    void insert(int k, const QByteArray& entry);
    // Removes the marked entry, after which none is marked; nothing when none is marked.
    void deleteMarked();
    // Entry k takes new bytes and keeps its id; afterwards none is marked.
    void replace(int k, const QByteArray& entry);
    void clear();

    // -1 when none is marked.
    int markedIndex() const { return m_model.markedIndex(); }
    // An index outside 0..count-1 marks none; raises no click.
    void setMarkedIndex(int k);

    // The index last confirmed by LB1Click.
    int currentIndex() const { return m_model.currentIndex(); }
    void setCurrentIndex(int k) { m_model.setCurrentIndex(k); }

    // The list-open dialog's file name: the list file the user works with.
    QString listFileName() const { return m_model.listFileName(); }
    void setListFileName(const QString& fileName) { m_model.setListFileName(fileName); }

    // Replaces the whole list by the file's entries; on an error the list stays as it was.
    void readFile(const QString& fileName);
    void writeFile(const QString& fileName) const;

private:
    enum class Change
    {
        Added,
        Removed,
        Replaced
    };
    // LB1 shows the model again after a change (of the one entry k).
    void showEntries();
    void showEntry(int k, Change change);
    void showMark();

    PictureListModel m_model;
    QListWidget* m_lb1;
};
