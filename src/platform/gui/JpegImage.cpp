#include "JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace platform {

namespace {

struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
};

[[noreturn]] void OnError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(manager->Jump, 1);
}

void OnMessage(j_common_ptr) { }

} // namespace

QImage DecodeJpeg(const QByteArray& data, int scaleDenominator, QSize* fullSize)
{
    if (data.isEmpty())
        return {};
    jpeg_decompress_struct info {};
    ErrorManager errors {};
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = OnError;
    errors.Base.output_message = OnMessage;
    // Declared before setjmp so a jump back leaves it in a defined state.
    QImage* volatile image = new QImage();
    if (setjmp(errors.Jump)) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
        static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (fullSize)
        *fullSize = QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
        // Straight into the layout a pixmap keeps, where libjpeg can write it.
#if defined(JCS_EXTENSIONS) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    info.out_color_space = JCS_EXT_BGRX;
    const QImage::Format format = QImage::Format_RGB32;
    const int components = 4;
#else
    info.out_color_space = JCS_RGB;
    const QImage::Format format = QImage::Format_RGB888;
    const int components = 3;
#endif
    info.scale_num = 1;
    info.scale_denom = scaleDenominator == 2 || scaleDenominator == 4 || scaleDenominator == 8
        ? static_cast<unsigned>(scaleDenominator)
        : 1;
    jpeg_start_decompress(&info);
    if (info.output_width > 16384 || info.output_height > 16384) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), format);
    if (image->isNull() || info.output_components != components) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage result = *image;
    delete image;
    return result;
}

QImage LoadJpeg(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeJpeg(file.readAll());
}

} // namespace platform
