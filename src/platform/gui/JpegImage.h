#pragma once
// JFIF pictures decoded with libjpeg. A damaged or truncated picture gives a
// null image, never a crash.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {

// `scaleDenominator` 2, 4 or 8 decodes at that fraction of the size, which
// libjpeg does far faster than decoding whole and scaling; other values
// decode whole. `fullSize`, when given, receives the picture's own size.
QImage DecodeJpeg(const QByteArray& data, int scaleDenominator = 1, QSize* fullSize = nullptr);
// A picture from a file or a Qt resource path (":/...").
QImage LoadJpeg(const QString& path);

} // namespace platform
