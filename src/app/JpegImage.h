#pragma once
// Decodes a JFIF picture with libjpeg. A damaged picture gives a null image,
// never a crash.
#include <QImage>

QImage DecodeJfif(const QByteArray& data);
