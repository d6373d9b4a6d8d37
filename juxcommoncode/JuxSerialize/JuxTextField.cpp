#include "juxcommoncode/JuxSerialize/JuxTextField.h"

#include <cstdint>

#include "juxcommoncode/JuxSerialize/JuxFieldIO.h"
#include "juxcommoncode/JuxSerialize/MultibyteText.h"

namespace JuxNetwork {

HRESULT WriteTextField(CJuxSerializer& ar, std::wstring_view text) {
    const std::string bytes = WideToMultibyte(text, kMaxTextFieldBytes);
    auto length = static_cast<std::uint16_t>(bytes.size());
    HRESULT hr = SerializeUInt16(ar, length);
    if (Failed(hr) || length == 0) return hr;
    return ar.WriteBytes(bytes.data(), bytes.size());
}

HRESULT ReadTextField(CJuxSerializer& ar, std::wstring& text) {
    std::uint16_t length = 0;
    HRESULT hr = SerializeUInt16(ar, length);
    if (Failed(hr)) return hr;
    std::string bytes(length, '\0');
    if (length > 0) {
        hr = ar.ReadBytes(bytes.data(), bytes.size());
        if (Failed(hr)) return hr;
    }
    text = MultibyteToWide(bytes);
    return hr;
}

HRESULT SerializeText(CJuxSerializer& ar, std::wstring& text) {
    return ar.IsStoring() ? WriteTextField(ar, text) : ReadTextField(ar, text);
}

}  // namespace JuxNetwork
