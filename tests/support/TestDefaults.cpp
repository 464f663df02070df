// Linked into every test: no test can block on a real modal box or sleep through the fixed
// pauses. A test that scripts answers installs its own ScopedScriptedDialogs on top.
#include "ScriptedDialogs.h"
#include "platform/Pause.h"

namespace {

const bool installed = [] {
    Dialogs::install(std::make_unique<ScriptedDialogs>());
    Pause::setEnabled(false);
    return true;
}();

} // namespace
