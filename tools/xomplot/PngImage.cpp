#include "tools/xomplot/PngImage.h"

#include <png.h>

#include <cstring>
#include <new>

#include "platform/FileText.h"

namespace xomplot {

namespace {
constexpr std::size_t kMaxPngFileBytes = 256u << 20;
}

bool DecodePng(const std::uint8_t* bytes, std::size_t length, RgbaImage& out, std::string& error) {
    out = RgbaImage{};
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, length)) {
        error = std::string("not a readable PNG (") + image.message + ")";
        png_image_free(&image);
        return false;
    }
    if (image.width == 0 || image.height == 0 ||
        static_cast<std::uint64_t>(image.width) * image.height > kMaxPngPixels) {
        error = "PNG of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                " pixels: more than " + std::to_string(kMaxPngPixels) + " pixels";
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    try {
        out.rgba.resize(PNG_IMAGE_SIZE(image));
    } catch (const std::bad_alloc&) {
        error = "no memory for the PNG's pixels";
        png_image_free(&image);
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
        error = std::string("corrupt PNG (") + image.message + ")";
        png_image_free(&image);
        out = RgbaImage{};
        return false;
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    png_image_free(&image);
    return true;
}

bool ReadPng(const std::string& path, RgbaImage& out, std::string& error) {
    std::string bytes;
    if (!xomplatform::ReadFileOrError(path, kMaxPngFileBytes, bytes, error)) return false;
    if (!DecodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace xomplot
