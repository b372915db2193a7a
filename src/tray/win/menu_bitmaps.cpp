#include "tray/win/menu_bitmaps.h"

#include "framework/win/dpi.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace portmaven::win {

namespace {

constexpr int kResourceIdStep = 1000;

// The picture's pixels in a 32-bit resource bitmap: blue, green, red and straight alpha.
struct ResourcePicture {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    bool bottomUp = true;

    [[nodiscard]] const std::uint8_t* Pixel(int x, int y) const {
        const int row = bottomUp ? height - 1 - y : y;
        return pixels + (static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)) *
                            4;
    }
};

// The resource's pixels, or an empty picture when it is missing or not a 32-bit bitmap.
ResourcePicture FindPicture(HINSTANCE resources, int resourceId) {
    const HRSRC found = ::FindResourceW(resources, MAKEINTRESOURCEW(resourceId), RT_BITMAP);
    if (found == nullptr) {
        return {};
    }
    const DWORD size = ::SizeofResource(resources, found);
    const void* data = ::LockResource(::LoadResource(resources, found));
    if (data == nullptr || size < sizeof(BITMAPINFOHEADER)) {
        return {};
    }
    BITMAPINFOHEADER header{};
    std::memcpy(&header, data, sizeof header);
    const long long width = header.biWidth;
    const long long height =
        header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    if (header.biBitCount != 32 || header.biCompression != BI_RGB || width <= 0 || height <= 0 ||
        width > 256 || height > 256 ||
        header.biSize + width * height * 4 > static_cast<long long>(size)) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(data) + header.biSize, static_cast<int>(width),
            static_cast<int>(height), header.biHeight > 0};
}

std::uint8_t Over(std::uint8_t picture, std::uint8_t face, unsigned alpha) {
    return static_cast<std::uint8_t>((picture * alpha + face * (255U - alpha) + 127U) / 255U);
}

} // namespace

SIZE MenuCheckSize(UINT dpi) noexcept {
    return {SystemMetricForDpi(SM_CXMENUCHECK, dpi), SystemMetricForDpi(SM_CYMENUCHECK, dpi)};
}

int MenuPictureSize(int boxSize) noexcept {
    int chosen = kMenuPictureSizes[0];
    for (const int size : kMenuPictureSizes) {
        if (size * kMenuPictureContentUnits <= boxSize * kMenuPictureUnits) {
            chosen = size;
        }
    }
    return chosen;
}

int MenuPictureResourceId(int baseId, int pictureSize) noexcept {
    const auto* found =
        std::find(std::begin(kMenuPictureSizes), std::end(kMenuPictureSizes), pictureSize);
    return baseId + static_cast<int>(found - std::begin(kMenuPictureSizes)) * kResourceIdStep;
}

MenuBitmaps::MenuBitmaps(HINSTANCE resources, UINT dpi) noexcept
    : resources_(resources), box_(MenuCheckSize(dpi)),
      pictureSize_(MenuPictureSize(std::min(box_.cx, box_.cy))) {}

HBITMAP MenuBitmaps::Get(int bitmapId) {
    for (const auto& [id, bitmap] : made_) {
        if (id == bitmapId) {
            return bitmap.Get();
        }
    }
    ResourcePicture picture =
        FindPicture(resources_, MenuPictureResourceId(bitmapId, pictureSize_));
    if (picture.pixels == nullptr) {
        // A size that is missing from the resources still leaves the picture at its base size.
        picture = FindPicture(resources_, bitmapId);
    }
    if (picture.pixels == nullptr || box_.cx <= 0 || box_.cy <= 0) {
        return nullptr;
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = box_.cx;
    info.bmiHeader.biHeight = -box_.cy; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        return nullptr;
    }

    // Opaque everywhere: premultiplied and straight alpha are then the same pixels, and the
    // picture looks the same whether the menu blends the bitmap or copies it.
    const COLORREF face = ::GetSysColor(COLOR_MENU);
    const std::uint8_t faceBlue = GetBValue(face);
    const std::uint8_t faceGreen = GetGValue(face);
    const std::uint8_t faceRed = GetRValue(face);
    auto* out = static_cast<std::uint8_t*>(bits);
    // Centred; a picture larger than the box loses the same share of its margin on each side.
    const int left = (box_.cx - picture.width) / 2;
    const int top = (box_.cy - picture.height) / 2;
    for (int y = 0; y < box_.cy; ++y) {
        for (int x = 0; x < box_.cx; ++x) {
            std::uint8_t* pixel =
                out + (static_cast<std::size_t>(y) * static_cast<std::size_t>(box_.cx) +
                       static_cast<std::size_t>(x)) *
                          4;
            const int px = x - left;
            const int py = y - top;
            unsigned alpha = 0;
            const std::uint8_t* source = nullptr;
            if (px >= 0 && py >= 0 && px < picture.width && py < picture.height) {
                source = picture.Pixel(px, py);
                alpha = source[3];
            }
            pixel[0] = source != nullptr ? Over(source[0], faceBlue, alpha) : faceBlue;
            pixel[1] = source != nullptr ? Over(source[1], faceGreen, alpha) : faceGreen;
            pixel[2] = source != nullptr ? Over(source[2], faceRed, alpha) : faceRed;
            pixel[3] = 255;
        }
    }
    const HBITMAP handle = bitmap.Get();
    made_.emplace_back(bitmapId, std::move(bitmap));
    return handle;
}

std::vector<HBITMAP> MenuBitmaps::Handles() const {
    std::vector<HBITMAP> handles;
    handles.reserve(made_.size());
    for (const auto& entry : made_) {
        handles.push_back(entry.second.Get());
    }
    return handles;
}

} // namespace portmaven::win
