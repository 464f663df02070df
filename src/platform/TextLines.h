#pragma once

#include <QByteArray>
#include <QList>

namespace TextLines {

// Lines end at CR, LF or CR LF (LF CR is two breaks); a NUL ends the text. No empty last line
// is added for a final break.
QList<QByteArray> split(const QByteArray& bytes);

} // namespace TextLines
