#pragma once

#include "Picture.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>

// A reduced decode off the calling thread, for views that must stay responsive while the user
// moves from file to file (the picture dialog's preview). One worker; a request replaces the ones
// still waiting, so only the latest file is decoded after the one under way.
namespace AsyncDecode {

// done runs on context's thread with the picture, or with a null image when it cannot be shown;
// never after context is destroyed.
void loadReduced(const QString& path, const QSize& box, QObject* context,
                 std::function<void(const Picture::Reduced&)> done);

} // namespace AsyncDecode
