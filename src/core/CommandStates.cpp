#include "CommandStates.h"

CommandStates::States CommandStates::compute(const Inputs& in)
{
    const bool free = !in.running;
    const bool pictures = in.count > 0;
    States s;
    // Verkställ applies the marked picture, or the first when none is marked.
    s.verkstall = pictures && (in.marked != in.confirmed || in.applyAgain);
    // The rotation's pictures and settings stay as they are while it runs; a load or an addition
    // in progress refuses another change of the list.
    s.newList = free && !in.loading;
    s.open = free && !in.loading;
    s.add = free && !in.loading && pictures;
    s.removeMarked = free && !in.loading && pictures;
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

void CommandStates::setLoading(bool loading)
{
    Inputs in = m_in;
    in.loading = loading;
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
