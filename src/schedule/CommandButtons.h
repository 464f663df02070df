#pragma once

#include "core/CommandStates.h"

#include <QObject>

class QAction;
class QCheckBox;
class QComboBox;
class SpeedButton;
class SpinEdit;

// The only writer of the shared commands' enabled state: shows what CommandStates works out.
class CommandButtons : public QObject
{
    Q_OBJECT

public:
    // The menu actions may be null.
    struct Controls
    {
        SpeedButton* btVerkstall;
        SpeedButton* btAdd;
        SpeedButton* btSpara;
        SpeedButton* btOpen;
        SpeedButton* btNy;
        SpeedButton* btStartStop;
        QCheckBox* chkBlanda;
        QComboBox* cmbTyp;
        SpinEdit* spinEditTimeInterval;
        QComboBox* cmbTidTyp;
        QAction* abortBild1 = nullptr;
        QAction* redigeravaldbild1 = nullptr;
    };

    // Shows the states at once and whenever they change.
    CommandButtons(Controls controls, CommandStates& states, QObject* parent = nullptr);

private:
    void show(const CommandStates::States& states);

    Controls m_controls;
};
