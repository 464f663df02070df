#include "CommandButtons.h"

#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>

CommandButtons::CommandButtons(Controls controls, CommandStates& states, QObject* parent)
    : QObject(parent), m_controls(controls)
{
    connect(&states, &CommandStates::changed, this, &CommandButtons::show);
    show(states.states());
}

void CommandButtons::show(const CommandStates::States& s)
{
    const Controls& c = m_controls;
    c.btVerkstall->setEnabled(s.verkstall);
    c.btAdd->setEnabled(s.add);
    c.btSpara->setEnabled(s.save);
    c.btOpen->setEnabled(s.open);
    c.btNy->setEnabled(s.newList);
    c.btStartStop->setEnabled(s.startStop);
    for (QWidget* w : std::initializer_list<QWidget*>{c.chkBlanda, c.cmbTyp, c.spinEditTimeInterval, c.cmbTidTyp})
        w->setEnabled(s.intervalAndPlacement);
    if (c.abortBild1)
        c.abortBild1->setEnabled(s.removeMarked);
    if (c.redigeravaldbild1)
        c.redigeravaldbild1->setEnabled(s.editMarked);
}
