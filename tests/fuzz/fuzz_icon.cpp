#include "FuzzSupport.h"
#include "picture/IconFile.h"

// Any "MinIkon.ico": an icon is handed out only when it fits, and a file that gives none is named
// in the message.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = (startGuiApplication(), true);
    (void)started;
    const QString file = scratchFolder() + QStringLiteral("/MinIkon.ico");
    writeFile(file, bytesOf(data, size));
    const IconFile::Result icon = IconFile::read(file);
    if (icon.image.isNull()) {
        FUZZ_CHECK(icon.problem.contains(file));
    } else {
        FUZZ_CHECK(icon.problem.isEmpty());
        FUZZ_CHECK(icon.image.width() <= IconFile::MaxSide && icon.image.height() <= IconFile::MaxSide);
    }
    return 0;
}
