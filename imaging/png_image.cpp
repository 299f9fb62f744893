// The packed DIB's rows turned into 24-bit BGR rows, top row first, and handed
// to WIC's PNG encoder, which writes into a stream on global memory.
#include "imaging/png_image.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>
#include <string.h>

#include <vector>

#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "imaging/file_replace.h"
#include "imaging/packed_dib.h"

using Microsoft::WRL::ComPtr;

namespace {

// Reads the pixel rows of a packed DIB as 24-bit blue, green, red.
class DibRows {
public:
    DibRows(const BYTE* block, SIZE_T blockSize)
    {
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
        if (blockSize < sizeof(BITMAPINFOHEADER) || header->biSize != sizeof(BITMAPINFOHEADER) ||
            header->biCompression != BI_RGB || header->biWidth <= 0 || header->biHeight == 0 || header->biPlanes != 1)
            return;
        switch (header->biBitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return;
        }
        width_ = static_cast<UINT>(header->biWidth);
        topDown_ = header->biHeight < 0;
        height_ = topDown_ ? 0u - static_cast<UINT>(header->biHeight) : static_cast<UINT>(header->biHeight);
        bits_ = header->biBitCount;
        colours_ = reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER));
        colourCount_ = DibColourCount(header);
        stride_ = (static_cast<ULONGLONG>(width_) * bits_ + 31) / 32 * 4;
        // Rows that claim more than the block holds are refused, not read.
        if (height_ > blockSize / stride_ ||
            sizeof(BITMAPINFOHEADER) + DibColourTableSize(header) + stride_ * height_ > blockSize)
            return;
        pixels_ = block + sizeof(BITMAPINFOHEADER) + DibColourTableSize(header);
    }

    explicit operator bool() const { return pixels_ != nullptr; }
    UINT width() const { return width_; }
    UINT height() const { return height_; }

    // Row y (0 the top one) as width() blue, green, red triples.
    void row(UINT y, BYTE* out) const
    {
        const BYTE* in = pixels_ + stride_ * (topDown_ ? y : height_ - 1 - y);
        switch (bits_) {
        case 24:
            memcpy(out, in, static_cast<size_t>(width_) * 3);
            break;
        case 32:
            for (UINT x = 0; x < width_; ++x, in += 4, out += 3) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
            break;
        case 16:
            for (UINT x = 0; x < width_; ++x, in += 2, out += 3) {
                const unsigned value = in[0] | in[1] << 8;  // x rrrrr ggggg bbbbb
                out[0] = expandFive(value & 31);
                out[1] = expandFive(value >> 5 & 31);
                out[2] = expandFive(value >> 10 & 31);
            }
            break;
        default:  // 1, 4 or 8 bits: indices into the colour table, leftmost in the high bits
            for (UINT x = 0; x < width_; ++x, out += 3) {
                const UINT bit = x * bits_;
                const unsigned index = in[bit / 8] >> (8 - bits_ - bit % 8) & ((1u << bits_) - 1);
                const RGBQUAD colour = index < colourCount_ ? colours_[index] : RGBQUAD{0, 0, 0, 0};
                out[0] = colour.rgbBlue;
                out[1] = colour.rgbGreen;
                out[2] = colour.rgbRed;
            }
            break;
        }
    }

private:
    // A 5-bit part spread over 0 to 255 as the system widens it.
    static BYTE expandFive(unsigned value) { return static_cast<BYTE>(value << 3 | value >> 2); }

    const BYTE* pixels_ = nullptr;
    const RGBQUAD* colours_ = nullptr;
    UINT colourCount_ = 0;
    UINT width_ = 0;
    UINT height_ = 0;
    UINT bits_ = 0;
    ULONGLONG stride_ = 0;
    bool topDown_ = false;
};

// Asks for the "Up" row filter alone: a magnified picture repeats each row
// zoom times, which that filter turns into rows of zeros, and one filter
// costs a fraction of the encoder's trial of all five on every row. The
// picture is the same with any filter; an encoder without the option keeps
// its own choice.
void preferUpFilter(IPropertyBag2* options)
{
    PROPBAG2 name = {};
    name.pstrName = const_cast<LPOLESTR>(L"FilterOption");
    VARIANT value = {};
    value.vt = VT_UI1;
    value.bVal = WICPngFilterUp;
    options->Write(1, &name, &value);
}

bool encodeInto(IStream* stream, const DibRows& rows)
{
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)))
        return false;
    if (options)
        preferUpFilter(options.Get());
    if (FAILED(frame->Initialize(options.Get())) || FAILED(frame->SetSize(rows.width(), rows.height())))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return false;
    const UINT stride = rows.width() * 3;
    std::vector<BYTE> line(stride);
    for (UINT y = 0; y < rows.height(); ++y) {
        rows.row(y, line.data());
        if (FAILED(frame->WritePixels(1, stride, stride, line.data())))
            return false;
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

HGLOBAL EncodePng(HGLOBAL dib)
{
    LockedMemory<BYTE> data(dib);
    if (!data)
        return nullptr;
    const DibRows rows(data.get(), GlobalSize(dib));
    // A row of three bytes a pixel must fit the encoder's 32-bit stride.
    if (!rows || rows.width() > MAXDWORD / 3)
        return nullptr;

    ComScope com;
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || !encodeInto(stream.Get(), rows))
        return nullptr;
    // The stream's block may be larger than what was written: the PNG goes
    // into a block of its exact size, so that readers of the block's size
    // (the clipboard's other programs) get the PNG and nothing after it.
    STATSTG stat = {};
    HGLOBAL written = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart == 0 || stat.cbSize.QuadPart > MAXDWORD ||
        FAILED(GetHGlobalFromStream(stream.Get(), &written)))
        return nullptr;
    const SIZE_T size = static_cast<SIZE_T>(stat.cbSize.QuadPart);
    GlobalMemory png(GlobalAlloc(GMEM_MOVEABLE, size));
    {
        LockedMemory<BYTE> from(written);
        LockedMemory<BYTE> to(png.get());
        if (!from || !to || GlobalSize(written) < size)
            return nullptr;
        memcpy(to.get(), from.get(), size);
    }
    return png.release();
}

bool WritePngFile(const char* path, HGLOBAL dib)
{
    GlobalMemory png(EncodePng(dib));
    LockedMemory<BYTE> data(png.get());
    if (!path || !data)
        return false;
    const FilePart part = {data.get(), static_cast<DWORD>(GlobalSize(png.get()))};
    return ReplaceFileWith(path, &part, 1);
}
