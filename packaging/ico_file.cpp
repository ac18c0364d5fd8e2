// SPDX-License-Identifier: GPL-3.0-or-later
#include "packaging/ico_file.h"

#include <QtEndian>
#include <cstdint>

namespace huegrab {
namespace {

void Put16(QByteArray& out, std::uint16_t value) {
    const std::uint16_t little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void Put32(QByteArray& out, std::uint32_t value) {
    const std::uint32_t little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// Rows of the 1-bit mask are padded to whole 32-bit words.
int MaskRowBytes(int width) {
    return (width + 31) / 32 * 4;
}

// BITMAPINFOHEADER, the colour rows and the mask rows, both bottom-up; the
// header's height counts the two halves.
QByteArray Entry(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskRow = MaskRowBytes(width);
    QByteArray out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(2 * height));
    Put16(out, 1);  // planes
    Put16(out, 32); // bits per pixel
    Put32(out, 0);  // no compression
    Put32(out, static_cast<std::uint32_t>(width * height * 4 + maskRow * height));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0); // resolution and palette: unused
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            Put32(out, row[x]); // 0xAARRGGBB: B, G, R, A in the file
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray mask(maskRow, '\0');
        for (int x = 0; x < width; ++x)
            if (qAlpha(row[x]) == 0) // set: transparent where alpha is not read
                mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
        out.append(mask);
    }
    return out;
}

} // namespace

QByteArray IcoFile(const std::vector<QImage>& images) {
    QByteArray out;
    Put16(out, 0);
    Put16(out, 1); // an icon, not a cursor
    Put16(out, static_cast<std::uint16_t>(images.size()));
    std::vector<QByteArray> entries;
    for (const QImage& image : images)
        entries.push_back(Entry(image));
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.append(static_cast<char>(images[i].width()));
        out.append(static_cast<char>(images[i].height()));
        out.append('\0'); // no palette
        out.append('\0');
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const QByteArray& entry : entries)
        out.append(entry);
    return out;
}

} // namespace huegrab
