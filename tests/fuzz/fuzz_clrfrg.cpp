#include "FuzzSupport.h"
#include "platform/AppError.h"
#include "platform/CustomColours.h"

// Any "Clr.frg" loads without throwing; a message names the file; the chosen saved and loaded
// again are the same chosen, and the saved file is clean.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = scratchFolder() + QStringLiteral("/Clr.frg");
    writeFile(file, bytesOf(data, size));
    CustomColours colours;
    const QString problem = colours.load(file);
    FUZZ_CHECK(problem.isEmpty() || problem.contains(file));
    const QList<QColor> chosen = colours.colourSlots();
    FUZZ_CHECK(chosen.size() == CustomColours::Count);

    colours.setColourSlots(chosen);
    try {
        colours.save(file);
    } catch (const AppError&) {
        std::abort();
    }
    CustomColours again;
    FUZZ_CHECK(again.load(file).isEmpty());
    FUZZ_CHECK(again.colourSlots() == chosen);
    return 0;
}
