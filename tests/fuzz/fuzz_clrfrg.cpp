#include "FuzzSupport.h"
#include "platform/AppError.h"
#include "platform/CustomColours.h"

namespace {

// The file's lines with their own breaks, and what follows a NUL as one last piece.
QList<QByteArray> piecesOf(const QByteArray& bytes)
{
    QList<QByteArray> pieces;
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype end = nul >= 0 ? nul : bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        if (bytes[i] == '\r' && i + 1 < end && bytes[i + 1] == '\n')
            ++i;
        pieces << bytes.mid(start, i + 1 - start);
        start = i + 1;
    }
    if (start < end)
        pieces << bytes.mid(start, end - start);
    if (nul >= 0)
        pieces << bytes.mid(nul);
    return pieces;
}

bool ownedBy(const QByteArray& piece, QList<bool>& slotSeen)
{
    const qsizetype eq = piece.indexOf('=');
    const QByteArray name = piece.left(eq).toUpper();
    if (eq < 0 || name.size() != 6 || !name.startsWith("COLOR") || name[5] < 'A' || name[5] > 'P' ||
        piece.contains('\0'))
        return false;
    bool& seen = slotSeen[name[5] - 'A'];
    return !std::exchange(seen, true); // the first line of a slot's name is the program's
}

} // namespace

// Any "Clr.frg" loads without throwing; a message names the file. After a confirmed choice the
// saved file holds every line the program does not own byte for byte, in order, and loads again
// with the chosen colours.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = scratchFolder() + QStringLiteral("/Clr.frg");
    const QByteArray original = bytesOf(data, size);
    writeFile(file, original);
    CustomColours colours;
    const QString problem = colours.load(file);
    FUZZ_CHECK(problem.isEmpty() || problem.contains(file));
    QList<QColor> chosen = colours.colourSlots();
    FUZZ_CHECK(chosen.size() == CustomColours::Count);
    chosen[int(size % CustomColours::Count)] = QColor(0x12, 0x34, 0x56);

    colours.setColourSlots(chosen);
    try {
        FUZZ_CHECK(colours.save(file));
    } catch (const AppError&) {
        std::abort();
    }
    const QByteArray saved = readFile(file);
    QList<bool> seenBefore(CustomColours::Count), seenAfter(CustomColours::Count);
    QList<QByteArray> kept, after;
    for (const QByteArray& piece : piecesOf(original))
        if (!ownedBy(piece, seenBefore))
            kept << piece;
    for (const QByteArray& piece : piecesOf(saved))
        if (!ownedBy(piece, seenAfter))
            after << piece;
    // Equal, except that a last line without a break gets one when entries follow it.
    bool same = kept.size() == after.size();
    for (qsizetype i = 0; same && i < kept.size(); ++i) {
        const bool unbroken = !kept[i].endsWith('\n') && !kept[i].endsWith('\r');
        same = kept[i] == after[i] || (unbroken && after[i] == kept[i] + "\r\n");
    }
    FUZZ_CHECK(same, "%d lines kept of %d\n", int(after.size()), int(kept.size()));

    CustomColours again;
    FUZZ_CHECK(again.load(file).isEmpty());
    FUZZ_CHECK(again.colourSlots() == chosen);
    return 0;
}
