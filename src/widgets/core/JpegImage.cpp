#include "widgets/core/JpegImage.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace tv {

namespace {
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool truncated = false;
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) err->truncated = true;
}

// Guards against pictures whose size alone would exhaust memory.
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

// Kept out of line: nothing the decoder's longjmp could clobber lives in it.
[[gnu::noinline]] void allocate(Image& img, std::vector<unsigned char>& row, int w, int h) {
    img.width = w;
    img.height = h;
    img.pixels.resize(static_cast<std::size_t>(w) * h);
    row.resize(static_cast<std::size_t>(w) * 3);
}
}  // namespace

std::optional<Image> decodeJpeg(const unsigned char* data, std::size_t size, std::string* error, FitSize fit) {
    auto fail = [&](const char* why) -> std::optional<Image> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (!data || size == 0) return fail("the file is empty");

    jpeg_decompress_struct cinfo{};
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    // Everything below that setjmp returns to must live outside it.
    Image img;
    std::vector<unsigned char> row;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return fail(err.message);
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    if (fit.width > 0 && fit.height > 0) {
        // libjpeg's own arithmetic gives each scale's size; the full size ends the search.
        cinfo.scale_denom = 8;
        for (cinfo.scale_num = 1; cinfo.scale_num < 8; ++cinfo.scale_num) {
            jpeg_calc_output_dimensions(&cinfo);
            if (cinfo.output_width >= static_cast<JDIMENSION>(fit.width) &&
                cinfo.output_height >= static_cast<JDIMENSION>(fit.height))
                break;
        }
    }
    jpeg_start_decompress(&cinfo);
    if (static_cast<long long>(cinfo.output_width) * cinfo.output_height > kMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return fail("the picture is too large");
    }
    allocate(img, row, static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {row.data()};
        std::uint32_t* out = img.pixels.data() + static_cast<std::size_t>(cinfo.output_scanline) * img.width;
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (int x = 0; x < img.width; ++x)
            out[x] = (std::uint32_t{row[x * 3]} << 16) | (std::uint32_t{row[x * 3 + 1]} << 8) | row[x * 3 + 2];
        if (err.truncated) break;
    }
    if (err.truncated) {
        jpeg_destroy_decompress(&cinfo);
        return fail("the file is truncated");
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return img;
}

}  // namespace tv
