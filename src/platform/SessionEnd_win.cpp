#include "SessionEnd.h"

// A Windows session ends through the window system (a commit-data request), not by signals.
SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {}

SessionEnd::~SessionEnd() = default;
