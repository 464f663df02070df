#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The picture list: its entries in list order (insertion order, which is also the order of the
// thumbnails and of the rotation), the marked entry and the index last confirmed. Each entry is
// the exact bytes it came in as, so a list read and written back is byte for byte what was read.
// Every entry carries an id that stays with it while the list is edited around it, so a window
// opened for one entry still finds that entry after the list has moved under it.
class PictureListModel
{
public:
    using Id = quint64;

    int count() const { return int(m_entries.size()); }
    // Empty bytes for an index outside the list.
    QByteArray entry(int k) const;
    // 0 for an index outside the list: no entry has that id.
    Id id(int k) const;
    // The entry's index, -1 when it is no longer in the list.
    int indexOf(Id id) const;

    void append(const QByteArray& entry);
    // Clamped to 0..count: an index past the end appends.
    void insert(int k, const QByteArray& entry);
    // Removes the marked entry, after which none is marked; nothing when none is marked.
    void deleteMarked();
    // Entry k takes new bytes and keeps its id; afterwards none is marked.
    void replace(int k, const QByteArray& entry);
    void clear();
    // The whole list replaced by these entries, none marked.
    void assign(const QList<QByteArray>& entries);
    QList<QByteArray> entries() const;

    // -1 when none is marked.
    int markedIndex() const { return m_marked; }
    // An index outside 0..count-1 marks none.
    void setMarkedIndex(int k);

    // CurrentIndex: what LB1Click confirmed last (it may be -1); 0 at start.
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int k) { m_current = k; }

    // The list file the user works with (the list-open dialog's file name).
    QString listFileName() const { return m_listFileName; }
    void setListFileName(const QString& fileName) { m_listFileName = fileName; }

private:
    struct Entry
    {
        QByteArray bytes;
        Id id;
    };

    QList<Entry> m_entries;
    Id m_lastId = 0;
    int m_marked = -1;
    int m_current = 0;
    QString m_listFileName;
};
