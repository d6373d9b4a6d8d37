#include "Common/XomImage/RowCompressor.h"

#include <charconv>
#include <cstring>
#include <new>

#include "Common/XomImage/RowCodec.h"

namespace xomimage {

namespace {
constexpr std::size_t kSlack = 256;

std::unique_ptr<std::uint8_t[]> Zeroed(std::size_t n) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[n]());
}
}  // namespace

std::size_t RowBytesFor(std::int32_t width, int bytesPerPixel) {
    if (width <= 0) return 0;
    const auto w = static_cast<std::size_t>(width);
    return bytesPerPixel == 0 ? (w + 7) / 8 : w * static_cast<std::size_t>(bytesPerPixel);
}

RowCompressor::RowCompressor(std::string name, std::size_t rowBytes, PlotStreamState& stream)
    : m_name(std::move(name)), m_rowBytes(rowBytes), m_stream(stream) {}

std::unique_ptr<RowCompressor> RowCompressor::Create(std::string name, std::int32_t width,
                                                     int bytesPerPixel, PlotStreamState& stream) {
    const std::size_t rowBytes = RowBytesFor(width, bytesPerPixel);
    if (rowBytes == 0) return nullptr;
    std::unique_ptr<RowCompressor> c(new (std::nothrow)
                                         RowCompressor(std::move(name), rowBytes, stream));
    if (!c) return nullptr;
    c->m_rows[0] = Zeroed(rowBytes + kSlack);
    c->m_rows[1] = Zeroed(rowBytes + kSlack);
    c->m_method2 = Zeroed(MaxEncodedRowBytes(rowBytes));
    c->m_method3 = Zeroed(MaxEncodedRowBytes(rowBytes));
    if (!c->m_rows[0] || !c->m_rows[1] || !c->m_method2 || !c->m_method3) return nullptr;
    return c;
}

void RowCompressor::Send(const char* bytes, std::size_t length) {
    if (m_stream.byteSender != nullptr && length != 0) m_stream.byteSender(bytes, length);
}

void RowCompressor::UseMethod(int method) {
    if (m_currentMethod == method) return;
    Send(method == 3 ? "\x1b*b3M" : "\x1b*b2M", 5);
    m_currentMethod = method;
}

void RowCompressor::Encode(int repeat) {
    const std::uint8_t* row = m_rows[m_current].get();
    const std::uint8_t* seed = m_rows[1 - m_current].get();
    const std::size_t size3 = EncodeMethod3(row, seed, m_rowBytes, m_method3.get());
    // Method 2 cannot beat a method-3 form shorter than its own least possible size, and its
    // encoding stops once it is longer than the method-3 form.
    std::size_t size2 = 0;
    const bool take3 = size3 < Method2LowerBound(m_rowBytes) ||
                       size3 < (size2 = EncodeMethod2(row, m_rowBytes, m_method2.get(), size3));
    const std::size_t size = take3 ? size3 : size2;

    ++m_rowCount;
    m_inputBytes += m_rowBytes;
    if (take3) {
        m_method3Bytes += size3;
    } else {
        m_method2Bytes += size2;
    }

    UseMethod(take3 ? 3 : 2);
    char header[32] = "\x1b*b";
    auto r = std::to_chars(header + 3, header + sizeof header - 1, size);
    *r.ptr++ = 'W';
    Send(header, static_cast<std::size_t>(r.ptr - header));
    Send(reinterpret_cast<const char*>(take3 ? m_method3.get() : m_method2.get()), size);

    if (repeat >= 2) RepeatLastRow(repeat - 1);
    m_current = 1 - m_current;
}

void RowCompressor::RepeatLastRow(int count) {
    if (count < 1) return;
    UseMethod(3);
    // Sent in blocks: a tall enlargement repeats each row many times.
    static constexpr int kBlock = 64;
    static const std::string block = [] {
        std::string b;
        for (int i = 0; i < kBlock; ++i) b += "\x1b*b0W";
        return b;
    }();
    for (int left = count; left > 0; left -= kBlock)
        Send(block.data(), 5 * static_cast<std::size_t>(left < kBlock ? left : kBlock));
}

}  // namespace xomimage
