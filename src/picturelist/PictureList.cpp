#include "PictureList.h"

#include "ListFile.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QSignalBlocker>

namespace {

QListWidgetItem* makeItem(const QByteArray& entry)
{
    auto* item = new QListWidgetItem(ListFile::decodeEntry(entry));
    item->setData(Qt::UserRole, entry);
    return item;
}

// Changes made by the program raise no click or selection signal of LB1.
struct SilentList
{
    explicit SilentList(QListWidget* lb1) : list(lb1), selection(lb1->selectionModel()) {}
    QSignalBlocker list;
    QSignalBlocker selection;
};

} // namespace

PictureList::PictureList(QListWidget* lb1) : m_lb1(lb1) {}

int PictureList::count() const
{
    return m_lb1->count();
}

QByteArray PictureList::entry(int k) const
{
    const QListWidgetItem* item = m_lb1->item(k);
    return item ? item->data(Qt::UserRole).toByteArray() : QByteArray();
}

QString PictureList::path(int k) const
{
    return ListFile::decodeEntry(entry(k));
}

void PictureList::append(const QByteArray& entry)
{
    SilentList silent(m_lb1);
    m_lb1->addItem(makeItem(entry));
}

void PictureList::insert(int k, const QByteArray& entry)
{
    SilentList silent(m_lb1);
    m_lb1->insertItem(qBound(0, k, count()), makeItem(entry));
}

void PictureList::deleteMarked()
{
    const int marked = markedIndex();
    if (marked < 0)
        return;
    SilentList silent(m_lb1);
    delete m_lb1->takeItem(marked);
    m_lb1->setCurrentRow(-1);
}

void PictureList::clear()
{
    SilentList silent(m_lb1);
    m_lb1->clear();
}

int PictureList::markedIndex() const
{
    return m_lb1->currentRow();
}

void PictureList::setMarkedIndex(int k)
{
    SilentList silent(m_lb1);
    m_lb1->setCurrentRow(k >= 0 && k < count() ? k : -1);
}

int PictureList::currentIndex() const
{
    return m_currentIndex;
}

void PictureList::setCurrentIndex(int k)
{
    m_currentIndex = k;
}

QString PictureList::listFileName() const
{
    return m_listFileName;
}

void PictureList::setListFileName(const QString& fileName)
{
    m_listFileName = fileName;
}

void PictureList::readFile(const QString& fileName)
{
    // Read first: a file that cannot be read leaves the list as it was.
    const QList<QByteArray> entries = ListFile::read(fileName);
    SilentList silent(m_lb1);
    m_lb1->setUpdatesEnabled(false);
    m_lb1->clear();
    for (const QByteArray& entry : entries)
        m_lb1->addItem(makeItem(entry));
    m_lb1->setUpdatesEnabled(true);
}

void PictureList::writeFile(const QString& fileName) const
{
    QList<QByteArray> entries;
    entries.reserve(count());
    for (int k = 0; k < count(); ++k)
        entries.append(entry(k));
    ListFile::write(fileName, entries);
}
