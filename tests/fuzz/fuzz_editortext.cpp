#include "FuzzSupport.h"
#include "picturelist/ListEditorText.h"

#include <QTextDocument>

// A list file shown in the editor's text document and saved untouched gives back its bytes:
// cut at the first NUL, every line end (CR LF, CR, LF) written as CR LF.
namespace {

QByteArray expectedBytes(const QByteArray& bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue; // the LF writes the break
        if (bytes[i] == '\r' || bytes[i] == '\n')
            out += "\r\n";
        else
            out += bytes[i];
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    QTextDocument document;
    document.setPlainText(ListEditorText::fromFile(bytes));
    const QByteArray saved = ListEditorText::toFile(ListEditorText::fromDocument(document));
    const QByteArray expected = expectedBytes(bytes);
    FUZZ_CHECK(saved == expected, "saved   %s\nexpected %s\n", saved.toHex(' ').constData(),
               expected.toHex(' ').constData());
    return 0;
}
