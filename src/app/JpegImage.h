#pragma once
// Decodes a JFIF picture with libjpeg. A damaged picture gives a null image,
// never a crash.
#include <QImage>

// `scaleDenominator` 1, 2, 4 or 8 decodes at that fraction of the size,
// which libjpeg does far faster than decoding whole and scaling.
// `fullSize`, when given, receives the picture's own size.
QImage DecodeJfif(const QByteArray& data, int scaleDenominator = 1, QSize* fullSize = nullptr);
