#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Small helpers that several tests share.

// Root ignores permission bits, so write protection is the immutable flag there.
bool setWriteProtected(const QString& path, bool on);

// The text of a GVariant string literal as "gsettings get" prints it (or as handed to gsettings).
QString fromGVariant(QString literal);

QByteArray fileBytes(const QString& path);

// The AppError text f raises, or an empty string when it raises none.
QString errorOf(const std::function<void()>& f);
