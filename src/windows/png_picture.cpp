#include "windows/png_picture.h"

#include <windows.h>
// Needs windows.h before it.
#include <wincodec.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace calveth {
namespace {

// Releases a COM interface however the encoding ends.
template <typename Interface>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (pointer_ != nullptr) {
      pointer_->Release();
    }
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  Interface** put() { return &pointer_; }
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// COM for this thread for the length of one encoding, if it was not on already.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) {
      CoUninitialize();
    }
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

// The colour of a pixel in the layout.
Rgb colourOf(PixelLayout layout, std::uint32_t pixel) {
  if (layout == PixelLayout::Argb32) {
    return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
            static_cast<std::uint8_t>(pixel)};
  }
  std::uint8_t bytes[4];
  std::memcpy(bytes, &pixel, sizeof bytes);
  return {bytes[0], bytes[1], bytes[2]};
}

}  // namespace

bool encodePng(const PixelRaster& picture, PixelLayout layout, std::string& pngBytes,
               std::string& error) {
  const ComScope com;
  Com<IWICImagingFactory> factory;
  Com<IStream> stream;
  Com<IWICBitmapEncoder> encoder;
  Com<IWICBitmapFrameEncode> frame;
  Com<IPropertyBag2> options;
  const UINT width = static_cast<UINT>(picture.width());
  const UINT height = static_cast<UINT>(picture.height());
  // 24-bit rows of blue, green, red, as the PNG encoder takes them.
  const UINT stride = width * 3;
  std::vector<BYTE> rows(static_cast<std::size_t>(stride) * height);
  for (UINT y = 0; y < height; ++y) {
    const std::uint32_t* row = picture.row(static_cast<int>(y));
    for (UINT x = 0; x < width; ++x) {
      const Rgb colour = colourOf(layout, row[x]);
      BYTE* at = rows.data() + static_cast<std::size_t>(y) * stride + 3 * x;
      at[0] = colour.blue;
      at[1] = colour.green;
      at[2] = colour.red;
    }
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))) ||
      FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.put(), options.put())) ||
      FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(width, height)) ||
      FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
      FAILED(frame->WritePixels(height, stride, static_cast<UINT>(rows.size()), rows.data())) ||
      FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
    error = "the system's PNG encoder failed";
    return false;
  }
  STATSTG size{};
  LARGE_INTEGER start{};
  if (FAILED(stream->Stat(&size, STATFLAG_NONAME)) ||
      FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
    error = "the encoded PNG cannot be read back";
    return false;
  }
  pngBytes.assign(static_cast<std::size_t>(size.cbSize.QuadPart), '\0');
  ULONG read = 0;
  if (FAILED(stream->Read(pngBytes.data(), static_cast<ULONG>(pngBytes.size()), &read)) ||
      read != pngBytes.size()) {
    error = "the encoded PNG cannot be read back";
    return false;
  }
  return true;
}

}  // namespace calveth
