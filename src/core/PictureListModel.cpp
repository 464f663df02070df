#include "PictureListModel.h"

#include <algorithm>

QByteArray PictureListModel::entry(int k) const
{
    return k >= 0 && k < count() ? m_entries[k].bytes : QByteArray();
}

PictureListModel::Id PictureListModel::id(int k) const
{
    return k >= 0 && k < count() ? m_entries[k].id : 0;
}

int PictureListModel::indexOf(Id id) const
{
    if (id == 0)
        return -1;
    const auto it = std::find_if(m_entries.cbegin(), m_entries.cend(), [id](const Entry& e) { return e.id == id; });
    return it == m_entries.cend() ? -1 : int(it - m_entries.cbegin());
}

void PictureListModel::append(const QByteArray& entry)
{
    m_entries.append({entry, ++m_lastId});
}

void PictureListModel::insert(int k, const QByteArray& entry)
{
    const int at = std::clamp(k, 0, count());
    m_entries.insert(at, {entry, ++m_lastId});
    // The mark stays on its entry.
    if (m_marked >= at)
        ++m_marked;
}

void PictureListModel::deleteMarked()
{
    if (m_marked < 0)
        return;
    m_entries.removeAt(m_marked);
    m_marked = -1;
}

void PictureListModel::replace(int k, const QByteArray& entry)
{
    if (k < 0 || k >= count())
        return;
    m_entries[k].bytes = entry;
    m_marked = -1;
}

void PictureListModel::clear()
{
    m_entries.clear();
    m_marked = -1;
}

void PictureListModel::assign(const QList<QByteArray>& entries)
{
    m_entries.clear();
    m_entries.reserve(entries.size());
    for (const QByteArray& entry : entries)
        append(entry);
    m_marked = -1;
}

QList<QByteArray> PictureListModel::entries() const
{
    QList<QByteArray> out;
    out.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        out.append(e.bytes);
    return out;
}

void PictureListModel::setMarkedIndex(int k)
{
    m_marked = k >= 0 && k < count() ? k : -1;
}
