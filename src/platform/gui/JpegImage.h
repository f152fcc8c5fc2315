#pragma once
// JFIF pictures decoded with libjpeg. A damaged or truncated picture gives a
// null image, never a crash.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {

QImage DecodeJpeg(const QByteArray& data);
// A picture from a file or a Qt resource path (":/...").
QImage LoadJpeg(const QString& path);

} // namespace platform
