#pragma once

#include "FuzzSupport.h"
#include "picture/FitRule.h"
#include "picture/Picture.h"
#include "platform/AppError.h"

#include <optional>

// The bytes as a picture file of the given extension, loaded through Picture whole and as a
// thumbnail: both fail or both succeed, and the thumbnail is the whole picture's size fitted into
// the box.
inline void checkWholeAndFitted(const QByteArray& bytes, const QString& extension)
{
    const QString path = scratchFolder() + QStringLiteral("/picture.") + extension;
    writeFile(path, bytes);
    const QSize box(96, 77);

    std::optional<QSize> whole;
    try {
        const Picture picture = Picture::load(path);
        FUZZ_CHECK(!picture.isNull());
        whole = QSize(picture.width(), picture.height());
    } catch (const AppError&) {
    }
    std::optional<QSize> thumbnail;
    try {
        thumbnail = Picture::loadFitted(path, box).size();
    } catch (const AppError&) {
    }
    FUZZ_CHECK(whole.has_value() == thumbnail.has_value());
    if (whole) {
        const QSize fitted = fitRect(*whole, box).size();
        FUZZ_CHECK(fitted.isEmpty() ? thumbnail->isEmpty() : *thumbnail == fitted);
    }
}
