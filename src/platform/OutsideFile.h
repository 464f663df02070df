#pragma once

#include "AppError.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Reading a file that comes from outside the program (a list, "Clr.frg", the icon, a cached
// thumbnail): only a regular file of a bounded size is read, so a pipe, a device or a huge file
// can neither block the reader nor fill the memory. The checks are made on the opened file itself.
namespace OutsideFile {

enum class Problem
{
    None,
    Missing,    // no such file (or a link to nothing)
    CannotOpen, // it is there but cannot be opened or read (reason holds why)
    NotRegular, // a folder, a pipe, a device, a socket, or a link where links are refused
    TooLarge,
    NotOwned // owned by another user where only the user's own files count
};

struct Options
{
    qint64 maxBytes = 0;
    bool followLinks = true;
    bool ownedByUser = false;
    // Called with the file's size once it is known to be read, before its memory is allocated.
    std::function<void(qint64)> beforeRead;
    // Above 0: only the first headBytes are read into bytes and the last tailBytes into tail, so a
    // reader that needs a file's ends does not copy all of it.
    qint64 headBytes = 0;
    qint64 tailBytes = 0;
};

struct Result
{
    QByteArray bytes;
    Problem problem = Problem::None;
    QString reason;  // the system's words for Missing and CannotOpen
    QByteArray tail; // with Options::headBytes only

    bool ok() const { return problem == Problem::None; }
};

Result read(const QString& path, const Options& options);

// The user's message for a failed read of path: the framework's "Cannot open file" text, with the
// system's reason or Swedish words for what the program refuses.
AppError error(const QString& path, const Result& result, qint64 maxBytes);

// "64 kB", "32 MB": a limit as the user reads it.
QString sizeText(qint64 bytes);

} // namespace OutsideFile
