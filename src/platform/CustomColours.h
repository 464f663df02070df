#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>

// The colour dialog's 16 custom colours and their file "Clr.frg": lines "ColorA=BBGGRR" ..
// "ColorP=..." ended by CR LF. The file is the user's: every byte the program does not own (other
// lines, their line ends, whatever follows a NUL) is written back exactly as it was read.
class CustomColours
{
public:
    static constexpr int Count = 16;
    // Far beyond 16 colours and any notes a user keeps beside them; a larger file is not read.
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    // Replaces the list with the file's lines when the file exists. Never throws: a file that
    // cannot be read leaves every slot empty and is then never written (save() does nothing), a
    // line whose value is no colour leaves its slot empty (a confirmed choice replaces it).
    // Returns what the user should be told, naming the file, or an empty string.
    QString load(const QString& fileName);
    // Writes the list, replacing the file; failure is the framework's file-creation error.
    // Returns false, writing nothing, when the last load could not read the file.
    bool save(const QString& fileName) const;

    // The slots for the dialog; an invalid QColor is a slot without a colour.
    QList<QColor> colourSlots() const;
    // Sets all 16 entries from the dialog's slots (no colour is written FFFFFFFF).
    void setColourSlots(const QList<QColor>& colours);

private:
    struct Line
    {
        QByteArray text;
        QByteArray end; // the line's own break: CR LF, CR, LF, or none for a last line
    };
    int findSlotLine(int slot) const;
    QByteArray slotValue(int slot) const;

    QList<Line> m_lines;
    QByteArray m_tail; // from the first NUL on: no lines are read there, but the bytes are the user's
    bool m_unreadable = false;
};
