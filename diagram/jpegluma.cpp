#include "diagram/jpegluma.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace diagram {
namespace {

struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void giveUp(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1);
}

// Warnings (a corrupt stretch, data past the end) are left to the header checks made before.
void keepQuiet(j_common_ptr, int) {}

// No object with a destructor lives in this frame: a decoding error jumps out of libjpeg to
// the setjmp below. `grey` belongs to the caller.
bool decode(jpeg_decompress_struct& info, Errors& errors, const std::uint8_t* data, std::size_t size, bool& stored,
            cv::Mat& grey)
{
    if (setjmp(errors.jump) != 0)
        return false;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    stored = info.jpeg_color_space == JCS_GRAYSCALE || info.jpeg_color_space == JCS_YCbCr;
    if (!stored)
        return false;
    info.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&info);
    grey.create(int(info.output_height), int(info.output_width), CV_8UC1);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = grey.ptr<JSAMPLE>(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

JpegLuma jpegLuma(const std::uint8_t* data, std::size_t size)
{
    JpegLuma out;
    jpeg_decompress_struct info;
    Errors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = giveUp;
    errors.manager.emit_message = keepQuiet;
    jpeg_create_decompress(&info);
    try {
        if (!decode(info, errors, data, size, out.stored, out.grey))
            out.grey.release();
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    jpeg_destroy_decompress(&info);
    return out;
}

} // namespace diagram
