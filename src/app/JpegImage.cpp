#include "JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
};

void OnError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->Jump, 1);
}

void OnMessage(j_common_ptr) { } // warnings of a damaged picture are not shown

} // namespace

QImage DecodeJfif(const QByteArray& data, int scaleDenominator, QSize* fullSize)
{
    if (data.isEmpty())
        return {};
    jpeg_decompress_struct info {};
    ErrorManager err {};
    info.err = jpeg_std_error(&err.Base);
    err.Base.error_exit = OnError;
    err.Base.output_message = OnMessage;
    // Only plain data lives across the jump: the image is created after the
    // header is read and filled row by row through a raw pointer.
    QImage* image = nullptr;
    if (setjmp(err.Jump)) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
        static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (fullSize)
        *fullSize = QSize(int(info.image_width), int(info.image_height));
    info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom
        = (scaleDenominator == 2 || scaleDenominator == 4 || scaleDenominator == 8) ? scaleDenominator : 1;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width == 0 || info.output_height == 0
        || info.output_width > 16384 || info.output_height > 16384) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    image = new QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage result = *image;
    delete image;
    return result;
}
