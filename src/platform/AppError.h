#pragma once

#include <QString>
#include <exception>
#include <string>

// The one exception type of the program: it carries the exact text the user is shown.
// Handlers let it propagate; the guard of every slot (Guard.h) reports it.
class AppError : public std::exception
{
public:
    explicit AppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toStdString()) {}

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

    // "Cannot open file "<path>". <reason>" — the framework's file error text.
    static AppError fileOpen(const QString& path, const QString& reason);
    // "Cannot create file "<path>". <reason>"
    static AppError fileCreate(const QString& path, const QString& reason);

private:
    QString m_message;
    std::string m_utf8;
};
