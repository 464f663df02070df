#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>

// The colour dialog's 16 custom colours and their file "Clr.frg": lines "ColorA=BBGGRR" ..
// "ColorP=..." ended by CR LF; lines with other names are kept as they are.
class CustomColours
{
public:
    static constexpr int Count = 16;
    // No file of 16 colours is near this; a larger one is not read.
    static constexpr qint64 MaxFileBytes = 64 * 1024;

    // Replaces the list with the file's lines when the file exists. Never throws: a file that
    // cannot be read leaves every slot empty, a line whose value is no colour leaves its slot
    // empty (the next save replaces it). Returns what the user should be told, naming the file,
    // or an empty string.
    QString load(const QString& fileName);
    // Writes the list, replacing the file; failure is the framework's file-creation error.
    void save(const QString& fileName) const;

    // The slots for the dialog; an invalid QColor is a slot without a colour.
    QList<QColor> colourSlots() const;
    // Sets all 16 entries from the dialog's slots (no colour is written FFFFFFFF).
    void setColourSlots(const QList<QColor>& colours);

private:
    QList<QByteArray> m_lines;
};
