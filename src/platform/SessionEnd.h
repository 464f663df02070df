#pragma once

#include <QObject>

// Tells when the program is asked from outside to end: on Linux a SIGTERM, SIGHUP or SIGINT (a
// logout, `kill`, a closed terminal). Windows ends a session through the window system instead,
// which Qt reports as a commit-data request. While one exists, those signals no longer end the
// process at once.
class SessionEnd : public QObject
{
    Q_OBJECT

public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

signals:
    void requested();
};
