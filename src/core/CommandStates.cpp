#include "CommandStates.h"

CommandStates::States CommandStates::compute(const Inputs& in)
{
    const bool free = !in.running;
    const bool pictures = in.count > 0;
    States s;
    // Verkställ applies the marked picture, or the first when none is marked.
    s.verkstall = pictures && (in.marked != in.confirmed || in.applyAgain);
    // The rotation's pictures and settings stay as they are while it runs. A list command during a
    // load is no fault: it supersedes the load.
    s.newList = free;
    s.open = free;
    s.add = free && pictures;
    s.removeMarked = free && pictures;
    s.save = free;
    s.editMarked = free && pictures;
    s.intervalAndPlacement = free;
    // A stop is always possible; a start with an empty list waits for pictures.
    s.startStop = true;
    return s;
}

void CommandStates::update(const Inputs& in)
{
    if (in == m_in)
        return;
    const States before = states();
    m_in = in;
    if (states() != before)
        emit changed(states());
}

void CommandStates::setRunning(bool running)
{
    Inputs in = m_in;
    in.running = running;
    update(in);
}

void CommandStates::setList(int count, int marked, int confirmed)
{
    Inputs in = m_in;
    in.count = count;
    in.marked = marked;
    in.confirmed = confirmed;
    update(in);
}

void CommandStates::setApplyAgain(bool again)
{
    Inputs in = m_in;
    in.applyAgain = again;
    update(in);
}
