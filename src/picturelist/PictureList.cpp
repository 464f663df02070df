#include "PictureList.h"

#include "ListFile.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <QSignalBlocker>

PictureList::PictureList(QListWidget* lb1) : m_lb1(lb1) {}

QString PictureList::path(int k) const
{
    return ListFile::decodeEntry(entry(k));
}

void PictureList::append(const QByteArray& entry)
{
    m_model.append(entry);
    showEntry(count() - 1, Change::Added);
}

void PictureList::insert(int k, const QByteArray& entry)
{
    const int before = count();
    m_model.insert(k, entry);
    // Where the model put it: clamped into the list.
    showEntry(k < 0 ? 0 : (k > before ? before : k), Change::Added);
}

void PictureList::deleteMarked()
{
    const int marked = markedIndex();
    m_model.deleteMarked();
    if (marked >= 0)
        showEntry(marked, Change::Removed);
}

void PictureList::replace(int k, const QByteArray& entry)
{
    m_model.replace(k, entry);
    if (k >= 0 && k < count())
        showEntry(k, Change::Replaced);
}

void PictureList::clear()
{
    m_model.clear();
    showEntries();
}

void PictureList::setMarkedIndex(int k)
{
    m_model.setMarkedIndex(k);
    showMark();
}

void PictureList::readFile(const QString& fileName)
{
    // Read first: a file that cannot be read leaves the list as it was.
    m_model.assign(ListFile::read(fileName));
    showEntries();
}

void PictureList::writeFile(const QString& fileName) const
{
    ListFile::write(fileName, m_model.entries());
}

void PictureList::showEntries()
{
    if (!m_lb1)
        return;
    // What the program shows raises no click or selection signal of LB1.
    const QSignalBlocker list(m_lb1);
    const QSignalBlocker selection(m_lb1->selectionModel());
    m_lb1->setUpdatesEnabled(false);
    m_lb1->clear();
    QStringList paths;
    paths.reserve(count());
    for (int k = 0; k < count(); ++k)
        paths.append(path(k));
    m_lb1->addItems(paths);
    m_lb1->setUpdatesEnabled(true);
    m_lb1->setCurrentRow(markedIndex());
}

void PictureList::showEntry(int k, Change change)
{
    if (!m_lb1)
        return;
    const QSignalBlocker list(m_lb1);
    const QSignalBlocker selection(m_lb1->selectionModel());
    if (change == Change::Removed)
        delete m_lb1->takeItem(k);
    else if (change == Change::Added)
        m_lb1->insertItem(k, path(k));
    else if (QListWidgetItem* item = m_lb1->item(k))
        item->setText(path(k));
    m_lb1->setCurrentRow(markedIndex());
}

void PictureList::showMark()
{
    if (!m_lb1)
        return;
    const QSignalBlocker list(m_lb1);
    const QSignalBlocker selection(m_lb1->selectionModel());
    m_lb1->setCurrentRow(markedIndex());
}
